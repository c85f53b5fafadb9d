// The properties program's plain decisions: help file, support region, keyboard hooks,
// resource fields, the button row, the command tables and the advanced settings dialog.
#include <gtest/gtest.h>

#include "inspector/device_inspector.h"
#include "lang/resource_ids.h"
#include "props/logic/advanced_controls.h"
#include "props/logic/command_table.h"
#include "props/logic/help_path.h"
#include "props/logic/keyboard_hooks.h"
#include "props/logic/layout.h"
#include "props/logic/resource_fields.h"
#include "props/logic/support_regions.h"

namespace {

using namespace props;

TEST(HelpPath, LanguageNamesPickTheFile) {
    struct Row {
        const char* name;
        const char* expected;
    };
    const Row rows[] = {
        {"DEU", "C:\\WINDOWS\\SYSTEM\\tnrmxDE_.hlp"},
        {"ENU", "C:\\WINDOWS\\SYSTEM\\tnrmxEN_.hlp"},  // "EN_" is not "en_"
        {"enu", "C:\\WINDOWS\\SYSTEM\\tunara.hlp"},
        {"FRA", "C:\\WINDOWS\\SYSTEM\\tnrmxFR_.hlp"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(buildHelpFilePath("C:\\WINDOWS\\SYSTEM", row.name), row.expected) << row.name;
}

TEST(HelpPath, APathThatWouldNotFitIsLeftEmpty) {
    // "\tnrmxDE_.hlp" is 13 characters: 86 + 13 = 99 fits with its zero, 87 does not.
    std::string fits = "C:\\" + std::string(83, 'A');
    ASSERT_EQ(fits.size(), 86u);
    EXPECT_EQ(buildHelpFilePath(fits, "DEU").size(), 99u);
    EXPECT_EQ(buildHelpFilePath(fits + "B", "DEU"), "");
    EXPECT_EQ(buildHelpFilePath(std::string(250, 'C'), "enu"), "");
}

TEST(SupportRegion, ThreadLocalesChooseTheRegion) {
    struct Row {
        unsigned lcid;
        int region;
    };
    const Row rows[] = {
        {0x0409, 0}, {0x0809, 2}, {0x0C09, 2}, {0x1009, 0}, {0x0407, 1}, {0x0C07, 1},
        {0x080A, 0}, {0x0C0A, 2}, {0x040A, 2}, {0x100A, 0}, {0x500A, 0}, {0x540A, 2},
        {0x0416, 0}, {0x0816, 2}, {0x040C, 2}, {0x0411, 2},
    };
    for (const Row& row : rows)
        EXPECT_EQ(regionForLocale(row.lcid), row.region) << std::hex << row.lcid;
}

TEST(SupportRegion, RowsPerRegion) {
    // (label, value) strings per region in table order; rows without a value are left out.
    using Rows = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    const Rows expected[3] = {
        {{2503, 2560}, {2505, 2580}, {2502, 2550}, {2500, 2530}},
        {{2503, 2562}, {2505, 2582}, {2506, 2571}, {2502, 2552}, {2500, 2532}},
        {{2503, 2561}, {2505, 2581}, {2502, 2551}, {2500, 2531}},
    };
    const std::uint32_t comboTexts[3] = {2600, 2602, 2601};
    for (int region = 0; region < 3; ++region) {
        Rows rows;
        for (const SupportRow& row : supportRows(region)) rows.emplace_back(row.label, row.value);
        EXPECT_EQ(rows, expected[region]) << "region " << region;
        EXPECT_EQ(regionNameString(region), comboTexts[region]) << "region " << region;
    }
    EXPECT_TRUE(supportRows(3).empty());
}

TEST(KeyboardHooks, DecisionTable) {
    struct Row {
        HookKey key;
        FocusAt focus;
        int page;
        bool adv;
        bool okDefault;
        HookAction action;
    };
    // clang-format off
    const Row rows[] = {
        {HookKey::Right, FocusAt::AdvResHelp, 1, true, true, HookAction::Drop},
        {HookKey::Right, FocusAt::AdvResClose, 1, true, true, HookAction::None},
        {HookKey::Left, FocusAt::AdvResClose, 0, true, true, HookAction::Drop},
        {HookKey::Left, FocusAt::AdvResClose, 0, false, true, HookAction::None},
        {HookKey::Tab, FocusAt::SheetHelp, 1, false, false, HookAction::HelpToTabControl},
        {HookKey::Tab, FocusAt::SupportButton, 0, false, false, HookAction::SupportToOk},
        {HookKey::Tab, FocusAt::SupportButton, 1, false, false, HookAction::None},
        {HookKey::Tab, FocusAt::SheetLevel, 0, false, true, HookAction::TabControlToOutput},
        {HookKey::Tab, FocusAt::SheetLevel, 1, false, true, HookAction::TabControlToResources},
        {HookKey::Tab, FocusAt::ResourcesButton, 1, false, false, HookAction::ResourcesToOk},
        {HookKey::Tab, FocusAt::AdvResHelp, 1, true, true, HookAction::AdvResHelpToTabControl},
        {HookKey::Tab, FocusAt::AdvResTabControl, 1, true, true, HookAction::AdvResTabControlToClose},
        {HookKey::Tab, FocusAt::AdvResHelp, 0, true, true, HookAction::None},
        {HookKey::Tab, FocusAt::SheetOk, 0, false, true, HookAction::None},
        {HookKey::ShiftTab, FocusAt::SheetLevel, 1, false, true, HookAction::SheetLevelToHelp},
        {HookKey::ShiftTab, FocusAt::CheckedOutput, 0, false, true, HookAction::OutputToTabControl},
        {HookKey::ShiftTab, FocusAt::AdvancedButton, 0, false, false, HookAction::AdvancedToTrayCheck},
        {HookKey::ShiftTab, FocusAt::SheetOk, 0, false, true, HookAction::OkToSupport},
        {HookKey::ShiftTab, FocusAt::SheetOk, 1, false, true, HookAction::OkToResources},
        {HookKey::ShiftTab, FocusAt::ResourcesButton, 1, false, false, HookAction::ResourcesToTabControl},
        {HookKey::ShiftTab, FocusAt::AdvResClose, 1, true, true, HookAction::AdvResCloseToTabControl},
        {HookKey::ShiftTab, FocusAt::SheetCancel, 0, false, true, HookAction::None},
        {HookKey::Enter, FocusAt::AdvResTabControl, 1, true, true, HookAction::AdvResHideThenContinue},
        // Enter on a button of the advanced sheet still clicks the main sheet's OK.
        {HookKey::Enter, FocusAt::AdvResClose, 1, true, true, HookAction::ClickOk},
        {HookKey::Enter, FocusAt::Other, 0, false, false, HookAction::None},
    };
    // clang-format on
    int i = 0;
    for (const Row& row : rows) {
        HookInput in;
        in.key = row.key;
        in.focus = row.focus;
        in.activePage = row.page;
        in.advancedSheetExists = row.adv;
        in.okIsDefault = row.okDefault;
        EXPECT_EQ(decideKey(in), row.action) << "row " << i;
        ++i;
    }
    EXPECT_FALSE(actionHandlesKey(HookAction::AdvResHideThenContinue));
    EXPECT_TRUE(actionHandlesKey(HookAction::Drop));
    EXPECT_TRUE(shiftIsDown(-128));
    EXPECT_TRUE(shiftIsDown(127));
    EXPECT_FALSE(shiftIsDown(1));
    EXPECT_FALSE(shiftIsDown(0));
}

SlotTexts slotsWith(std::initializer_list<std::pair<int, const char*>> filled) {
    SlotTexts slots;
    slots.fill("Resource conflict");
    for (const auto& f : filled) slots[static_cast<std::size_t>(f.first)] = f.second;
    return slots;
}

// The field of a control (numbered as the page's template numbers it); a control the
// page does not fill reads "<no field>".
const FieldText* field(const std::vector<FieldText>& fields, std::uint32_t control) {
    static const FieldText missing{0, "<no field>", 0};
    for (const FieldText& f : fields)
        if (f.control == control) return &f;
    return &missing;
}

TEST(ResourceFields, LegacyPageMarksOnlyTheConflictingInterrupt) {
    SlotTexts slots = slotsWith({{1, "0220-022F"}, {3, "01"}});
    std::vector<FieldText> fields = legacyPageFields(slots, true);
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(field(fields, 1041)->text, "SoundBlaster Pro");
    EXPECT_EQ(field(fields, 1042)->mark, 1063u);
    EXPECT_EQ(field(fields, 1043)->text, "0220-022F");
    EXPECT_EQ(field(fields, 1043)->mark, 0u);
    EXPECT_EQ(field(fields, 1044)->mark, 0u);
    EXPECT_TRUE(legacyPageFields(slots, false).empty());
}

TEST(ResourceFields, FirstAdvancedPage) {
    SlotTexts slots = slotsWith({{0, "05"}, {1, "0220-022F"}, {4, "10"}, {6, "0330-0331"}});
    // Maestro-1 without game support: only the joystick, from slot 0.
    std::vector<FieldText> m1 = advResPage1Fields(slots, false, false, false);
    EXPECT_EQ(field(m1, 1055)->text, "05");
    EXPECT_EQ(field(m1, 1051)->text, "");
    EXPECT_EQ(field(m1, 1054)->text, "");
    // Maestro-2E: the gameport's range (slot 7, missing here) with its mark; DMA missing too.
    std::vector<FieldText> m2 = advResPage1Fields(slots, true, true, false);
    EXPECT_EQ(field(m2, 1055)->mark, 1067u);
    EXPECT_EQ(field(m2, 1051)->text, "0220-022F");
    EXPECT_EQ(field(m2, 1052)->text, "10");
    EXPECT_EQ(field(m2, 1053)->mark, 1064u);
    EXPECT_EQ(field(m2, 1054)->mark, 0u);
    // Joystick off: empty field, no mark.
    std::vector<FieldText> off = advResPage1Fields(slots, true, true, true);
    EXPECT_EQ(field(off, 1055)->text, "");
    EXPECT_EQ(field(off, 1055)->mark, 0u);
}

TEST(ResourceFields, SecondAdvancedPage) {
    SlotTexts slots = slotsWith({{4, "05"}, {5, "E000-E0FF"}, {8, "05"}, {9, "05"}});
    std::vector<FieldText> off = advResPage2Fields(slots, false);
    EXPECT_EQ(field(off, 1051)->text, "");
    EXPECT_EQ(field(off, 1054)->text, "");
    EXPECT_EQ(field(off, 1053)->text, "E000-E0FF");
    EXPECT_EQ(field(off, 1052)->text, "05");
    EXPECT_EQ(field(off, 1055)->text, "05");
    std::vector<FieldText> on = advResPage2Fields(slots, true);
    EXPECT_EQ(field(on, 1051)->mark, 1063u);
    EXPECT_EQ(field(on, 1054)->text, "05");
    EXPECT_EQ(field(on, 1053)->mark, 0u);
}

TEST(CommandTables, TheStandardHelpCommandReachesTheDefaultHelp) {
    int helps = 0;
    const CommandTable app = applicationCommandTable([&helps] { ++helps; });
    struct Row {
        std::uint32_t id;
        std::uint32_t code;
        bool routed;
    };
    const Row rows[] = {
        {0xE146, 0, true},   // menu choice or button click
        {0xE146, 1, true},   // accelerator
        {0xE146, 6, false},  // BN_SETFOCUS of a control that happens to carry the number
        {1025, 0, false},    // the sheet's own Help button stays with the sheet
        {9, 0, false},       // IDHELP of the standard buttons
        {0, 0, false},
    };
    for (const Row& row : rows) {
        const int before = helps;
        EXPECT_EQ(app.route(row.id, row.code), row.routed) << std::hex << row.id << "/" << row.code;
        EXPECT_EQ(helps - before, row.routed ? 1 : 0) << std::hex << row.id << "/" << row.code;
    }

    // A window's own table matches identifier and notification code exactly.
    std::string ran;
    CommandTable page;
    page.add(1057, 0, [&ran] { ran += "advanced "; });
    page.add(1057, 0, [&ran] { ran += "second "; });
    page.add(1057, 1, [&ran] { ran += "code1 "; });
    EXPECT_TRUE(page.route(1057, 0));
    EXPECT_TRUE(page.route(1057, 1));
    EXPECT_FALSE(page.route(1057, 6));
    EXPECT_FALSE(page.route(1056, 0));
    EXPECT_EQ(ran, "advanced code1 ");
}

TEST(AdvancedDialog, RefreshShowsTheState) {
    struct Row {
        bool maestro2E;
        bool gameSupport;
        std::int32_t size;
        bool disableNativeDos;
        int button;
    };
    const Row rows[] = {
        {false, false, 2, true, IDC_ADVANCED_WAVETABLE_2MB},  // Maestro-1 without game support
        {false, true, 0, false, IDC_ADVANCED_WAVETABLE_NONE},
        {true, false, 4, false, IDC_ADVANCED_WAVETABLE_4MB},  // never disabled on a Maestro-2E
        {true, true, -1, false, 0},                           // no size: the buttons stay
        {false, true, 3, false, 0},
    };
    for (const Row& row : rows) {
        AdvancedState state;
        state.hwAcceleration = true;
        state.joystickEnabled = row.maestro2E;
        state.micBoost = !row.maestro2E;
        state.nativeDosSupport = row.gameSupport;
        state.gameSupport = row.gameSupport;
        state.wavetableSize = row.size;
        const AdvancedControlView view = advancedControlView(state, row.maestro2E);
        const std::string at = "row with size " + std::to_string(row.size);
        EXPECT_EQ(view.disableNativeDos, row.disableNativeDos) << at;
        EXPECT_EQ(view.wavetableButton, row.button) << at;
        EXPECT_TRUE(view.hwAcceleration) << at;
        EXPECT_EQ(view.joystick, row.maestro2E) << at;
        EXPECT_EQ(view.micBoost, !row.maestro2E) << at;
        EXPECT_EQ(view.gameSupport, row.gameSupport) << at;
        EXPECT_EQ(view.nativeDos, row.gameSupport) << at;
    }
    // Checking game support enables the DOS box again; clearing it disables the box.
    EXPECT_TRUE(nativeDosEnabledAfterGameSupportClick(true));
    EXPECT_FALSE(nativeDosEnabledAfterGameSupportClick(false));
}

TEST(AdvancedDialog, OkReadsTheControls) {
    AdvancedChecks checks;
    checks.hwAcceleration = true;
    checks.nativeDos = true;
    checks.wavetable2Mb = true;
    checks.wavetable4Mb = true;  // the first size checked counts
    AdvancedState state = advancedStateFromChecks(checks);
    EXPECT_TRUE(state.hwAcceleration);
    EXPECT_FALSE(state.micBoost);
    EXPECT_FALSE(state.joystickEnabled);
    EXPECT_FALSE(state.gameSupport);
    EXPECT_TRUE(state.nativeDosSupport);
    EXPECT_EQ(state.wavetableSize, 2);
    checks = AdvancedChecks();
    checks.micBoost = checks.joystick = checks.gameSupport = true;
    checks.wavetable4Mb = true;
    state = advancedStateFromChecks(checks);
    EXPECT_TRUE(state.micBoost && state.joystickEnabled && state.gameSupport);
    EXPECT_FALSE(state.hwAcceleration || state.nativeDosSupport);
    EXPECT_EQ(state.wavetableSize, 4);
    checks.wavetableNone = true;
    EXPECT_EQ(advancedStateFromChecks(checks).wavetableSize, 0);
    EXPECT_EQ(advancedStateFromChecks(AdvancedChecks()).wavetableSize, -1);
}

TEST(AdvancedDialog, AMaestro2ELosesTheGameSupportBox) {
    const AdvancedLayout m1 = advancedLayout(false);
    const AdvancedLayout m2 = advancedLayout(true);
    for (const AdvancedLayout* layout : {&m1, &m2}) {
        EXPECT_EQ(layout->leftEdge, -3);
        EXPECT_EQ(layout->rightEdge, -1);
        EXPECT_EQ(layout->topEdge, 36);
        EXPECT_EQ(layout->bottomEdge, 36);
    }
    EXPECT_TRUE(m1.hidden.empty());
    EXPECT_TRUE(m1.shifts.empty());
    EXPECT_EQ(m1.nativeDosText, nullptr);
    EXPECT_EQ(m1.heightChange, 0);

    EXPECT_EQ(m2.hidden, (std::vector<int>{IDC_ADVANCED_GAME_SUPPORT, IDC_ADVANCED_DOS_GROUP}));
    std::vector<std::pair<int, int>> shifts;
    for (const ControlShift& s : m2.shifts) shifts.emplace_back(s.id, s.dy);
    EXPECT_EQ(shifts, (std::vector<std::pair<int, int>>{{IDC_ADVANCED_NATIVE_DOS, -46},
                                                        {IDC_ADVANCED_OK, -55},
                                                        {IDC_ADVANCED_CANCEL, -55},
                                                        {IDC_ADVANCED_HELP, -55},
                                                        {IDC_ADVANCED_HW_ACCELERATION, -55},
                                                        {IDC_ADVANCED_MIC_BOOST, -55},
                                                        {IDC_ADVANCED_JOYSTICK, -55}}));
    ASSERT_NE(m2.nativeDosText, nullptr);
    EXPECT_STREQ(m2.nativeDosText, "&Native DOS Support");
    EXPECT_EQ(m2.heightChange, -55);
}

TEST(Layout, HelpMeetsTheTabControlsRightEdge) {
    ButtonRow row = buttonRow(6 + 3 * 77 + 2 * 40, 300);
    EXPECT_EQ(row.left[1], 6 + 77 + 40);
    EXPECT_EQ(row.left[2] + 77, 6 + 3 * 77 + 2 * 40);
    EXPECT_EQ(row.top, 262);
    EXPECT_EQ(row.bottom, 285);
    ButtonRow odd = buttonRow(6 + 3 * 77 + 5, 0);  // odd spare: the gap rounds down
    EXPECT_EQ(odd.left[2], 6 + 2 * 77 + 4);
}

}  // namespace
