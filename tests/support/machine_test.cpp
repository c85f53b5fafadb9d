#include "tests/support/machine_test.h"

#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "tests/support/test_paths.h"

namespace tunara_test {

void MachineTest::SetUp() { machine_ = std::make_unique<platform::host::SimulatedMachine>(); }

void MachineTest::loadMachine(const std::string& descriptionName) {
    // The old machine goes first: each one puts back the machine it found when it goes.
    machine_.reset();
    machine_ = std::make_unique<platform::host::SimulatedMachine>();
    if (descriptionName.empty()) return;
    std::string error;
    ASSERT_TRUE(machine_->loadNamedDescription(descriptionName, sourcePath(""), &error)) << error;
}

void MachineTest::TearDown() {
    if (!machine_) return;
    EXPECT_EQ(machine_->registry().openHandleCount(), 0u) << "registry keys left open";
    EXPECT_EQ(machine_->files().openHandleCount(), 0u) << "files left open";
    EXPECT_EQ(machine_->system().loadedModuleCount(), 0u) << "libraries left loaded";
    if (checkUnscriptedUi) {
        for (const std::string& problem : machine_->ui().problems()) {
            ADD_FAILURE() << "user interface: " << problem;
        }
    }
    machine_.reset();
}

}  // namespace tunara_test
