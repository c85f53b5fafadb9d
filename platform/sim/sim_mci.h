// The MCI "sequencer" device of the simulated machine. Whether another program holds the
// MIDI port is the Sequencer key's Busy value (platform/sim/sim_layout.h); this object never
// changes it.
//
// Behaviour: only the "sequencer" type (any letter case) opens; every other type is
// MCIERR_INVALID_DEVICE_NAME. While Busy is non-zero, Open and Play fail with
// MCIERR_SEQ_PORT_INUSE, as the sequencer answers when its port is taken. The element file
// is taken as given and not opened (the simulated card has no file system of its own), so
// every song is an empty one: Play ends at once and, with MCI_NOTIFY and a callback window,
// sends MM_MCINOTIFY with MCI_NOTIFY_SUCCESSFUL through the sink. Status answers
// MCI_SEQ_STATUS_PORT (port 0) and MCI_STATUS_MODE (MCI_MODE_STOP).
#pragma once

#include <cstdint>
#include <set>

#include "platform/mci.h"
#include "platform/registry.h"
#include "platform/sim/sim_notification.h"

namespace platform::sim {

class SimMci : public Mci {
public:
    SimMci(Registry& registry, NotificationSink sink);

    std::uint32_t Open(const char* deviceType, const char* element, std::uint32_t flags,
                       MciDeviceId* result) override;
    std::uint32_t Status(MciDeviceId device, std::uint32_t flags, std::uint32_t item,
                         std::uintptr_t* value) override;
    std::uint32_t Play(MciDeviceId device, std::uint32_t flags, HWnd callback) override;
    std::uint32_t Close(MciDeviceId device, std::uint32_t flags) override;

    // Devices opened and not yet closed, for a test's leak check.
    std::size_t openDeviceCount() const { return open_.size(); }

private:
    bool sequencerBusy();

    Registry& registry_;
    NotificationSink sink_;
    std::set<MciDeviceId> open_;
    MciDeviceId nextDevice_ = 1;
};

}  // namespace platform::sim
