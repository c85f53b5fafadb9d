// A fresh simulated disk per test: a private host folder with drive C (and whatever the test
// adds), a HostFileSystem over it installed as the machine's file system, and a teardown
// that insists every handle and search was closed.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_files.h"
#include "platform/machine.h"

namespace tunara_test {

class HostFilesTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    platform::host::HostFileSystem& fs() { return *files_; }

    // Host-side helpers; `relative` is below the disk root, e.g. "c/WINDOWS/a.txt".
    std::filesystem::path host(const std::string& relative) const { return root_ / relative; }
    void putHostFile(const std::string& relative, const std::string& content);
    std::string hostContent(const std::string& relative) const;
    bool hostExists(const std::string& relative) const;
    // The names in a host folder, sorted.
    std::vector<std::string> hostNames(const std::string& relative) const;

    // Through the interface.
    std::uint32_t writeFile(const char* path, const std::string& content);
    std::string readFile(const char* path);
    std::uint32_t attributes(const char* path);

  private:
    std::filesystem::path root_;
    std::unique_ptr<platform::host::HostFileSystem> files_;
    platform::Machine previous_;
};

}  // namespace tunara_test
