#include "platform/machine.h"

#include <gtest/gtest.h>

namespace {

TEST(MachineTest, InstallReturnsThePreviousBackends) {
    platform::Registry* fakeRegistry = reinterpret_cast<platform::Registry*>(0x1000);
    platform::Machine first;
    first.registry = fakeRegistry;
    const platform::Machine before = platform::installMachine(first);
    EXPECT_TRUE(platform::hasMachine());
    EXPECT_EQ(platform::machine().registry, fakeRegistry);

    const platform::Machine replaced = platform::installMachine(before);
    EXPECT_EQ(replaced.registry, fakeRegistry);
    EXPECT_EQ(platform::machine().registry, before.registry);
}

}  // namespace
