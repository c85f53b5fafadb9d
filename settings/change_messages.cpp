#include "settings/change_messages.h"

#include "platform/machine.h"
#include "platform/ui.h"

namespace settings {

ChangeMessages registerChangeMessages() {
    platform::UserInterface& ui = *platform::machine().ui;
    ChangeMessages m;
    m.exitTray = ui.RegisterWindowMessage(kExitTrayMessage);
    m.outputDevice = ui.RegisterWindowMessage(kOutputDeviceMessage);
    m.hwAcceleration = ui.RegisterWindowMessage(kHwAccelerationMessage);
    m.micBoost = ui.RegisterWindowMessage(kMicBoostMessage);
    m.wavetable = ui.RegisterWindowMessage(kWavetableMessage);
    return m;
}

}  // namespace settings
