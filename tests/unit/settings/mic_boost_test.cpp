// The microphone boost: found by position in the mixer, kept open for change notifications.
#include <gtest/gtest.h>

#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_mixer.h"
#include "settings/tunara_settings.h"
#include "tests/unit/settings/settings_fixture.h"

namespace tunara_test {
namespace {

constexpr std::uint32_t kMic = MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
constexpr std::uint32_t kWave = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
constexpr std::uint32_t kLine = MIXERLINE_COMPONENTTYPE_SRC_LINE;

class MicBoostTest : public SettingsTest {
  protected:
    // The card's machine with a mixer built by the test.
    void SetUp() override {
        SettingsTest::SetUp();
        loadMachine("win98-maestro2e");
        deleteKey(platform::sim::kSimMixerKey);
        window_ = machine().ui().addWindow("#32770", "Tunara Properties");
    }

    std::size_t controlChanges(platform::HWnd window) {
        std::size_t count = 0;
        for (const auto& m : machine().ui().messages())
            count += m.window == window && m.message == MM_MIXM_CONTROL_CHANGE;
        return count;
    }

    platform::HWnd window_ = 0;
};

TEST_F(MicBoostTest, TheFirstMicrophoneOfDestinationZeroIsUsed) {
    setMixerSource(0, 0, kWave, 3, 1);
    setMixerSource(0, 1, kMic, 3, 0);
    setMixerSource(0, 2, kMic, 3, 1);
    settings::tunaraSettings s;
    EXPECT_FALSE(s.setOwnerWindow(window_));
    s.setMicBoost(true);
    EXPECT_TRUE(s.micBoost);
    EXPECT_EQ(mixerSourceValue(0, 1), 1u);
    EXPECT_EQ(mixerSourceValue(0, 2), 1u);
    s.setMicBoost(false);
    EXPECT_EQ(mixerSourceValue(0, 1), 0u);
    EXPECT_EQ(mixerSourceValue(0, 2), 1u);  // the second microphone is never touched
    EXPECT_FALSE(s.readMicBoost());
}

TEST_F(MicBoostTest, MicrophonesElsewhereAreNotTheBoost) {
    struct Row {
        const char* what;
        std::uint32_t destination, source, type, controls;
    };
    // clang-format off
    const Row rows[] = {
        {"microphone of destination 1 only", 1, 0, kMic,  3},
        {"two controls",                     0, 1, kMic,  2},
        {"no microphone",                    0, 1, kLine, 3},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        deleteKey(platform::sim::kSimMixerKey);
        setMixerSource(0, 0, kWave, 3, 0);
        if (row.destination == 1) setMixerSource(0, 1, kLine, 3, 1);
        setMixerSource(row.destination, row.source, row.type, row.controls, 1);
        machine().system().clearDebugOutput();

        settings::tunaraSettings s;
        EXPECT_FALSE(s.setOwnerWindow(window_));
        EXPECT_FALSE(s.readMicBoost());
        s.setMicBoost(false);
        EXPECT_FALSE(s.micBoost);  // the field follows the request ...
        EXPECT_EQ(mixerSourceValue(row.destination, row.source), 1u);  // ... the mixer does not
        EXPECT_TRUE(debugSaid(row.controls < 3
                                  ? "Error getting handle to the microphone control structure\n"
                                  : "Error opening Mic mixer line"));
    }
}

TEST_F(MicBoostTest, OneHandleNotifiesTheCurrentOwner) {
    setMixerSource(0, 0, kMic, 3, 0);
    {
        settings::tunaraSettings s;
        EXPECT_EQ(machine().mixer().openHandleCount(), 0u);  // not before it is needed
        s.setOwnerWindow(window_);
        s.setMicBoost(true);
        s.readMicBoost();
        s.setMicBoost(false);
        EXPECT_EQ(machine().mixer().openHandleCount(), 1u);
        EXPECT_EQ(controlChanges(window_), 2u);

        // A new owner gets the handle's notifications; the old one gets no more.
        const platform::HWnd tray = machine().ui().addWindow("Tunara Taskbar", "");
        s.setOwnerWindow(tray);
        s.setMicBoost(true);
        EXPECT_EQ(machine().mixer().openHandleCount(), 1u);
        EXPECT_EQ(controlChanges(tray), 1u);
        EXPECT_EQ(controlChanges(window_), 2u);
        EXPECT_TRUE(s.readMicBoost());
    }
    EXPECT_EQ(machine().mixer().openHandleCount(), 0u);
}

TEST_F(MicBoostTest, TheCardsMixerAsDescribed) {
    loadMachine(
        "win98-maestro1");  // boost on, microphone the fifth source; one on destination 1 too
    settings::tunaraSettings s;
    EXPECT_TRUE(s.setOwnerWindow(machine().ui().addWindow("#32770", "Tunara Properties")));
    s.setMicBoost(false);
    EXPECT_EQ(mixerSourceValue(0, 4), 0u);
    EXPECT_FALSE(s.readMicBoost());
    EXPECT_TRUE(debugSaid("mixerOpen call successful\n"));
}

}  // namespace
}  // namespace tunara_test
