#include "platform/sim/sim_mci.h"

#include <utility>

#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_registry.h"

namespace platform::sim {
namespace {

constexpr const char* kSequencerType = "sequencer";
constexpr std::uintptr_t kSequencerPort = 0;

}  // namespace

SimMci::SimMci(Registry& registry, NotificationSink sink)
    : registry_(registry), sink_(std::move(sink)) {}

bool SimMci::sequencerBusy() {
    std::uint32_t busy = 0;
    return readSimDword(registry_, kSimSequencerKey, kSimBusyValue, &busy) && busy != 0;
}

std::uint32_t SimMci::Open(const char* deviceType, const char* element, std::uint32_t flags,
                           MciDeviceId* result) {
    if (result == nullptr || (flags & MCI_OPEN_TYPE) == 0 || deviceType == nullptr ||
        ((flags & MCI_OPEN_ELEMENT) != 0 && element == nullptr)) {
        return MCIERR_MISSING_PARAMETER;
    }
    if ((flags & MCI_OPEN_TYPE_ID) != 0) return MCIERR_FLAGS_NOT_COMPATIBLE;
    if (!simEqualNoCase(deviceType, kSequencerType)) return MCIERR_INVALID_DEVICE_NAME;
    if (sequencerBusy()) return MCIERR_SEQ_PORT_INUSE;
    const MciDeviceId device = nextDevice_++;
    open_.insert(device);
    *result = device;
    return 0;
}

std::uint32_t SimMci::Status(MciDeviceId device, std::uint32_t flags, std::uint32_t item,
                             std::uintptr_t* value) {
    if (open_.count(device) == 0) return MCIERR_INVALID_DEVICE_ID;
    if ((flags & MCI_STATUS_ITEM) == 0 || value == nullptr) return MCIERR_MISSING_PARAMETER;
    switch (item) {
        case MCI_SEQ_STATUS_PORT:
            *value = kSequencerPort;
            return 0;
        case MCI_STATUS_MODE:
            *value = MCI_MODE_STOP;
            return 0;
        default:
            return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

std::uint32_t SimMci::Play(MciDeviceId device, std::uint32_t flags, HWnd callback) {
    if (open_.count(device) == 0) return MCIERR_INVALID_DEVICE_ID;
    if (sequencerBusy()) return MCIERR_SEQ_PORT_INUSE;
    if ((flags & MCI_NOTIFY) != 0 && callback != 0 && sink_) {
        sink_(callback, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<std::intptr_t>(device));
    }
    return 0;
}

std::uint32_t SimMci::Close(MciDeviceId device, std::uint32_t) {
    return open_.erase(device) == 1 ? 0 : MCIERR_INVALID_DEVICE_ID;
}

}  // namespace platform::sim
