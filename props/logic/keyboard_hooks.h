// The main sheet's keyboard decisions. The sheet is modeless and its OK, Cancel and Help
// buttons are its own children, not the property sheet's, so the dialog manager would tab
// past them; the message loop asks these decisions first for Right, Left, Tab, Shift+Tab
// and Enter, and a handled key never reaches the focused control.
#pragma once

namespace props {

enum class HookKey { Right, Left, Tab, ShiftTab, Enter };

// Where the focus is, as the sheet recognises it.
enum class FocusAt {
    Other,
    SheetOk,  // the sheet's own buttons (window text and parent)
    SheetCancel,
    SheetHelp,
    SheetLevel,        // another child of the sheet: its tab control
    SupportButton,     // settings page 1056
    AdvancedButton,    // settings page 1057
    CheckedOutput,     // settings page: the checked output radio button
    ResourcesButton,   // legacy page 1019
    AdvResHelp,        // the advanced resources sheet's Help
    AdvResClose,       // its Close
    AdvResTabControl,  // its tab control
};

enum class HookAction {
    None,                     // not handled: normal processing
    Drop,                     // handled, nothing done
    HelpToTabControl,         // Help loses default, OK default, focus to the tab control
    SupportToOk,              // 1056 loses default, focus to OK, OK default
    TabControlToOutput,       // focus to the checked output radio button
    ResourcesToOk,            // 1019 loses default, focus to OK, OK default
    TabControlToResources,    // focus to 1019, 1019 default, OK loses default
    SheetLevelToHelp,         // focus to Help, OK loses default, Help default
    OutputToTabControl,       // focus to the tab control
    AdvancedToTrayCheck,      // OK default, 1057 loses default, focus to 1014
    OkToSupport,              // focus to 1056, 1056 default, OK loses default
    ResourcesToTabControl,    // focus to the tab control, OK default, 1019 loses default
    OkToResources,            // focus to 1019, 1019 default, OK loses default
    AdvResHelpToTabControl,   // advanced sheet: focus to its tab control, Close default
    AdvResTabControlToClose,  // advanced sheet: Close default and focused
    AdvResCloseToTabControl,  // advanced sheet: focus to its tab control, Close default
    AdvResHideThenContinue,   // advanced sheet gets WM_COMMAND 1; the key goes on (not handled)
    ClickOk,                  // BM_CLICK on OK
};

struct HookInput {
    HookKey key = HookKey::Tab;
    FocusAt focus = FocusAt::Other;
    int activePage = 0;
    bool advancedSheetExists = false;
    bool okIsDefault = false;
};

HookAction decideKey(const HookInput& in);

// Whether the loop drops the key after the action.
bool actionHandlesKey(HookAction action);

// Shift counts as down for GetKeyState values of at least 127 or at most -127.
bool shiftIsDown(short keyState);

}  // namespace props
