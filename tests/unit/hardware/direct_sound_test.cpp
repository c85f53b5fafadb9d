#include <cstdint>

#include "platform/sim/sim_direct_sound.h"
#include "tests/unit/hardware/hardware_fixture.h"

namespace tunara_test {
namespace {

using platform::HDirectSound;
using platform::sim::kSimDirectSoundKey;
using platform::sim::SimDirectSound;

constexpr std::uintptr_t kWindow = 0x1234;

TEST_F(HardwareTest, DirectSoundIsCreatedOnlyWhenPresent) {
    struct Row {
        const char* setup;
        platform::HResult expected;
    };
    const Row rows[] = {
        {"", DSERR_NODRIVER},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\DirectSound]\n", DSERR_NODRIVER},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\DirectSound]\n\"Present\"=dword:0\n",
         DSERR_NODRIVER},
        {"[HKEY_LOCAL_MACHINE\\Software\\SimulatedHardware\\DirectSound]\n\"Present\"=dword:1\n",
         DS_OK},
    };
    for (const Row& row : rows) {
        platform::host::HostRegistry fresh;
        std::string error;
        ASSERT_TRUE(fresh.importRegedit4(std::string("REGEDIT4\n\n") + row.setup, &error)) << error;
        SimDirectSound sound(fresh);
        HDirectSound object = 0xCC;
        EXPECT_EQ(sound.Create(&object), row.expected) << row.setup;
        if (row.expected == DS_OK) {
            EXPECT_NE(object, 0u);
            EXPECT_EQ(sound.Release(object), 0u);
        } else {
            EXPECT_EQ(object, 0xCCu);
        }
        EXPECT_EQ(sound.liveObjectCount(), 0u);
    }
}

class DirectSoundTest : public HardwareTest {
protected:
    void SetUp() override { setDword(kSimDirectSoundKey, "Present", 1); }
};

TEST_F(DirectSoundTest, SpeakerConfigurationIsSharedThroughTheRegistry) {
    SimDirectSound sound(registry);
    HDirectSound object = 0;
    ASSERT_EQ(sound.Create(&object), DS_OK);
    EXPECT_EQ(sound.SetCooperativeLevel(object, kWindow, DSSCL_NORMAL), DS_OK);

    std::uint32_t config = 0;
    ASSERT_EQ(sound.GetSpeakerConfig(object, &config), DS_OK);
    EXPECT_EQ(config, DSSPEAKER_STEREO) << "an unset configuration reads as stereo";

    ASSERT_EQ(sound.SetSpeakerConfig(object, DSSPEAKER_HEADPHONE), DS_OK);
    EXPECT_EQ(dwordValue(kSimDirectSoundKey, "SpeakerConfig"), DSSPEAKER_HEADPHONE);
    ASSERT_EQ(sound.GetSpeakerConfig(object, &config), DS_OK);
    EXPECT_EQ(config, DSSPEAKER_HEADPHONE);
    EXPECT_EQ(sound.Release(object), 0u);

    // The other process, with an object of its own, reads what this one set.
    SimDirectSound other(registry);
    HDirectSound otherObject = 0;
    ASSERT_EQ(other.Create(&otherObject), DS_OK);
    ASSERT_EQ(other.GetSpeakerConfig(otherObject, &config), DS_OK);
    EXPECT_EQ(config, DSSPEAKER_HEADPHONE);
    const std::uint32_t wideStereo = DSSPEAKER_STEREO | DSSPEAKER_GEOMETRY_WIDE << 16;
    ASSERT_EQ(other.SetSpeakerConfig(otherObject, wideStereo), DS_OK);
    ASSERT_EQ(other.GetSpeakerConfig(otherObject, &config), DS_OK);
    EXPECT_EQ(config, wideStereo);
    EXPECT_EQ(other.Release(otherObject), 0u);
}

TEST_F(DirectSoundTest, RefusesUnknownConfigurationsAndKeepsTheStoredOne) {
    setDword(kSimDirectSoundKey, "SpeakerConfig", DSSPEAKER_QUAD);
    SimDirectSound sound(registry);
    HDirectSound object = 0;
    ASSERT_EQ(sound.Create(&object), DS_OK);
    const std::uint32_t refused[] = {
        DSSPEAKER_DIRECTOUT,
        DSSPEAKER_5POINT1,
        0xFF,
        DSSPEAKER_STEREO | 4u << 16,                          // narrower than the minimum
        DSSPEAKER_STEREO | 181u << 16,                        // wider than the maximum
        DSSPEAKER_HEADPHONE | DSSPEAKER_GEOMETRY_WIDE << 16,  // geometry is for stereo only
        DSSPEAKER_STEREO | 0x100,
        DSSPEAKER_STEREO | 0x01000000,
    };
    for (const std::uint32_t config : refused) {
        EXPECT_EQ(sound.SetSpeakerConfig(object, config), DSERR_INVALIDPARAM) << std::hex << config;
    }
    EXPECT_EQ(dwordValue(kSimDirectSoundKey, "SpeakerConfig"), DSSPEAKER_QUAD);
    EXPECT_EQ(sound.SetCooperativeLevel(object, 0, DSSCL_NORMAL), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound.SetCooperativeLevel(object, kWindow, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound.GetSpeakerConfig(object, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound.Release(object), 0u);
}

TEST_F(DirectSoundTest, AReleasedObjectIsRefusedNotUsed) {
    SimDirectSound sound(registry);
    HDirectSound object = 0;
    ASSERT_EQ(sound.Create(&object), DS_OK);
    EXPECT_EQ(sound.Release(object), 0u);
    std::uint32_t config = 0xCC;
    EXPECT_EQ(sound.GetSpeakerConfig(object, &config), DSERR_INVALIDPARAM);
    EXPECT_EQ(config, 0xCCu);
    EXPECT_EQ(sound.SetSpeakerConfig(object, DSSPEAKER_HEADPHONE), DSERR_INVALIDPARAM);
    EXPECT_EQ(dwordValue(kSimDirectSoundKey, "SpeakerConfig"), 0xDEADBEEFu) << "nothing written";
    EXPECT_EQ(sound.Release(object), 0u);
    EXPECT_EQ(sound.liveObjectCount(), 0u);
}

}  // namespace
}  // namespace tunara_test
