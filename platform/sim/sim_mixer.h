// The simulated card's mixer: mixer 0, whose lines and control values live in the Mixer keys
// of the simulated hardware (platform/sim/sim_layout.h). Every call reads the registry
// afresh, so a line added or a value changed by another process is seen at once.
//
// Topology. No Mixer key: no device (GetNumDevs is 0). Otherwise one device whose
// destinations are Destination0, Destination1, ... and whose sources of destination n are
// Destinationn\Source0, Source1, ... (each list ends at the first missing number; at most
// 256 destinations and 4095 sources per destination are seen). Microphone sources
// (SRC_MICROPHONE) have 1 channel, every other line 2. Line names follow the component type
// ("Microphone", "Line In", "Speakers", ...).
//
// Line ids: destination n is (n << 16) | 0xFFFF; source m of destination n is (n << 16) | m.
//
// Controls. A line has the number of controls its Controls value says (at most 4096), numbered
// by index; the control id is (destination << 24) | (slot << 12) | index, with slot 0 for the
// destination line itself and m + 1 for source m.
//   index 0   MIXERCONTROL_CONTROLTYPE_VOLUME "Volume", 0 to 65535     reads 0, fixed
//   index 1   MIXERCONTROL_CONTROLTYPE_MUTE   "Mute", uniform          reads 0, fixed
//   index 2   MIXERCONTROL_CONTROLTYPE_ONOFF, uniform, 0 to 1          the line's Value
//             (on a microphone source the 20 dB boost, "Mic Boost")
//   index 3+  MIXERCONTROL_CONTROLTYPE_BOOLEAN "Switch <i>", uniform   reads 0, fixed
// Only the control at index 2 has a stored value; the fixed ones carry
// MIXERCONTROL_CONTROLF_DISABLED and SetControlDetails refuses them with
// MMSYSERR_NOTSUPPORTED. The stored value is read and written as the caller gives it (the
// product writes 0 or 1). A value of several channels is read as the same number on every
// channel and written from the first.
//
// Notifications. A successful SetControlDetails writes Value and then sends
// MM_MIXM_CONTROL_CHANGE (wParam = the handle, lParam = the control id) through the sink to
// the window of every handle opened here with CALLBACK_WINDOW. Handles of other processes
// are not known to this object and are not notified.
//
// Results beyond platform/mixer.h: calls through a handle whose device has since vanished
// give MMSYSERR_NODRIVER; object kinds other than MIXER and HMIXER give
// MMSYSERR_NOTSUPPORTED; a failed registry write gives MMSYSERR_ERROR and sends nothing.
#pragma once

#include <cstdint>
#include <map>

#include "platform/mixer.h"
#include "platform/registry.h"
#include "platform/sim/sim_notification.h"

namespace platform::sim {

class SimMixer : public Mixer {
public:
    SimMixer(Registry& registry, NotificationSink sink);

    std::uint32_t GetNumDevs() override;
    std::uint32_t Open(HMixer* result, std::uint32_t deviceId, HWnd callbackWindow,
                       std::uint32_t flags) override;
    std::uint32_t Close(HMixer mixer) override;
    std::uint32_t GetDevCaps(HMixerObj mixer, MixerCaps* caps) override;
    std::uint32_t GetLineInfo(HMixerObj mixer, MixerLine* line, std::uint32_t flags) override;
    std::uint32_t GetLineControls(HMixerObj mixer, MixerLineControls* controls,
                                  std::uint32_t flags) override;
    std::uint32_t GetControlDetails(HMixerObj mixer, MixerControlDetails* details,
                                    std::uint32_t flags) override;
    std::uint32_t SetControlDetails(HMixerObj mixer, const MixerControlDetails* details,
                                    std::uint32_t flags) override;

    // Handles opened and not yet closed, for a test's leak check.
    std::size_t openHandleCount() const { return open_.size(); }

    // The ids above, for tests and tools that address a line or control directly.
    static std::uint32_t destinationLineId(std::uint32_t destination);
    static std::uint32_t sourceLineId(std::uint32_t destination, std::uint32_t source);
    static std::uint32_t controlId(std::uint32_t lineId, std::uint32_t index);

private:
    // One line as the registry has it.
    struct Line {
        std::uint32_t destination = 0;
        bool isSource = false;
        std::uint32_t source = 0;
        std::uint32_t componentType = 0;
        std::uint32_t controls = 0;
        std::uint32_t value = 0;
        std::uint32_t connections = 0;  // destinations only
    };

    bool deviceExists();
    // MMSYSERR_NOERROR when `mixer` with the object kind of `flags` is mixer 0.
    std::uint32_t checkObject(HMixerObj mixer, std::uint32_t flags);
    std::uint32_t countDestinations();
    std::uint32_t countSources(std::uint32_t destination);
    bool readLine(std::uint32_t destination, bool isSource, std::uint32_t source, Line* line);
    bool readLineById(std::uint32_t lineId, Line* line);
    bool findLineByType(std::uint32_t componentType, Line* line);
    // The control with `id`: its line and index. False when there is none.
    bool findControl(std::uint32_t id, Line* line, std::uint32_t* index);
    void fillLine(const Line& line, MixerLine* out);
    static void fillControl(const Line& line, std::uint32_t index, MixerControl* out);
    static std::uint32_t lineIdOf(const Line& line);
    static std::uint32_t channelsOf(const Line& line);
    std::uint32_t checkDetails(const MixerControlDetails* details, Line* line,
                               std::uint32_t* index);

    Registry& registry_;
    NotificationSink sink_;
    std::map<HMixer, HWnd> open_;  // handle -> callback window (0: none)
    HMixer nextHandle_ = 0x100;
};

}  // namespace platform::sim
