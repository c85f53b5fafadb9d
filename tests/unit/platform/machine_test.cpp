// The process-wide machine: every call of the product goes to the back-ends installed last,
// installing hands back the whole previous set, and using it before any is installed stops
// the program instead of handing out null back-ends.
#include "platform/machine.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/host/simulated_machine.h"
#include "platform/registry.h"
#include "platform/registry_key.h"

namespace {

// Whether HKLM\Software\Tunara holds "Marker" = `value` on the installed machine.
bool markerIs(std::uint32_t value) {
    platform::RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, "Software\\Tunara", KEY_QUERY_VALUE) != ERROR_SUCCESS) {
        return false;
    }
    std::uint32_t read = 0;
    return key.readDword("Marker", &read) == ERROR_SUCCESS && read == value;
}

void writeMarker(std::uint32_t value) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, "Software\\Tunara", KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.writeDword("Marker", value), ERROR_SUCCESS);
}

TEST(MachineTest, CallsReachTheMachineInstalledLast) {
    platform::host::SimulatedMachine first;
    writeMarker(1);
    {
        platform::host::SimulatedMachine second;
        EXPECT_FALSE(markerIs(1)) << "the second machine sees the first one's registry";
        writeMarker(2);
        EXPECT_TRUE(markerIs(2));
    }
    // The second machine put the first one back as it went.
    EXPECT_TRUE(markerIs(1));
}

TEST(MachineTest, InstallHandsBackEveryBackendOfThePreviousSet) {
    platform::host::SimulatedMachine simulated;
    const platform::Machine& installed = simulated.backends();
    ASSERT_NE(installed.registry, nullptr);

    const platform::Machine previous = platform::installMachine(platform::Machine());
    EXPECT_TRUE(platform::hasMachine());
    EXPECT_EQ(platform::machine().registry, nullptr);
    const platform::Machine empty = platform::installMachine(previous);

    const auto all = [](const platform::Machine& m) {
        return std::vector<const void*>{m.registry,    m.files, m.system,  m.ui,  m.shell,
                                        m.security,    m.inf,   m.pci,     m.pnp, m.mixer,
                                        m.directSound, m.mci,   m.drivers, m.lz};
    };
    EXPECT_EQ(all(previous), all(installed));
    EXPECT_EQ(all(empty), std::vector<const void*>(14, nullptr));
    EXPECT_EQ(all(platform::machine()), all(installed));
}

TEST(MachineDeathTest, UseBeforeAnyInstallStops) {
    // The statement runs in a fresh process of this test alone, where nothing is installed.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(platform::machine(),
                 "platform::machine\\(\\) used before a machine was installed");
}

}  // namespace
