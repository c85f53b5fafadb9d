#include "instsupport/overwrite_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/host/host_system.h"
#include "tests/unit/instsupport/instsupport_fixture.h"

namespace {

using tunara_test::fixtureBytes;
using tunara_test::writeMachineFile;

// The engine's version comparison as the test wants it answered.
int compareResult = 0;
std::string versionTextA;
std::string versionTextB;
int compareCalls = 0;

int fakeCompareFileVersions(const char*, const char*, char* versionA, char* versionB,
                            long* comparison) {
    ++compareCalls;
    std::strcpy(versionA, versionTextA.c_str());
    std::strcpy(versionB, versionTextB.c_str());
    *comparison = -1;
    return compareResult;
}

class OverwriteCheck : public tunara_test::MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        tunara_test::makeMachineFolders("C:\\WINDOWS\\SYSTEM");
        tunara_test::makeMachineFolders("C:\\NEW");
        writeMachineFile("C:\\WINDOWS\\SYSTEM\\helvane.dll", fixtureBytes("helvane.dll"));
        writeMachineFile("C:\\WINDOWS\\SYSTEM\\other.dll", fixtureBytes("othermaker.dll"));
        writeMachineFile("C:\\WINDOWS\\SYSTEM\\plain.dll", fixtureBytes("plain.dll"));
        writeMachineFile("C:\\NEW\\new.dll", fixtureBytes("othermaker.dll"));
        writeMachineFile("C:\\WINDOWS\\SYSTEM\\hvinf.dll", "engine");
        platform::host::ModuleImage engine;
        engine.exports["CompareFileVersions"] =
            reinterpret_cast<platform::ProcAddress>(&fakeCompareFileVersions);
        machine().system().registerModule("hvinf.dll", engine);
        compareResult = 0;
        versionTextA = "4.6.0.1";
        versionTextB = "5.0.0.7";
        compareCalls = 0;
    }
    void TearDown() override {
        // The check keeps the engine loaded for the script's next question.
        auto& system = machine().system();
        while (platform::HModule engine = system.GetModuleHandle("hvinf.dll"))
            system.FreeLibrary(engine);
        MachineTest::TearDown();
    }
    void ask(const char* list, const char* installed, const char* fresh) {
        std::memset(installedText, 0xCC, sizeof installedText);
        std::memset(newText, 0xCC, sizeof newText);
        EXPECT_EQ(instsupport::askOverWrite(list, installed, fresh, installedText, newText), 0);
    }
    char installedText[260];
    char newText[260];
};

TEST_F(OverwriteCheck, Outcomes) {
    ask(nullptr, "C:\\WINDOWS\\SYSTEM\\plain.dll", "C:\\NEW\\missing.dll");
    EXPECT_STREQ(installedText, "");
    EXPECT_STREQ(newText, "NO FILE FOUND");

    // No maker list: the company name is matched against "*Helvane*".
    ask("C:\\nolist.txt", "C:\\WINDOWS\\SYSTEM\\helvane.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "RECOGNISED MFG");
    EXPECT_STREQ(newText, "");
    EXPECT_EQ(compareCalls, 0);

    ask(nullptr, "C:\\WINDOWS\\SYSTEM\\gone.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "NO FILE FOUND");

    ask(nullptr, "C:\\WINDOWS\\SYSTEM\\plain.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "4.6.0.1");
    EXPECT_STREQ(newText, "5.0.0.7");

    versionTextA = "";
    ask(nullptr, "C:\\WINDOWS\\SYSTEM\\plain.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "NO VERSION INFO");
    EXPECT_STREQ(newText, "5.0.0.7");

    // The engine fell back to file times: its texts stay as it left them.
    compareResult = 1;
    ask(nullptr, "C:\\WINDOWS\\SYSTEM\\plain.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "");
    EXPECT_STREQ(newText, "5.0.0.7");
    EXPECT_EQ(machine().system().moduleReferenceCount("hvinf.dll"), 1u);
}

TEST_F(OverwriteCheck, MakerList) {
    writeMachineFile("C:\\comments.txt", "; the maker's own\r\n;*Ostrava*\r\n");
    ask("C:\\comments.txt", "C:\\WINDOWS\\SYSTEM\\helvane.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "RECOGNISED MFG");

    // A list with patterns replaces the default; "Company Name" is read when "CompanyName"
    // is missing; a 600-character line is one pattern that matches nothing.
    writeMachineFile("C:\\makers.txt", std::string(600, '*') + "\r\n\r\n*ostrava*\r\n;*Helvane*\n");
    ask("C:\\makers.txt", "C:\\WINDOWS\\SYSTEM\\other.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "RECOGNISED MFG");
    ask("C:\\makers.txt", "C:\\WINDOWS\\SYSTEM\\helvane.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "4.6.0.1");
    EXPECT_TRUE(instsupport::isMakersFile("C:\\makers.txt", "C:\\WINDOWS\\SYSTEM\\other.dll"));
    EXPECT_FALSE(instsupport::isMakersFile(nullptr, "C:\\WINDOWS\\SYSTEM\\plain.dll"));
}

TEST_F(OverwriteCheck, MissingEngineLeavesBothTextsEmpty) {
    machine().system().unregisterModule("hvinf.dll");
    ask(nullptr, "C:\\WINDOWS\\SYSTEM\\plain.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(installedText, "");
    EXPECT_STREQ(newText, "");
    // An engine without the export is not kept loaded.
    machine().system().registerModule("hvinf.dll", platform::host::ModuleImage());
    ask(nullptr, "C:\\WINDOWS\\SYSTEM\\plain.dll", "C:\\NEW\\new.dll");
    EXPECT_STREQ(newText, "");
    EXPECT_EQ(machine().system().moduleReferenceCount("hvinf.dll"), 0u);
}

}  // namespace
