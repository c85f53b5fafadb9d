// Which resource slot each field of the legacy page and of the two advanced resources pages
// shows, and which conflict mark goes with it. A slot that still reads "Resource conflict"
// is shown as that text and its mark is shown.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace props {

using SlotTexts = std::array<std::string, 10>;

struct FieldText {
    std::uint32_t control = 0;
    std::string text;
    std::uint32_t mark = 0;  // the conflict mark to show, 0 for none
};

// The legacy page: with game support on, the device name and slots 4, 1 and 3 with marks
// 1063, 1064, 1065; with it off no fields (the page hides them and shows its text instead).
std::vector<FieldText> legacyPageFields(const SlotTexts& slots, bool gameSupportOn);

// Fields 1051 to 1055 of the first advanced resources page, emptied ones included.
std::vector<FieldText> advResPage1Fields(const SlotTexts& slots, bool gameSupportOn,
                                         bool isMaestro2E, bool joystickDisabled);

// Fields 1051 to 1055 of the second page, emptied ones included.
std::vector<FieldText> advResPage2Fields(const SlotTexts& slots, bool gameSupportOn);

}  // namespace props
