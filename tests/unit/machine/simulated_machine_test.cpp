#include "platform/host/simulated_machine.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/host/host_system.h"
#include "platform/machine.h"
#include "platform/system.h"
#include "tests/support/test_paths.h"

namespace {

TEST(SimulatedMachineTest, InstallsItselfAndPutsThePreviousMachineBack) {
    platform::Machine outer;
    const platform::Machine before = platform::installMachine(outer);
    std::string disk;
    {
        platform::host::SimulatedMachine machine;
        disk = machine.diskRoot();
        EXPECT_EQ(platform::machine().registry, machine.backends().registry);
        EXPECT_TRUE(std::filesystem::is_directory(disk + "/c"));
    }
    EXPECT_EQ(platform::machine().registry, nullptr);
    EXPECT_FALSE(std::filesystem::exists(disk)) << "the temporary disk must go with the machine";
    platform::installMachine(before);
}

TEST(SimulatedMachineTest, DescriptionSetsTheSystemFacts) {
    platform::host::SimulatedMachine machine;
    std::string error;
    ASSERT_TRUE(machine.loadNamedDescription("nt4-maestro2e", tunara_test::sourcePath(""), &error))
        << error;
    platform::OsVersionInfo version{};
    ASSERT_TRUE(platform::machine().system->GetVersionEx(&version));
    EXPECT_EQ(version.platformId, VER_PLATFORM_WIN32_NT);
    char folder[260] = {};
    platform::machine().system->GetWindowsDirectory(folder, sizeof folder);
    EXPECT_STREQ(folder, "C:\\WINNT");
}

TEST(SimulatedMachineTest, BrokenDescriptionIsReported) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tunara-broken-description";
    std::filesystem::create_directories(folder);
    {
        std::FILE* ini = std::fopen((folder / "machine.ini").string().c_str(), "wb");
        ASSERT_NE(ini, nullptr);
        std::fputs("[machine]\r\nversion=win2000\r\n", ini);
        std::fclose(ini);
    }
    platform::host::SimulatedMachine machine;
    std::string error;
    EXPECT_FALSE(machine.loadDescription(folder.string(), &error));
    EXPECT_NE(error.find("win2000"), std::string::npos) << error;
    std::filesystem::remove_all(folder);
}

}  // namespace
