// The inspector on the machine descriptions: which slots each machine's card fills, and
// which it leaves in conflict.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "inspector/device_inspector.h"
#include "platform/sim/sim_pnp_config.h"
#include "tests/support/machine_test.h"

using inspector::deviceInspector;

namespace {

const char* const C = "Resource conflict";

struct MachineCase {
    const char* name;
    bool cardFound;
    std::array<const char*, 10> slots;
};

// The resources the descriptions give the card's nodes (tests/machines/README.md). No card
// device holds a memory window and the gameport has no IRQ, so slot 0 is always in conflict.
const MachineCase kMachines[] = {
    {"win98-maestro2e",
     true,
     {C, "0220-022F", "0388-038B", "01", "05", "E800-E8FF", "0330-0331", "0200-0207", "05", "05"}},
    {"win95osr2-maestro2e",
     true,
     {C, "0220-022F", "0388-038B", "01", "05", "E800-E8FF", "0330-0331", "0200-0207", "05", "05"}},
    {"win98-maestro1",
     true,
     {C, "0220-022F", "0388-038B", "01", "05", "E800-E8FF", "0330-0331", "0200-0207", "05", "05"}},
    // The legacy MPU-401 holds the card's MIDI port; the wavetable node has no record.
    {"win98-maestro2e-conflict",
     true,
     {C, "0220-022F", "0388-038B", "01", "05", "E800-E8FF", C, "0200-0207", "05", C}},
    // No joystick, no DOS game support: no gameport and no FM node.
    {"win95-maestro1", true, {C, C, C, C, "05", "E800-E8FF", "0330-0331", C, "05", "05"}},
    {"win98-nocard", false, {C, C, C, C, C, C, C, C, C, C}},
    // Windows NT has no Configuration Manager tree.
    {"nt4-maestro2e", false, {C, C, C, C, C, C, C, C, C, C}},
};

void PrintTo(const MachineCase& c, std::ostream* out) {
    *out << c.name;
}

class InspectorMachines : public tunara_test::MachineTest,
                          public ::testing::WithParamInterface<MachineCase> {};

}  // namespace

TEST_P(InspectorMachines, SlotTextsAndConflicts) {
    const MachineCase& c = GetParam();
    loadMachine(c.name);
    {
        deviceInspector inspector;
        EXPECT_EQ(inspector.joystickName, "Gameport Joystick");
        inspector.inspectAllDevices();
        EXPECT_EQ(inspector.cardDeviceFound, c.cardFound);
        for (int slot = 0; slot < 10; ++slot) {
            EXPECT_EQ(inspector.resourceSlots[slot], c.slots[slot]) << "slot " << slot;
            EXPECT_EQ(inspector.slotInConflict(slot), c.slots[slot] == C) << "slot " << slot;
        }
        EXPECT_EQ(inspector.firstFmIoTaken, c.slots[1] != C);
    }
    EXPECT_EQ(machine().pnp().openHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, InspectorMachines, ::testing::ValuesIn(kMachines),
                         [](const ::testing::TestParamInfo<MachineCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 if (ch == '-') ch = '_';
                             }
                             return name;
                         });
