#include <cstdint>
#include <vector>

#include "platform/sim/sim_mci.h"
#include "tests/unit/hardware/hardware_fixture.h"

namespace tunara_test {
namespace {

using platform::MciDeviceId;
using platform::sim::kSimSequencerKey;
using platform::sim::SimMci;

constexpr std::uintptr_t kWindow = 0x1234;
constexpr const char* kSong = "C:\\WINDOWS\\SYSTEM\\blank.mid";
constexpr std::uint32_t kOpenFlags = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT;

TEST_F(HardwareTest, AFreeSequencerOpensReportsAndPlays) {
    // No Sequencer key at all: nobody holds the port.
    SimMci mci(registry, recorder());
    MciDeviceId device = 0;
    ASSERT_EQ(mci.Open("sequencer", kSong, kOpenFlags, &device), 0u);
    EXPECT_NE(device, 0u);
    std::uintptr_t port = 0xCC;
    EXPECT_EQ(mci.Status(device, MCI_STATUS_ITEM, MCI_SEQ_STATUS_PORT, &port), 0u);
    EXPECT_EQ(port, 0u);
    EXPECT_EQ(mci.Play(device, MCI_NOTIFY, kWindow), 0u);
    EXPECT_EQ(mci.Close(device, 0), 0u);
    const std::vector<Notification> expected = {
        {kWindow, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<std::intptr_t>(device)}};
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(mci.openDeviceCount(), 0u);
}

TEST_F(HardwareTest, ABusySequencerCannotBeOpened) {
    setDword(kSimSequencerKey, "Busy", 1);
    SimMci mci(registry, recorder());
    MciDeviceId device = 0xCC;
    EXPECT_EQ(mci.Open("sequencer", kSong, kOpenFlags, &device), MCIERR_SEQ_PORT_INUSE);
    EXPECT_EQ(device, 0xCCu);

    setDword(kSimSequencerKey, "Busy", 0);
    ASSERT_EQ(mci.Open("Sequencer", kSong, kOpenFlags, &device), 0u);
    // Another program takes the port between the open and the play.
    setDword(kSimSequencerKey, "Busy", 1);
    EXPECT_EQ(mci.Play(device, MCI_NOTIFY, kWindow), MCIERR_SEQ_PORT_INUSE);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(mci.Close(device, 0), 0u);
}

TEST_F(HardwareTest, MciRefusesWhatTheSequencerDoesNotKnow) {
    SimMci mci(registry, recorder());
    MciDeviceId device = 0xCC;
    EXPECT_EQ(mci.Open("waveaudio", kSong, kOpenFlags, &device), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(mci.Open("sequencer", kSong, MCI_OPEN_ELEMENT, &device), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(mci.Open("sequencer", nullptr, kOpenFlags, &device), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(mci.Open(nullptr, kSong, kOpenFlags, &device), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(device, 0xCCu);

    ASSERT_EQ(mci.Open("sequencer", nullptr, MCI_OPEN_TYPE, &device), 0u);
    std::uintptr_t value = 0;
    EXPECT_EQ(mci.Status(device, MCI_STATUS_ITEM, 0x4001, &value), MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(mci.Status(device, 0, MCI_SEQ_STATUS_PORT, &value), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(mci.Play(device, 0, 0), 0u);
    EXPECT_TRUE(sent.empty()) << "no notification was asked for";
    EXPECT_EQ(mci.Close(device, 0), 0u);
    EXPECT_EQ(mci.Close(device, 0), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(mci.Status(device, MCI_STATUS_ITEM, MCI_SEQ_STATUS_PORT, &value),
              MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(mci.Play(device, MCI_NOTIFY, kWindow), MCIERR_INVALID_DEVICE_ID);
}

}  // namespace
}  // namespace tunara_test
