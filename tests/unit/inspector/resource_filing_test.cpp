// Filing single resources into the report's slots, and the texts they are shown as.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "inspector/device_inspector.h"
#include "inspector/resource_text.h"

using inspector::deviceInspector;
constexpr const char* kResourceConflict = "Resource conflict";

namespace {

enum Kind { Memory, Io, Irq, Dma };

struct FilingCase {
    const char* description;
    Kind kind;
    std::uint32_t base;  // or the IRQ / DMA number
    std::uint32_t length;
    std::map<int, std::string> filled;  // every other slot stays "Resource conflict"
};

const FilingCase kFilingCases[] = {
    {"Tunara DOS Games/FM Devices", Memory, 0xD0000, 0x1000, {{0, "000D0000-000D0FFF"}}},
    {"Tunara DOS Games/FM Devices", Io, 0x220, 16, {{1, "0220-022F"}}},
    {"Tunara DOS Games/FM Devices", Dma, 1, 0, {{3, "01"}}},
    {"Tunara DOS Games/FM Devices", Irq, 5, 0, {}},
    {"Tunara Wave Device Manager", Irq, 5, 0, {{4, "05"}}},
    {"Tunara Wave Device Manager", Io, 0xE800, 256, {{5, "E800-E8FF"}}},
    {"Tunara Wave Device Manager", Memory, 0xD0000, 0x1000, {}},
    {"Tunara MPU401 Device", Io, 0x330, 2, {{6, "0330-0331"}}},
    {"Gameport Joystick", Io, 0x200, 8, {{7, "0200-0207"}}},
    {"Gameport Joystick", Irq, 10, 0, {{0, "10"}}},
    {"Gameport Device", Io, 0x201, 1, {{7, "0201-0201"}}},
    {"Manette de jeu pour port jeu", Io, 0x200, 8, {{7, "0200-0207"}}},
    {"Tunara Enumerator", Irq, 5, 0, {{8, "05"}}},
    {"Maestro Enumerator", Irq, 11, 0, {{8, "11"}}},
    {"Tunara Multi-Device Enumerator", Irq, 9, 0, {{8, "09"}}},
    {"Tunara WaveTable Synthesis Device", Irq, 5, 0, {{9, "05"}}},
    // One description that names two devices fills the slots of both.
    {"Device Manager + Gameport Joystick", Io, 0x200, 8, {{5, "0200-0207"}, {7, "0200-0207"}}},
    {"Device Manager + Gameport Joystick", Irq, 7, 0, {{4, "07"}, {0, "07"}}},
    // Letter case counts; a language's name is a card name only in that language.
    {"tunara dos games/fm devices", Io, 0x220, 16, {}},
    {"Port pour manette de jeu", Io, 0x200, 8, {}},
    {"", Io, 0x220, 16, {}},
};

void fileOne(deviceInspector& inspector, const FilingCase& c) {
    switch (c.kind) {
        case Memory:
            inspector.fileMemoryWindow(1, c.base, c.length, c.description);
            break;
        case Io:
            inspector.fileIoRange(1, static_cast<std::uint16_t>(c.base),
                                  static_cast<std::uint16_t>(c.length), c.description);
            break;
        case Irq:
            inspector.fileIrq(1, static_cast<std::uint8_t>(c.base), c.description);
            break;
        case Dma:
            inspector.fileDma(1, static_cast<std::uint8_t>(c.base), c.description);
            break;
    }
}

}  // namespace

TEST(ResourceFiling, EachRuleFillsItsSlots) {
    for (const FilingCase& c : kFilingCases) {
        deviceInspector inspector("Gameport Joystick");
        fileOne(inspector, c);
        for (int slot = 0; slot < 10; ++slot) {
            const auto it = c.filled.find(slot);
            EXPECT_EQ(inspector.resourceSlots[slot],
                      it == c.filled.end() ? std::string(kResourceConflict) : it->second)
                << "\"" << c.description << "\" kind " << c.kind << " slot " << slot;
        }
    }
}

TEST(ResourceFiling, FmRangesGoFirstToSlotOneThenTheLastToSlotTwo) {
    deviceInspector inspector("Gameport Joystick");
    const char* fm = "Tunara DOS Games/FM Devices";
    inspector.fileIoRange(1, 0x220, 16, fm);
    EXPECT_TRUE(inspector.firstFmIoTaken);
    EXPECT_TRUE(inspector.slotInConflict(2));
    inspector.fileIoRange(1, 0x388, 4, fm);
    inspector.fileIoRange(1, 0x300, 2, fm);
    EXPECT_EQ(inspector.resourceSlots[1], "0220-022F");
    EXPECT_EQ(inspector.resourceSlots[2], "0300-0301");
}

TEST(ResourceFiling, LanguageJoystickNameIsAGameportName) {
    deviceInspector inspector("Port pour manette de jeu");
    inspector.fileIoRange(1, 0x200, 8, "Port pour manette de jeu (port jeu)");
    EXPECT_EQ(inspector.resourceSlots[7], "0200-0207");
    EXPECT_EQ(inspector.joystickName, "Port pour manette de jeu");
}

TEST(ResourceText, RangesKeepTheirWidthAtTheEdges) {
    using inspector::ioRangeText;
    using inspector::memoryRangeText;
    EXPECT_EQ(ioRangeText(0x0220, 16), "0220-022F");
    EXPECT_EQ(ioRangeText(0xFFF0, 0x10), "FFF0-FFFF");
    EXPECT_EQ(ioRangeText(0xFFF0, 0x20), "FFF0-FFFF");  // would run past the top
    EXPECT_EQ(ioRangeText(0x0220, 0), "0220-0220");     // empty: the base alone
    EXPECT_EQ(ioRangeText(0, 0), "0000-0000");
    EXPECT_EQ(memoryRangeText(0xFFFFF000, 0x2000), "FFFFF000-FFFFFFFF");
    EXPECT_EQ(memoryRangeText(0, 0xFFFFFFFF), "00000000-FFFFFFFE");
    EXPECT_EQ(inspector::channelText(0), "00");
    EXPECT_EQ(inspector::channelText(255), "255");
}
