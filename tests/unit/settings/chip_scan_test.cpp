// The chip scan: which chip and location wins, and what the scan costs in configuration reads.
#include "settings/chip_scan.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_pci_config.h"
#include "settings/tunara_settings.h"
#include "tests/unit/settings/settings_fixture.h"

namespace tunara_test {
namespace {

using settings::CardChip;
// Vendor and device words of the two chips as configuration space holds them (device high).
constexpr std::uint32_t kMaestro1Id = 0x01001285;   // vendor 0x1285, device 0x0100
constexpr std::uint32_t kMaestro2EId = 0x1978125D;  // vendor 0x125D, device 0x1978

constexpr std::uint32_t kOtherId = 0x71908086;  // a host bridge

struct Function {
    std::uint32_t bus, device, function, id;
};

struct ScanRow {
    const char* what;
    std::vector<Function> functions;
    CardChip chip;
    const char* location;
};

class ChipScanTest : public SettingsTest, public ::testing::WithParamInterface<ScanRow> {};

TEST_P(ChipScanTest, FindsTheChipTwoFullScansWouldFind) {
    loadMachine("win98-nocard");
    for (const Function& f : GetParam().functions)
        addPciFunction(f.bus, f.device, f.function, f.id);
    const settings::ChipScanResult result = settings::scanForCardChip(machine().pci());
    EXPECT_EQ(result.chip, GetParam().chip);
    EXPECT_EQ(settings::formatPciLocation(result.location), GetParam().location);
}

// clang-format off
const ScanRow kScanRows[] = {
    {"nothing", {}, CardChip::None, "BUS_100&DEV_20&FUNC_08"},
    {"maestro2e", {{0, 10, 0, kMaestro2EId}}, CardChip::Maestro2E, "BUS_00&DEV_0A&FUNC_00"},
    {"maestro1_beats_an_earlier_maestro2e",
     {{0, 3, 0, kMaestro2EId}, {2, 31, 0, kMaestro1Id}}, CardChip::Maestro1, "BUS_02&DEV_1F&FUNC_00"},
    {"first_of_two_maestro2e",
     {{1, 4, 0, kMaestro2EId}, {0, 20, 0, kMaestro2EId}}, CardChip::Maestro2E, "BUS_00&DEV_14&FUNC_00"},
    {"first_of_two_maestro1",
     {{0xAB, 2, 0, kMaestro1Id}, {0xAB, 1, 0, kMaestro1Id}}, CardChip::Maestro1, "BUS_AB&DEV_01&FUNC_00"},
    {"later_function_of_a_multifunction_device",
     {{0, 9, 0, kOtherId}, {0, 9, 5, kMaestro2EId}}, CardChip::Maestro2E, "BUS_00&DEV_09&FUNC_05"},
    {"last_slot_of_the_bus", {{255, 31, 0, kOtherId}, {255, 31, 7, kMaestro1Id}},
     CardChip::Maestro1, "BUS_FF&DEV_1F&FUNC_07"},
    {"other_vendor_with_the_device_id", {{0, 10, 0, 0x01001286}}, CardChip::None, "BUS_100&DEV_20&FUNC_08"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Buses, ChipScanTest, ::testing::ValuesIn(kScanRows),
                         [](const auto& info) { return std::string(info.param.what); });

// The start-up reads the bus once, and past an empty function 0 not at all.
TEST_F(SettingsTest, StartUpWithoutCardStaysUnderTheReadBudget) {
    loadMachine("win98-nocard");
    machine().pci().resetReadCount();
    settings::tunaraSettings s;
    // 256 buses x 32 devices, plus functions 1-7 of the four devices of this machine.
    EXPECT_EQ(machine().pci().readCount(), 256u * 32u + 4u * 7u);
    EXPECT_LE(machine().pci().readCount(), 8300u);
}

TEST_F(SettingsTest, StartUpStopsAtTheMaestro1) {
    loadMachine("win98-maestro1");
    machine().pci().resetReadCount();
    settings::tunaraSettings s;
    // Bus 0 up to the card at device 10: devices 0, 1 and 7 are present (8 reads each), the
    // seven others empty (1 read each), then the card's function 0.
    EXPECT_EQ(machine().pci().readCount(), 3u * 8u + 7u + 1u);
}

}  // namespace
}  // namespace tunara_test
