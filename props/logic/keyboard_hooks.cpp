#include "props/logic/keyboard_hooks.h"

namespace props {

HookAction decideKey(const HookInput& in) {
    const bool adv = in.advancedSheetExists;
    switch (in.key) {
        case HookKey::Right:
            return adv && in.focus == FocusAt::AdvResHelp ? HookAction::Drop : HookAction::None;
        case HookKey::Left:
            return adv && in.focus == FocusAt::AdvResClose ? HookAction::Drop : HookAction::None;
        case HookKey::Tab:
            if (in.focus == FocusAt::SheetHelp) return HookAction::HelpToTabControl;
            if (in.activePage == 0) {
                if (in.focus == FocusAt::SupportButton) return HookAction::SupportToOk;
                if (in.focus == FocusAt::SheetLevel) return HookAction::TabControlToOutput;
            } else if (in.activePage == 1) {
                if (adv && in.focus == FocusAt::AdvResHelp)
                    return HookAction::AdvResHelpToTabControl;
                if (adv && in.focus == FocusAt::AdvResTabControl)
                    return HookAction::AdvResTabControlToClose;
                if (in.focus == FocusAt::ResourcesButton) return HookAction::ResourcesToOk;
                if (in.focus == FocusAt::SheetLevel) return HookAction::TabControlToResources;
            }
            return HookAction::None;
        case HookKey::ShiftTab:
            if (in.focus == FocusAt::SheetLevel) return HookAction::SheetLevelToHelp;
            if (in.activePage == 0) {
                if (in.focus == FocusAt::CheckedOutput) return HookAction::OutputToTabControl;
                if (in.focus == FocusAt::AdvancedButton) return HookAction::AdvancedToTrayCheck;
                if (in.focus == FocusAt::SheetOk) return HookAction::OkToSupport;
            } else if (in.activePage == 1) {
                if (in.focus == FocusAt::ResourcesButton) return HookAction::ResourcesToTabControl;
                if (adv && in.focus == FocusAt::AdvResClose)
                    return HookAction::AdvResCloseToTabControl;
                if (in.focus == FocusAt::SheetOk) return HookAction::OkToResources;
            }
            return HookAction::None;
        case HookKey::Enter:
            if (adv && in.focus == FocusAt::AdvResTabControl)
                return HookAction::AdvResHideThenContinue;
            if (in.okIsDefault && (in.activePage == 0 || in.activePage == 1))
                return HookAction::ClickOk;
            return HookAction::None;
    }
    return HookAction::None;
}

bool actionHandlesKey(HookAction action) {
    return action != HookAction::None && action != HookAction::AdvResHideThenContinue;
}

bool shiftIsDown(short keyState) {
    return keyState >= 127 || keyState <= -127;
}

}  // namespace props
