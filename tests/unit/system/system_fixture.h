// A small simulated machine per test: registry, disk in a fresh host folder, and the
// operating-system, user-interface, shell and security back-ends over them, installed as the
// process-wide machine. Teardown checks that no module, process, token, ACL, link or file
// handle was left behind and puts the previous machine back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_security.h"
#include "platform/host/host_shell.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/machine.h"

namespace system_test {

class SystemTest : public ::testing::Test {
  protected:
    SystemTest();
    ~SystemTest() override;
    void TearDown() override;

    // Creates every missing folder of a Windows path ("C:\\WINDOWS\\SYSTEM").
    void makeFolder(const std::string& path);
    // Writes a file (its folder is created first).
    void writeFile(const std::string& path, const std::string& content = "MZ");
    bool fileExists(const std::string& path);
    std::string readFile(const std::string& path);
    // Sets the default value of HKEY_CLASSES_ROOT\subKey.
    void setClassesDefault(const std::string& subKey, const std::string& value);

    std::string root;
    platform::host::HostRegistry registry;
    std::unique_ptr<platform::host::HostFileSystem> files;
    platform::host::HostSystem system;
    platform::host::HostUserInterface ui{system};
    platform::host::HostShell shell{system};
    platform::host::HostSecurity security{system};

  private:
    platform::Machine previous_;
};

}  // namespace system_test
