// Extraction of one member from a cabinet: the member's bytes, time stamp and attributes, the
// exact name, and cabinets that are damaged in every way that can be.
#include <string>

#include "infengine/cabinet.h"
#include "platform/host/host_system.h"
#include "platform/machine.h"
#include "platform/system.h"
#include "tests/unit/infengine/cabinet_fixtures.h"
#include "tests/unit/infengine/infengine_fixture.h"

namespace infengine_test {
namespace {

constexpr char kCabinet[] = "C:\\CABS\\TEST.CAB";
constexpr char kTemp[] = "C:\\WINDOWS\\temp\\";

class CabinetTest : public InfEngineTest, public ::testing::WithParamInterface<const char*> {
protected:
    std::string cabinet() { return cabinetFixture(GetParam()); }
    bool extract(const std::string& bytes, const std::string& member) {
        writeFile(kCabinet, bytes);
        return infengine::extractCabinetMember(kCabinet, member, kTemp);
    }
};

TEST_P(CabinetTest, MemberKeepsItsStampAndTheKeptAttributes) {
    machine().system().setTimeZoneBias(-60);  // local time is UTC + 1 hour
    std::string bytes = cabinet();
    const std::uint16_t date = ((1998 - 1980) << 9) | (6 << 5) | 5;  // 5 June 1998
    const std::uint16_t time = (12 << 11) | (34 << 5) | (56 / 2);    // 12:34:56
    stampMember(&bytes, "Sample.DLL", date, time, 0x67);              // + 0x40 "execute"
    ASSERT_TRUE(extract(bytes, "Sample.DLL"));

    const std::string target = std::string(kTemp) + "Sample.DLL";
    EXPECT_EQ(readFile(target), cabinetFixture("members/Sample.DLL"));
    platform::SystemTime local;
    local.year = 1998;
    local.month = 6;
    local.day = 5;
    local.hour = 12;
    local.minute = 34;
    local.second = 56;
    platform::FileTime expected = 0;
    ASSERT_TRUE(platform::machine().system->SystemTimeToFileTime(&local, &expected));
    expected -= 3600ull * 10000000ull;  // 11:34:56 UTC
    platform::FindData found;
    platform::FindHandle search = 0;
    ASSERT_EQ(platform::machine().files->FindFirstFile(target.c_str(), &found, &search),
              ERROR_SUCCESS);
    platform::machine().files->FindClose(search);
    EXPECT_EQ(found.creationTime, expected);
    EXPECT_EQ(found.lastWriteTime, expected);
    EXPECT_EQ(found.attributes, 0x27u);
}

TEST_P(CabinetTest, OnlyTheExactNameIsExtracted) {
    const std::string bytes = cabinet();
    EXPECT_FALSE(extract(bytes, "sample.dll"));
    EXPECT_FALSE(extract(bytes, "Sample"));
    EXPECT_FALSE(extract(bytes, ""));
    EXPECT_FALSE(fileExists(std::string(kTemp) + "Sample.DLL"));
    EXPECT_FALSE(fileExists(std::string(kTemp) + "sample.dll"));
    ASSERT_TRUE(extract(bytes, "readme.txt"));
    EXPECT_EQ(readFile(std::string(kTemp) + "readme.txt"), cabinetFixture("members/readme.txt"));
}

// A longer file of the same name goes: the member never keeps an older file's tail.
TEST_P(CabinetTest, ReplacesAnOlderFileWhole) {
    writeFile(std::string(kTemp) + "other.sys", std::string(100000, 'x'));
    ASSERT_TRUE(extract(cabinet(), "other.sys"));
    EXPECT_EQ(readFile(std::string(kTemp) + "other.sys"), cabinetFixture("members/other.sys"));
}

TEST_P(CabinetTest, DamagedCabinetsFailCleanly) {
    const std::string good = cabinet();
    const std::size_t sample = fileRecordOf(good, "Sample.DLL");
    ASSERT_NE(sample, std::string::npos);
    const std::size_t firstData = get32(good, 36);  // coffCabStart of the first folder
    struct Damage {
        const char* what;
        std::string bytes;
    };
    std::vector<Damage> damages = {
        {"not a cabinet", "[Version]\r\nSignature=\"$Chicago$\"\r\n"},
        {"empty file", ""},
        {"cut inside the header", good.substr(0, 30)},
        {"cut inside the file records", good.substr(0, sample + 20)},
        {"cut inside the data", good.substr(0, good.size() / 2)},
        {"last byte missing", good.substr(0, good.size() - 1)},
    };
    std::string lie = good;
    put32(&lie, sample, 0x7FFFFFFF);
    damages.push_back({"member larger than its folder", lie});
    lie = good;
    put16(&lie, firstData + 4, 0xFFFF);
    damages.push_back({"data block larger than it is", lie});
    lie = good;
    put16(&lie, firstData + 6, 0xFFFF);
    damages.push_back({"data block unpacks larger than a block", lie});
    lie = good;
    put32(&lie, 36, static_cast<std::uint32_t>(good.size() + 1000));
    damages.push_back({"data beyond the end of the file", lie});
    lie = good;
    for (std::size_t i = firstData + 8 + 40; i < firstData + 8 + 400 && i < lie.size(); ++i) {
        lie[i] = static_cast<char>(lie[i] ^ 0x5A);
    }
    damages.push_back({"scrambled data", lie});

    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        const bool extracted = extract(damage.bytes, "Sample.DLL");
        // A stored cabinet cannot tell scrambled bytes from data; every other damage fails.
        if (std::string(damage.what) == "scrambled data" && std::string(GetParam()) == "stored.cab") {
            EXPECT_TRUE(extracted);
            continue;
        }
        EXPECT_FALSE(extracted);
        EXPECT_FALSE(fileExists(std::string(kTemp) + "Sample.DLL"));
    }
    EXPECT_FALSE(infengine::extractCabinetMember("C:\\CABS\\NONE.CAB", "Sample.DLL", kTemp));
}

INSTANTIATE_TEST_SUITE_P(Cabinets, CabinetTest, ::testing::Values("mszip.cab", "stored.cab"),
                         [](const auto& info) {
                             return std::string(info.param).substr(0, std::string(info.param).find('.'));
                         });

}  // namespace
}  // namespace infengine_test
