// The driver INF patch and the device reinstallation that goes with it.
#include "settings/inf_patch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_handle.h"
#include "platform/host/host_files.h"
#include "platform/registry_key.h"
#include "settings/file_chunks.h"
#include "settings/tunara_settings.h"
#include "tests/unit/dosedit/dos_fixture.h"

namespace {

const char* const kTestInf = "C:\\TEST.INF";

class InfPatchTest : public tunara_test::DosFileTest {
  protected:
    // Patches C:\TEST.INF holding `content` once from `from`; the result, and where the file
    // pointer was left.
    bool patchOnce(settings::tunaraSettings& s, const std::string& content, const char* marker,
                   std::int32_t code, std::uint64_t* pointer, std::uint64_t from = 0) {
        writeFile(kTestInf, content);
        platform::ScopedFile file;
        EXPECT_EQ(
            machine().files().CreateFile(kTestInf, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, file.receive()),
            ERROR_SUCCESS);
        EXPECT_TRUE(settings::seekFile(machine().files(), file.get(), from));
        const bool result = s.patchInfByte(file.get(), marker, code);
        EXPECT_TRUE(settings::filePosition(machine().files(), file.get(), pointer));
        return result;
    }
    bool keyExists(const std::string& key) {
        platform::RegKey k;
        return k.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS;
    }
    bool hasRunValue(const char* name) {
        platform::RegKey run;
        return run.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                        KEY_QUERY_VALUE) == ERROR_SUCCESS &&
               run.hasValue(name);
    }
    // The wave device's class key: the Config key's parent.
    std::string waveClassKey() {
        const std::string config = fact("configkey");
        return config.substr(0, config.rfind('\\'));
    }
    // The byte after the first occurrence of each marker, in order.
    std::string bytesAfterMarkers(const std::string& inf) {
        std::string bytes;
        std::size_t from = 0;
        for (const char* marker :
             {"HwAcceleration,1,0", "remove the \";\"\r\n", "HKR,Config,SPDIF,1,0",
              "SoundLibSize,1,0", "Autoexec,1,01,00\r\n", "HKR,Config,MicMute,1,0"}) {
            const std::size_t at = inf.find(marker, from);
            if (at == std::string::npos) return bytes + "<missing>";
            from = at + std::string(marker).size();
            bytes += inf[from];
        }
        return bytes;
    }
};

TEST_F(InfPatchTest, ByteCodes) {
    settings::tunaraSettings s;
    const std::string inf = "[x]\r\nHKR,Config,HwAcceleration,1,0Z,00\r\n";
    const std::size_t after = inf.find("Z");
    const struct {
        std::int32_t code;
        bool result;
        char byte;
        std::uint64_t pointer;
    } cases[] = {
        {0, true, '0', after + 1},
        {1, true, '1', after + 1},
        {2, true, '2', after + 1},
        {3, true, '3', after + 1},
        {4, true, '4', after + 1},
        {5, true, ' ', after + 1},
        {6, true, ';', after + 1},
        {9, true, 'Z', after},  // find only: the pointer stays just past the marker
        // Not codes: nothing read, nothing written.
        {7, false, 'Z', 0},
        {8, false, 'Z', 0},
        {-1, false, 'Z', 0},
        {10, false, 'Z', 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        std::uint64_t pointer = 0;
        EXPECT_EQ(patchOnce(s, inf, "HwAcceleration,1,0", c.code, &pointer), c.result);
        std::string want = inf;
        want[after] = c.byte;
        EXPECT_EQ(readFile(kTestInf), want);
        EXPECT_EQ(pointer, c.pointer);
    }
}

TEST_F(InfPatchTest, MarkerMatching) {
    settings::tunaraSettings s;
    const struct {
        const char* what;
        std::string inf;
        std::uint64_t from;
        bool found;
        std::string patched;
    } cases[] = {
        {"any letter case", "hwacceleration,1,00", 0, true, "hwacceleration,1,01"},
        {"doubled first letter", "HHwAcceleration,1,00", 0, false, "HHwAcceleration,1,00"},
        {"wildcard in the file", "HwAcceler|tion,1,00", 0, true, "HwAcceler|tion,1,01"},
        {"marker at the very end", "HwAcceleration,1,0", 0, true, "HwAcceleration,1,01"},
        {"before the pointer", "HwAcceleration,1,00", 1, false, "HwAcceleration,1,00"},
        {"empty file", "", 0, false, ""},
        {"binary around it", std::string("\0\xff", 2) + "HwAcceleration,1,00\x1a", 0, true,
         std::string("\0\xff", 2) + "HwAcceleration,1,01\x1a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint64_t pointer = 0;
        EXPECT_EQ(patchOnce(s, c.inf, "HwAcceleration,1,0", 1, &pointer, c.from), c.found);
        EXPECT_EQ(readFile(kTestInf), c.patched);
        if (!c.found) {
            EXPECT_EQ(pointer, c.patched.size());  // at the end of the file
        }
    }
}

TEST_F(InfPatchTest, MarkerAcrossTheReadBuffersBoundary) {
    settings::tunaraSettings s;
    const std::string marker = "HKR,Config,MicMute,1,0";
    for (std::size_t at = settings::kFileChunkSize - marker.size() - 2;
         at <= settings::kFileChunkSize + 2; ++at) {
        const std::string inf = std::string(at, ';') + marker + "0\r\n" + std::string(100, 'x');
        std::uint64_t pointer = 0;
        ASSERT_TRUE(patchOnce(s, inf, marker.c_str(), 1, &pointer)) << "marker at " << at;
        std::string want = inf;
        want[at + marker.size()] = '1';
        EXPECT_TRUE(readFile(kTestInf) == want) << "marker at " << at;
        EXPECT_EQ(pointer, at + marker.size() + 1);
    }
}

// ---- The whole update ----------------------------------------------------------------------

TEST_F(InfPatchTest, UpdateWritesTheSettingsIntoTheDriverInf) {
    loadMachine("win98-maestro2e");
    const std::string infPath = fact("inf");
    const std::string original = readFile(infPath);
    ASSERT_EQ(bytesAfterMarkers(original), "1;04;0");  // as the description was built

    settings::tunaraSettings s;
    s.updateInfDefaults();  // nothing pending: nothing happens
    EXPECT_EQ(readFile(infPath), original);
    EXPECT_TRUE(keyExists(fact("wavekey")));

    s.infNeedsUpdate = true;
    s.hwAcceleration = false;
    s.enableSpdif = true;
    s.spdif = true;
    s.activeWavetableSize = 2;
    s.micBoost = true;
    s.micMute = true;
    s.updateInfDefaults();
    const std::string patched = readFile(infPath);
    EXPECT_EQ(bytesAfterMarkers(patched), "0 12 1");
    EXPECT_EQ(patched.size(), original.size());
    std::size_t differences = 0;
    for (std::size_t i = 0; i < original.size(); ++i) differences += original[i] != patched[i];
    EXPECT_EQ(differences, 6u);
    EXPECT_TRUE(s.infNeedsUpdate);  // stays set

    // Windows installs the device again at the next start.
    EXPECT_FALSE(keyExists(fact("wavekey")));
    EXPECT_FALSE(keyExists(waveClassKey()));
    EXPECT_TRUE(keyExists(fact("classkey")));
    EXPECT_TRUE(keyExists("Enum\\ZIZEZ\\WAVE"));
    EXPECT_TRUE(hasRunValue("Remove Native DOS Support"));  // DOSSTART.BAT has no driver
}

TEST_F(InfPatchTest, MissingMarkerSkipsTheRest) {
    loadMachine("win98-maestro1");
    const std::string infPath = fact("inf");
    std::string inf = readFile(infPath);
    const std::size_t spdif = inf.find("HKR,Config,SPDIF,1,0");
    ASSERT_NE(spdif, std::string::npos);
    inf[spdif + 4] = 'X';  // "HKR,XONFIG,..." no longer matches
    writeFile(infPath, inf);

    settings::tunaraSettings s;
    s.infNeedsUpdate = true;
    s.hwAcceleration = true;
    s.enableSpdif = true;
    s.activeWavetableSize = 4;
    s.micMute = true;
    s.updateInfDefaults();
    const std::string patched = readFile(infPath);
    const std::size_t hw = patched.find("HwAcceleration,1,0") + 18;
    const std::size_t enable = patched.find("remove the \";\"\r\n") + 16;
    EXPECT_EQ(patched[hw], '1');
    EXPECT_EQ(patched[enable], ' ');
    // Everything after the missing marker is as it was.
    EXPECT_TRUE(patched.substr(enable + 1) == inf.substr(enable + 1));
}

TEST_F(InfPatchTest, UnknownSizeLeavesItsDigitButPatchesTheRest) {
    loadMachine("win98-maestro2e");
    const std::string infPath = fact("inf");
    settings::tunaraSettings s;
    s.infNeedsUpdate = true;
    s.hwAcceleration = true;
    s.activeWavetableSize = 7;  // from a damaged "SoundLibSize"
    s.micMute = true;
    s.updateInfDefaults();
    // Was "1;04;0": the size digit stays 4, the others follow the settings.
    EXPECT_EQ(bytesAfterMarkers(readFile(infPath)), "1;04;1");
}

TEST_F(InfPatchTest, ReinstallNeedsTheCardsOwnKeys) {
    // Native DOS support installed: no removal is scheduled.
    loadMachine("win98-maestro1");
    {
        settings::tunaraSettings s;
        s.forceDeviceReinstall();
        EXPECT_FALSE(keyExists(fact("wavekey")));
        EXPECT_FALSE(keyExists(waveClassKey()));
        EXPECT_FALSE(hasRunValue("Remove Native DOS Support"));
    }

    // No driver value found: the class tree must not be touched.
    loadMachine("win98-maestro2e");
    {
        platform::RegKey wave;
        ASSERT_EQ(wave.Open(HKEY_LOCAL_MACHINE, fact("wavekey").c_str(), KEY_ALL_ACCESS),
                  ERROR_SUCCESS);
        ASSERT_EQ(wave.deleteValue("Driver"), ERROR_SUCCESS);
    }
    {
        settings::tunaraSettings s;
        ASSERT_FALSE(s.driverKeysFound);
        s.infNeedsUpdate = true;
        s.updateInfDefaults();
        EXPECT_TRUE(keyExists(fact("wavekey")));
        EXPECT_TRUE(keyExists(waveClassKey()));
        EXPECT_TRUE(keyExists("System\\CurrentControlSet\\Services\\Class\\MEDIA"));
        EXPECT_FALSE(hasRunValue("Remove Native DOS Support"));
    }

    // A driver value that names a whole class: nothing is deleted either.
    loadMachine("win98-maestro2e");
    {
        platform::RegKey wave;
        ASSERT_EQ(wave.Open(HKEY_LOCAL_MACHINE, fact("wavekey").c_str(), KEY_ALL_ACCESS),
                  ERROR_SUCCESS);
        ASSERT_EQ(wave.writeString("Driver", "MEDIA"), ERROR_SUCCESS);
    }
    settings::tunaraSettings s;
    ASSERT_TRUE(s.driverKeysFound);
    s.forceDeviceReinstall();
    EXPECT_TRUE(keyExists(fact("wavekey")));
    EXPECT_TRUE(keyExists("System\\CurrentControlSet\\Services\\Class\\MEDIA"));
    EXPECT_TRUE(keyExists(waveClassKey()));
}

}  // namespace
