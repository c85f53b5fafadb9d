#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/sim/sim_mixer.h"
#include "tests/unit/hardware/hardware_fixture.h"

namespace tunara_test {
namespace {

using platform::HMixer;
using platform::MixerCaps;
using platform::MixerControl;
using platform::MixerControlDetails;
using platform::MixerLine;
using platform::MixerLineControls;
using platform::sim::SimMixer;

constexpr std::uintptr_t kWindow = 0x1234;
constexpr std::uintptr_t kOtherWindow = 0x5678;

// Destination 0: speakers with wave, a microphone (boost on), a second microphone and a
// microphone with only two controls. Destination 1: recording, with a microphone.
// Destination 3 is beyond the gap at 2, and so is destination 0's Source5.
const char* const kCardMixer =
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination0]\n"
    "\"ComponentType\"=dword:4\n"
    "\"Controls\"=dword:2\n"
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination0\\Source0]\n"
    "\"ComponentType\"=dword:1008\n"
    "\"Controls\"=dword:3\n"
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination0\\Source1]\n"
    "\"ComponentType\"=dword:1003\n"
    "\"Controls\"=dword:3\n"
    "\"Value\"=dword:1\n"
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination0\\Source2]\n"
    "\"ComponentType\"=dword:1003\n"
    "\"Controls\"=dword:5\n"
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination0\\Source3]\n"
    "\"ComponentType\"=dword:1003\n"
    "\"Controls\"=dword:2\n"
    "\"Value\"=dword:1\n"
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination0\\Source5]\n"
    "\"ComponentType\"=dword:1002\n"
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination1]\n"
    "\"ComponentType\"=dword:7\n"
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination1\\Source0]\n"
    "\"ComponentType\"=dword:1003\n"
    "\"Controls\"=dword:3\n"
    "[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer\\Destination3]\n"
    "\"ComponentType\"=dword:5\n";

const std::string kMicKey = platform::sim::simMixerSourceKey(0, 1);

class MixerTest : public HardwareTest {
protected:
    void SetUp() override { load(kCardMixer); }

    MixerLine source(SimMixer& mixer, std::uint32_t destination, std::uint32_t index,
                     std::uint32_t expected = MMSYSERR_NOERROR) {
        MixerLine line;
        line.destination = destination;
        line.source = index;
        EXPECT_EQ(mixer.GetLineInfo(0, &line, MIXER_GETLINEINFOF_SOURCE | MIXER_OBJECTF_MIXER),
                  expected)
            << destination << "/" << index;
        return line;
    }

    // The value of a one-channel control, or `missing` when the read fails.
    std::uint32_t readValue(SimMixer& mixer, std::uint32_t controlId,
                            std::uint32_t missing = 0xCCCCCCCC) {
        std::uint32_t value = missing;
        MixerControlDetails details;
        details.controlId = controlId;
        details.channels = 1;
        details.detailSize = 4;
        details.values = &value;
        mixer.GetControlDetails(0, &details, MIXER_GETCONTROLDETAILSF_VALUE);
        return value;
    }

    std::uint32_t writeValue(SimMixer& mixer, platform::HMixerObj object, std::uint32_t flags,
                             std::uint32_t controlId, std::uint32_t value) {
        MixerControlDetails details;
        details.controlId = controlId;
        details.channels = 1;
        details.detailSize = 4;
        details.values = &value;
        return mixer.SetControlDetails(object, &details, MIXER_SETCONTROLDETAILSF_VALUE | flags);
    }
};

TEST_F(HardwareTest, NoMixerKeyMeansNoMixerDevice) {
    load("[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\DirectSound]\n");
    SimMixer mixer(registry, recorder());
    EXPECT_EQ(mixer.GetNumDevs(), 0u);
    HMixer handle = 0xCC;
    EXPECT_EQ(mixer.Open(&handle, 0, kWindow, CALLBACK_WINDOW), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(handle, 0xCCu);
    MixerCaps caps;
    caps.destinations = 99;
    EXPECT_EQ(mixer.GetDevCaps(0, &caps), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(caps.destinations, 99u);
    MixerLine line;
    EXPECT_EQ(mixer.GetLineInfo(0, &line, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_BADDEVICEID);
}

TEST_F(HardwareTest, AMixerKeyWithoutLinesIsADeviceWithoutDestinations) {
    load("[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer]\n");
    SimMixer mixer(registry, recorder());
    EXPECT_EQ(mixer.GetNumDevs(), 1u);
    MixerCaps caps;
    ASSERT_EQ(mixer.GetDevCaps(0, &caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.destinations, 0u);
    MixerLine line;
    EXPECT_EQ(mixer.GetLineInfo(0, &line, MIXER_GETLINEINFOF_DESTINATION), MIXERR_INVALLINE);
}

TEST_F(MixerTest, ListsDestinationsAndSourcesInOrderUpToTheFirstGap) {
    SimMixer mixer(registry, recorder());
    EXPECT_EQ(mixer.GetNumDevs(), 1u);
    MixerCaps caps;
    ASSERT_EQ(mixer.GetDevCaps(0, &caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.destinations, 2u);
    EXPECT_STREQ(caps.name, "Tunara Mixer");

    struct Row {
        std::uint32_t destination, componentType, connections, controls;
    };
    const Row destinations[] = {{0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 4, 2},
                                {1, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 1, 0}};
    for (const Row& row : destinations) {
        MixerLine line;
        line.destination = row.destination;
        ASSERT_EQ(mixer.GetLineInfo(0, &line, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_NOERROR);
        EXPECT_EQ(line.componentType, row.componentType) << row.destination;
        EXPECT_EQ(line.connections, row.connections) << row.destination;
        EXPECT_EQ(line.controls, row.controls) << row.destination;
        EXPECT_EQ(line.line & MIXERLINE_LINEF_SOURCE, 0u);
    }
    MixerLine beyond;
    beyond.destination = 3;  // exists, but after the gap at 2
    EXPECT_EQ(mixer.GetLineInfo(0, &beyond, MIXER_GETLINEINFOF_DESTINATION), MIXERR_INVALLINE);

    const std::uint32_t types[] = {
        MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
        MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE};
    for (std::uint32_t s = 0; s < 4; ++s) {
        const MixerLine line = source(mixer, 0, s);
        EXPECT_EQ(line.componentType, types[s]) << s;
        EXPECT_EQ(line.source, s);
        EXPECT_NE(line.line & MIXERLINE_LINEF_SOURCE, 0u);
        EXPECT_EQ(line.channels, types[s] == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE ? 1u : 2u);
    }
    source(mixer, 0, 4, MIXERR_INVALLINE);
    source(mixer, 0, 5, MIXERR_INVALLINE);  // exists, but after the gap at 4
    source(mixer, 1, 1, MIXERR_INVALLINE);
    source(mixer, 2, 0, MIXERR_INVALLINE);
}

TEST_F(MixerTest, FindsLinesByIdAndByComponentType) {
    SimMixer mixer(registry, recorder());
    const MixerLine mic = source(mixer, 0, 1);

    MixerLine byId;
    byId.lineId = mic.lineId;
    ASSERT_EQ(mixer.GetLineInfo(0, &byId, MIXER_GETLINEINFOF_LINEID), MMSYSERR_NOERROR);
    EXPECT_EQ(byId.destination, 0u);
    EXPECT_EQ(byId.source, 1u);

    MixerLine byType;
    byType.componentType = MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
    ASSERT_EQ(mixer.GetLineInfo(0, &byType, MIXER_GETLINEINFOF_COMPONENTTYPE), MMSYSERR_NOERROR);
    EXPECT_EQ(byType.lineId, mic.lineId) << "the first microphone of the first destination";

    MixerLine none;
    none.componentType = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;
    EXPECT_EQ(mixer.GetLineInfo(0, &none, MIXER_GETLINEINFOF_COMPONENTTYPE), MIXERR_INVALLINE);
    MixerLine unknown;
    unknown.lineId = SimMixer::sourceLineId(0, 5);
    EXPECT_EQ(mixer.GetLineInfo(0, &unknown, MIXER_GETLINEINFOF_LINEID), MIXERR_INVALLINE);
}

TEST_F(MixerTest, TheBoostIsTheThirdControlOfTheMicrophoneLine) {
    SimMixer mixer(registry, recorder());
    const MixerLine mic = source(mixer, 0, 1);
    ASSERT_EQ(mic.controls, 3u);

    std::vector<MixerControl> controls(3);
    MixerLineControls request;
    request.lineId = mic.lineId;
    request.controls = 3;
    request.controlArray = controls.data();
    ASSERT_EQ(mixer.GetLineControls(0, &request, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_NOERROR);
    EXPECT_EQ(controls[0].controlType, MIXERCONTROL_CONTROLTYPE_VOLUME);
    EXPECT_EQ(controls[1].controlType, MIXERCONTROL_CONTROLTYPE_MUTE);
    EXPECT_EQ(controls[2].controlType, MIXERCONTROL_CONTROLTYPE_ONOFF);
    EXPECT_EQ(controls[2].control & MIXERCONTROL_CONTROLF_DISABLED, 0u);
    EXPECT_NE(controls[0].control & MIXERCONTROL_CONTROLF_DISABLED, 0u);
    EXPECT_EQ(controls[2].controlId, SimMixer::controlId(mic.lineId, 2));
    EXPECT_EQ(readValue(mixer, controls[2].controlId), 1u);
    EXPECT_EQ(readValue(mixer, controls[0].controlId), 0u);

    // The same control by id and by type.
    MixerControl one;
    MixerLineControls byId;
    byId.controlId = controls[2].controlId;
    byId.controls = 1;
    byId.controlArray = &one;
    ASSERT_EQ(mixer.GetLineControls(0, &byId, MIXER_GETLINECONTROLSF_ONEBYID), MMSYSERR_NOERROR);
    EXPECT_EQ(byId.lineId, mic.lineId);
    EXPECT_EQ(one.controlType, MIXERCONTROL_CONTROLTYPE_ONOFF);
    MixerLineControls byType;
    byType.lineId = mic.lineId;
    byType.controlType = MIXERCONTROL_CONTROLTYPE_ONOFF;
    byType.controls = 1;
    byType.controlArray = &one;
    ASSERT_EQ(mixer.GetLineControls(0, &byType, MIXER_GETLINECONTROLSF_ONEBYTYPE),
              MMSYSERR_NOERROR);
    EXPECT_EQ(one.controlId, controls[2].controlId);

    // Each line's controls have ids of their own.
    const MixerLine otherMic = source(mixer, 1, 0);
    EXPECT_NE(SimMixer::controlId(otherMic.lineId, 2), controls[2].controlId);
    EXPECT_EQ(readValue(mixer, SimMixer::controlId(otherMic.lineId, 2)), 0u);
}

TEST_F(MixerTest, AMicrophoneWithTwoControlsHasNoBoost) {
    SimMixer mixer(registry, recorder());
    const MixerLine mic = source(mixer, 0, 3);
    ASSERT_EQ(mic.controls, 2u);

    std::vector<MixerControl> controls(3);
    MixerLineControls request;
    request.lineId = mic.lineId;
    request.controlArray = controls.data();
    request.controls = 3;  // more than the line has
    EXPECT_EQ(mixer.GetLineControls(0, &request, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_INVALPARAM);
    request.controls = 2;
    EXPECT_EQ(mixer.GetLineControls(0, &request, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_NOERROR);

    // The line's stored Value belongs to no control.
    const std::uint32_t boost = SimMixer::controlId(mic.lineId, 2);
    EXPECT_EQ(readValue(mixer, boost), 0xCCCCCCCCu);
    EXPECT_EQ(writeValue(mixer, 0, MIXER_OBJECTF_MIXER, boost, 0), MIXERR_INVALCONTROL);
    EXPECT_EQ(dwordValue(platform::sim::simMixerSourceKey(0, 3), "Value"), 1u);

    // A destination without controls has no control list at all.
    MixerLine recording;
    recording.destination = 1;
    ASSERT_EQ(mixer.GetLineInfo(0, &recording, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_NOERROR);
    request.lineId = recording.lineId;
    request.controls = 0;
    EXPECT_EQ(mixer.GetLineControls(0, &request, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_INVALPARAM);
}

TEST_F(MixerTest, ValuesLiveInTheRegistry) {
    SimMixer mixer(registry, recorder());
    const std::uint32_t boost = SimMixer::controlId(SimMixer::sourceLineId(0, 1), 2);

    EXPECT_EQ(writeValue(mixer, 0, MIXER_OBJECTF_MIXER, boost, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(dwordValue(kMicKey, "Value"), 0u);

    // Another process switches the boost on: this one reads it at once.
    setDword(kMicKey, "Value", 1);
    EXPECT_EQ(readValue(mixer, boost), 1u);
    SimMixer other(registry, recorder());
    EXPECT_EQ(readValue(other, boost), 1u);

    // An absent Value reads as 0 and is created by a write.
    const std::uint32_t secondMic = SimMixer::controlId(SimMixer::sourceLineId(0, 2), 2);
    EXPECT_EQ(readValue(mixer, secondMic), 0u);
    EXPECT_EQ(writeValue(mixer, 0, MIXER_OBJECTF_MIXER, secondMic, 1), MMSYSERR_NOERROR);
    EXPECT_EQ(dwordValue(platform::sim::simMixerSourceKey(0, 2), "Value"), 1u);

    // The fixed controls refuse changes and leave Value alone.
    const std::uint32_t volume = SimMixer::controlId(SimMixer::sourceLineId(0, 1), 0);
    const std::uint32_t extra = SimMixer::controlId(SimMixer::sourceLineId(0, 2), 4);
    EXPECT_EQ(writeValue(mixer, 0, MIXER_OBJECTF_MIXER, volume, 0), MMSYSERR_NOTSUPPORTED);
    EXPECT_EQ(writeValue(mixer, 0, MIXER_OBJECTF_MIXER, extra, 0), MMSYSERR_NOTSUPPORTED);
    EXPECT_EQ(dwordValue(kMicKey, "Value"), 1u);
    EXPECT_EQ(dwordValue(platform::sim::simMixerSourceKey(0, 2), "Value"), 1u);
}

TEST_F(MixerTest, AChangeNotifiesEveryWindowThatOpenedTheMixer) {
    SimMixer mixer(registry, recorder());
    HMixer first = 0, second = 0, silent = 0;
    ASSERT_EQ(mixer.Open(&first, 0, kWindow, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    ASSERT_EQ(mixer.Open(&second, 0, kOtherWindow, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    ASSERT_EQ(mixer.Open(&silent, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    EXPECT_NE(first, second);

    const std::uint32_t boost = SimMixer::controlId(SimMixer::sourceLineId(0, 1), 2);
    ASSERT_EQ(writeValue(mixer, first, MIXER_OBJECTF_HMIXER, boost, 0), MMSYSERR_NOERROR);
    const std::vector<Notification> expected = {
        {kWindow, MM_MIXM_CONTROL_CHANGE, first, static_cast<std::intptr_t>(boost)},
        {kOtherWindow, MM_MIXM_CONTROL_CHANGE, second, static_cast<std::intptr_t>(boost)},
    };
    EXPECT_EQ(sent, expected);

    // A refused change sends nothing; a closed handle hears nothing more.
    sent.clear();
    const std::uint32_t volume = SimMixer::controlId(SimMixer::sourceLineId(0, 1), 0);
    EXPECT_EQ(writeValue(mixer, first, MIXER_OBJECTF_HMIXER, volume, 1), MMSYSERR_NOTSUPPORTED);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(mixer.Close(second), MMSYSERR_NOERROR);
    ASSERT_EQ(writeValue(mixer, 0, MIXER_OBJECTF_MIXER, boost, 1), MMSYSERR_NOERROR);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].window, kWindow);

    EXPECT_EQ(mixer.Close(first), MMSYSERR_NOERROR);
    EXPECT_EQ(mixer.Close(silent), MMSYSERR_NOERROR);
    EXPECT_EQ(mixer.openHandleCount(), 0u);
}

TEST_F(MixerTest, AWindowMayReopenTheMixerWhileBeingNotified) {
    // The properties sheet answers a change by reading the boost again, which opens the
    // mixer anew; the notification walk must survive that.
    SimMixer* self = nullptr;
    std::vector<HMixer> reopened;
    SimMixer mixer(registry, [&](std::uintptr_t, std::uint32_t, std::uintptr_t, std::intptr_t) {
        HMixer handle = 0;
        if (self->Open(&handle, 0, kOtherWindow, CALLBACK_WINDOW) == MMSYSERR_NOERROR) {
            reopened.push_back(handle);
        }
    });
    self = &mixer;
    HMixer handle = 0;
    ASSERT_EQ(mixer.Open(&handle, 0, kWindow, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    const std::uint32_t boost = SimMixer::controlId(SimMixer::sourceLineId(0, 1), 2);
    ASSERT_EQ(writeValue(mixer, handle, MIXER_OBJECTF_HMIXER, boost, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(reopened.size(), 1u);
}

TEST_F(MixerTest, RefusesBadRequestsAndLeavesTheirOutputsAlone) {
    SimMixer mixer(registry, recorder());
    const std::uint32_t boost = SimMixer::controlId(SimMixer::sourceLineId(0, 1), 2);
    const std::uint32_t wave = SimMixer::controlId(SimMixer::sourceLineId(0, 0), 2);

    struct Row {
        const char* what;
        std::uint32_t controlId, channels, multipleItems, detailSize;
        bool values;
        std::uint32_t expected;
    };
    const Row rows[] = {
        {"good", boost, 1, 0, 4, true, MMSYSERR_NOERROR},
        {"two channels of a mono line", boost, 2, 0, 4, true, MMSYSERR_INVALPARAM},
        {"two channels of a stereo line", wave, 2, 0, 4, true, MMSYSERR_NOERROR},
        {"no channels", boost, 0, 0, 4, true, MMSYSERR_INVALPARAM},
        {"multiple items", boost, 1, 2, 4, true, MMSYSERR_INVALPARAM},
        {"wrong detail size", boost, 1, 0, 8, true, MMSYSERR_INVALPARAM},
        {"no value array", boost, 1, 0, 4, false, MMSYSERR_INVALPARAM},
        {"unknown control", SimMixer::controlId(SimMixer::sourceLineId(0, 7), 2), 1, 0, 4, true,
         MIXERR_INVALCONTROL},
        {"control past the line's count", SimMixer::controlId(SimMixer::sourceLineId(0, 1), 3), 1,
         0, 4, true, MIXERR_INVALCONTROL},
    };
    for (const Row& row : rows) {
        std::uint32_t values[2] = {0xCCCCCCCC, 0xCCCCCCCC};
        MixerControlDetails details;
        details.controlId = row.controlId;
        details.channels = row.channels;
        details.multipleItems = row.multipleItems;
        details.detailSize = row.detailSize;
        details.values = row.values ? values : nullptr;
        EXPECT_EQ(mixer.GetControlDetails(0, &details, MIXER_GETCONTROLDETAILSF_VALUE),
                  row.expected)
            << row.what;
        if (row.expected != MMSYSERR_NOERROR) {
            EXPECT_EQ(values[0], 0xCCCCCCCCu) << row.what;
        }
    }

    std::uint32_t value = 0;
    MixerControlDetails details;
    details.controlId = boost;
    details.channels = 1;
    details.detailSize = 4;
    details.values = &value;
    EXPECT_EQ(mixer.GetControlDetails(0, &details, MIXER_GETCONTROLDETAILSF_LISTTEXT),
              MMSYSERR_NOTSUPPORTED);
    EXPECT_EQ(mixer.GetControlDetails(0, &details, 0x100), MMSYSERR_INVALFLAG);
    EXPECT_EQ(mixer.GetControlDetails(1, &details, MIXER_OBJECTF_MIXER), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixer.GetControlDetails(0x777, &details, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixer.SetControlDetails(0, &details, MIXER_SETCONTROLDETAILSF_CUSTOM),
              MMSYSERR_NOTSUPPORTED);
    EXPECT_EQ(mixer.GetLineInfo(0, nullptr, 0), MMSYSERR_INVALPARAM);

    HMixer handle = 0xCC;
    EXPECT_EQ(mixer.Open(&handle, 0, 0, CALLBACK_WINDOW), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixer.Open(&handle, 1, kWindow, CALLBACK_WINDOW), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixer.Open(&handle, 0, kWindow, 0x00030000 /* CALLBACK_FUNCTION */),
              MMSYSERR_INVALFLAG);
    EXPECT_EQ(handle, 0xCCu);
    EXPECT_EQ(mixer.Close(0x777), MMSYSERR_INVALHANDLE);
    EXPECT_TRUE(sent.empty());
}

TEST_F(MixerTest, HandlesOutliveTheirDeviceWithoutHarm) {
    SimMixer mixer(registry, recorder());
    HMixer handle = 0;
    ASSERT_EQ(mixer.Open(&handle, 0, kWindow, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    MixerCaps caps;
    EXPECT_EQ(mixer.GetDevCaps(handle, &caps), MMSYSERR_NOERROR);

    load("[-HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\Mixer]\n");
    MixerLine line;
    EXPECT_EQ(mixer.GetLineInfo(handle, &line, MIXER_OBJECTF_HMIXER), MMSYSERR_NODRIVER);
    EXPECT_EQ(mixer.GetDevCaps(handle, &caps), MMSYSERR_NODRIVER);
    EXPECT_EQ(mixer.GetNumDevs(), 0u);
    EXPECT_EQ(mixer.Close(handle), MMSYSERR_NOERROR);
}

}  // namespace
}  // namespace tunara_test
