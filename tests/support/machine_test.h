// A test fixture that runs each test on a fresh simulated machine built from a description
// in tests/machines/, and checks at the end that the test left nothing open behind it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/host/simulated_machine.h"

namespace tunara_test {

class MachineTest : public ::testing::Test {
protected:
    // Builds the machine; with an empty name it stays a bare Windows 98 machine.
    void loadMachine(const std::string& descriptionName);

    void SetUp() override;
    void TearDown() override;

    platform::host::SimulatedMachine& machine() { return *machine_; }

    // Whether TearDown insists that no box or dialog went unscripted (on by default).
    bool checkUnscriptedUi = true;

private:
    std::unique_ptr<platform::host::SimulatedMachine> machine_;
};

}  // namespace tunara_test
