#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "instsupport/uninstall.h"
#include "platform/host/host_files.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/registry_key.h"
#include "tests/unit/instsupport/instsupport_fixture.h"

namespace {

using platform::host::UiAnswer;
using tunara_test::machineFileExists;
using tunara_test::readMachineFile;
using tunara_test::writeMachineFile;

// What the simulated hvinf.dll hands back, walk by walk.
struct FakeEngine {
    std::vector<std::string> opened;
    int openResult = 0;
    int closeCalls = 0;
    std::vector<std::pair<std::string, std::string>> driverKeys;  // root, sub key
    std::vector<std::string> delFiles;
    struct Reg {
        std::string root, subKey, value;
    };
    std::vector<Reg> delReg;
    std::vector<std::pair<std::string, std::string>> cfgSys;   // kind, device
    std::vector<std::pair<std::string, std::string>> autoBat;  // kind, command
    std::vector<std::pair<std::string, std::string>> inis;     // path, old entry
    std::vector<std::pair<std::string, std::string>> fields;   // path, old field
    std::vector<std::string> aceKeys;
    std::size_t cursor = 0;
};
FakeEngine engine;

// The enumeration convention: a section name starts over, null continues.
bool nextEntry(const char* section, std::size_t count) {
    if (section) engine.cursor = 0;
    if (engine.cursor >= count) return false;
    ++engine.cursor;
    return true;
}
const std::size_t& at() {
    static std::size_t index;
    index = engine.cursor - 1;
    return index;
}

int fakeOpenInfFile(const char* path) {
    engine.opened.push_back(path);
    return engine.openResult;
}
int fakeCloseInfFile() {
    ++engine.closeCalls;
    return 0;
}
int fakeEnumDelDriverReg(unsigned short index, char* root, char* subKey) {
    if (index >= engine.driverKeys.size()) return 1;
    std::strcpy(root, engine.driverKeys[index].first.c_str());
    std::strcpy(subKey, engine.driverKeys[index].second.c_str());
    return 0;
}
int fakeEnumDelFiles(const char* section, char* path) {
    if (!nextEntry(section, engine.delFiles.size())) return 1;
    std::strcpy(path, engine.delFiles[at()].c_str());
    return 0;
}
int fakeEnumDelReg(const char* section, char* root, char* subKey, char* value, char* data,
                   int* flags) {
    if (!nextEntry(section, engine.delReg.size())) return 1;
    std::strcpy(root, engine.delReg[at()].root.c_str());
    std::strcpy(subKey, engine.delReg[at()].subKey.c_str());
    std::strcpy(value, engine.delReg[at()].value.c_str());
    data[0] = '\0';
    *flags = 0;
    return 0;
}
int fakeEnumUpdateCfgSys(const char* section, char* kind, char* v1, char* v2, char* v3, char* v4) {
    if (!nextEntry(section, engine.cfgSys.size())) return 1;
    std::strcpy(kind, engine.cfgSys[at()].first.c_str());
    std::strcpy(v1, engine.cfgSys[at()].second.c_str());
    v2[0] = v3[0] = v4[0] = '\0';
    return 0;
}
int fakeEnumUpdateAutoBat(const char* section, char* kind, char* text) {
    if (!nextEntry(section, engine.autoBat.size())) return 1;
    std::strcpy(kind, engine.autoBat[at()].first.c_str());
    std::strcpy(text, engine.autoBat[at()].second.c_str());
    return 0;
}
int fakeEnumUpdateInis(const char* section, char* file, char* iniSection, char* oldEntry,
                       char* newEntry, int* flags) {
    if (!nextEntry(section, engine.inis.size())) return 1;
    std::strcpy(file, engine.inis[at()].first.c_str());
    std::strcpy(iniSection, "boot");
    std::strcpy(oldEntry, engine.inis[at()].second.c_str());
    newEntry[0] = '\0';
    *flags = 0;
    return 0;
}
int fakeEnumUpdateIniFields(const char* section, char* file, char* iniSection, char* entry,
                            char* oldField, char* newField, int* flags) {
    if (!nextEntry(section, engine.fields.size())) return 1;
    std::strcpy(file, engine.fields[at()].first.c_str());
    std::strcpy(iniSection, "boot");
    std::strcpy(entry, "drivers");
    std::strcpy(oldField, engine.fields[at()].second.c_str());
    newField[0] = '\0';
    *flags = 0;
    return 0;
}
unsigned long fakeAddAdministratorAceToAcl(const char* key) {
    engine.aceKeys.push_back(key);
    return 0;
}

template <typename F>
platform::ProcAddress proc(F function) {
    return reinterpret_cast<platform::ProcAddress>(function);
}

constexpr char kProduct[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tunara";
constexpr char kTemp[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HVTemp";
constexpr char kDriverKey[] = "System\\CurrentControlSet\\Services\\Class\\MEDIA\\0001";

class UninstallFlow : public tunara_test::MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        engine = FakeEngine();
        tunara_test::makeMachineFolders("C:\\WINDOWS\\SYSTEM");
        tunara_test::makeMachineFolders("C:\\Program Files\\Tunara");
        tunara_test::makeMachineFolders("C:\\Tunara\\lib");
        writeMachineFile("C:\\Program Files\\Tunara\\tunara.inf", "[Version]\r\n");
        writeMachineFile("C:\\Program Files\\Tunara\\untunara.inf", "[DefaultInstall]\r\n");
        writeMachineFile("C:\\Program Files\\Tunara\\unprog.exe", "MZ");
        writeMachineFile("C:\\Tunara\\lib\\hvinf.dll", "engine");
        writeMachineFile("C:\\Tunara\\lib\\hvinfnt.dll", "helper");
        machine().system().setCommandLine(
            "uninst.exe -f\"C:\\Program Files\\Tunara\\uninst.log\" "
            "-c\"C:\\Tunara\\lib\\hvgenins.dll\"");
        product().writeString("InfFile", "C:\\Program Files\\Tunara\\tunara.inf").ok();
        product().writeString("UninstInfFile", "C:\\Program Files\\Tunara\\untunara.inf").ok();
        product().writeString("UninstAppPath", "C:\\Program Files\\Tunara\\unprog.exe").ok();
        product().writeString("UninstAppArgs", "  /s   /x ").ok();

        platform::host::ModuleImage image;
        image.exports["OpenInfFile"] = proc(&fakeOpenInfFile);
        image.exports["CloseInfFile"] = proc(&fakeCloseInfFile);
        image.exports["EnumDelDriverReg"] = proc(&fakeEnumDelDriverReg);
        image.exports["EnumDelFiles"] = proc(&fakeEnumDelFiles);
        image.exports["EnumDelReg"] = proc(&fakeEnumDelReg);
        image.exports["EnumUpdateCfgSys"] = proc(&fakeEnumUpdateCfgSys);
        image.exports["EnumUpdateAutoBat"] = proc(&fakeEnumUpdateAutoBat);
        image.exports["EnumUpdateInis"] = proc(&fakeEnumUpdateInis);
        image.exports["EnumUpdateIniFields"] = proc(&fakeEnumUpdateIniFields);
        machine().system().registerModule("hvinf.dll", image);
        platform::host::ModuleImage helper;
        helper.exports["AddAdministratorAceToAcl"] = proc(&fakeAddAdministratorAceToAcl);
        machine().system().registerModule("hvinfnt.dll", helper);
    }

    struct Writer {
        platform::RegKey key;
        struct Result {
            std::uint32_t code;
            void ok() const { EXPECT_EQ(code, ERROR_SUCCESS); }
        };
        Result writeString(const char* name, const std::string& value) {
            return {key.writeString(name, value)};
        }
    };
    Writer product() {
        Writer writer;
        EXPECT_EQ(writer.key.Create(HKEY_LOCAL_MACHINE, kProduct, KEY_ALL_ACCESS), ERROR_SUCCESS);
        return writer;
    }
    bool keyExists(platform::HKey root, const char* path) {
        platform::RegKey key;
        return key.Open(root, path, KEY_READ) == ERROR_SUCCESS;
    }
};

TEST_F(UninstallFlow, InitializeSavesRunsAndRemovesDriverKeys) {
    platform::RegKey driver;
    ASSERT_EQ(driver.Create(HKEY_LOCAL_MACHINE, kDriverKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    driver.Close();
    engine.driverKeys = {{"hklm", kDriverKey}, {"HKXX", "Software\\Kept"}};

    EXPECT_EQ(instsupport::uninstInitialize(0x1234), 0);

    platform::RegKey temp;
    ASSERT_EQ(temp.Open(HKEY_LOCAL_MACHINE, kTemp, KEY_READ), ERROR_SUCCESS);
    std::string text;
    ASSERT_EQ(temp.readString("InfFile", &text), ERROR_SUCCESS);
    EXPECT_EQ(text, "C:\\WINDOWS\\tunara.inf");
    // Stored with its own length, the zero included.
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(
        platform::machine().registry->QueryValueEx(temp.handle(), "InfFile", &type, nullptr, &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, sizeof "C:\\WINDOWS\\tunara.inf");
    ASSERT_EQ(temp.readString("UninstAppArgs", &text), ERROR_SUCCESS);
    EXPECT_EQ(text, "  /s   /x ");
    EXPECT_TRUE(machineFileExists("C:\\WINDOWS\\tunara.inf"));
    EXPECT_TRUE(machineFileExists("C:\\WINDOWS\\untunara.inf"));
    EXPECT_TRUE(machineFileExists("C:\\WINDOWS\\hvinf.dll"));
    EXPECT_TRUE(machineFileExists("C:\\WINDOWS\\hvinfnt.dll"));

    const auto& starts = machine().system().processStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].applicationName, "C:\\Program Files\\Tunara\\unprog.exe");
    EXPECT_EQ(starts[0].commandLine, "\"C:\\Program Files\\Tunara\\unprog.exe\" /s /x");
    EXPECT_EQ(machine().system().openProcessHandleCount(), 0u);

    EXPECT_EQ(engine.opened, std::vector<std::string>{"C:\\WINDOWS\\tunara.inf"});
    EXPECT_EQ(engine.closeCalls, 1);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kDriverKey));
    EXPECT_TRUE(machine().ui().shown().empty());
}

TEST_F(UninstallFlow, MinimumSkipsDriverRemovalOnly) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, kProduct, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.writeDword("MINIMUM", 0), ERROR_SUCCESS);
    key.Close();
    instsupport::uninstInitialize(0);
    EXPECT_TRUE(engine.opened.empty());
    EXPECT_EQ(machine().system().processStarts().size(), 1u);
    instsupport::uninstUnInitialize(0);
    EXPECT_EQ(engine.opened, std::vector<std::string>{"C:\\WINDOWS\\untunara.inf"});
}

TEST_F(UninstallFlow, MissingProgramAndEngineAreReported) {
    product().writeString("UninstAppPath", "C:\\Tunara\\gone.exe").ok();
    product().writeString("AppErrorMsg", "only %s").ok();     // one "%s": not usable
    product().writeString("ErrorMsg", "Treiber %s %d").ok();  // a "%d": not usable
    machine().files().DeleteFile("C:\\Tunara\\lib\\hvinf.dll");
    machine().ui().expect(UiAnswer::messageBox(IDOK)
                              .withText("Error HV9\nC:\\Tunara\\gone.exe   /s   /x ")
                              .withCaption("Error"));
    machine().ui().expect(
        UiAnswer::messageBox(IDOK).withText("Error HV1 - 1157").withCaption("Error"));
    instsupport::uninstInitialize(0x77);
    const auto& shown = machine().ui().shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Error HV9\nC:\\Tunara\\gone.exe   /s   /x ");
    EXPECT_EQ(shown[0].owner, 0x77u);
    EXPECT_EQ(shown[0].type, MB_OK);
    EXPECT_EQ(shown[1].text, "Error HV1 - 1157");
    EXPECT_TRUE(machine().system().processStarts().empty());
}

TEST_F(UninstallFlow, StoredFormatsAndCaption) {
    product().writeString("ErrorTitle", "Tunara").ok();
    product().writeString("ErrorMsg", "Treiber: %s").ok();
    machine().system().registerModule("hvinf.dll", platform::host::ModuleImage());
    machine().ui().expect(
        UiAnswer::messageBox(IDOK).withText("Treiber: HV2").withCaption("Tunara"));
    instsupport::uninstInitialize(0);
    ASSERT_EQ(machine().ui().shown().size(), 1u);
    EXPECT_EQ(machine().ui().shown()[0].text, "Treiber: HV2");
}

TEST_F(UninstallFlow, UnInitializeUndoesTheInfAndCleansUp) {
    writeMachineFile("C:\\WINDOWS\\SYSTEM\\tnr.drv", "driver");
    writeMachineFile("C:\\config.sys",
                     "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nDEVICE=C:\\TUNARA\\TNRDOS.SYS\r\nFILES=40");
    writeMachineFile("C:\\autoexec.bat",
                     "@ECHO OFF\r\nC:\\TUNARA\\TNRINIT.EXE /q\r\nPATH=C:\\\r\n");
    writeMachineFile("C:\\WINDOWS\\SYSTEM.INI",
                     "[boot]\r\nwave=tnr.drv\r\ndrivers=mmsystem.dll,tnr.drv,midimap.drv\r\n");
    platform::RegKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Tunara", KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("Kept", "1"), ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("Gone", "1"), ERROR_SUCCESS);
    key.Close();
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "Software\\Cantora\\Tray", KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    key.Close();
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Old", KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    key.Close();

    engine.delFiles = {"C:\\WINDOWS\\SYSTEM\\tnr.drv", "C:\\WINDOWS\\SYSTEM\\never.dll"};
    engine.delReg = {{"HKLM", "Software\\Cantora\\Tunara", "Gone"},
                     {"HKLM", "Software\\Cantora\\Old", ""},
                     {"HKCU", "Software\\Cantora\\Tray", ""}};
    engine.cfgSys = {{"devdelete", "c:\\tunara\\tnrdos.sys"}, {"DevAdd", "HIMEM"}};
    engine.autoBat = {{"CmdDelete", "tnrinit.exe"}};
    engine.inis = {{"C:\\WINDOWS\\SYSTEM.INI", "WAVE="}};
    engine.fields = {{"C:\\WINDOWS\\SYSTEM.INI", "tnr.drv"}};
    machine().system().setCommandLine(
        "uninst.exe -f\"C:\\Program Files\\Tunara\\u.log\" -c\"C:\\Tunara\\lib\\x.dll\"");
    product().writeString("UninstAppPath", "C:\\Program Files\\Tunara\\unprog.exe").ok();
    engine.driverKeys.clear();
    instsupport::uninstInitialize(0);
    engine.opened.clear();

    EXPECT_EQ(instsupport::uninstUnInitialize(0), 0);
    EXPECT_EQ(engine.opened, std::vector<std::string>{"C:\\WINDOWS\\untunara.inf"});
    EXPECT_FALSE(machineFileExists("C:\\WINDOWS\\SYSTEM\\tnr.drv"));
    EXPECT_EQ(readMachineFile("C:\\config.sys").value_or(""),
              "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=40");
    EXPECT_EQ(readMachineFile("C:\\autoexec.bat").value_or(""), "@ECHO OFF\r\nPATH=C:\\\r\n");
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\SYSTEM.INI").value_or(""),
              "[boot]\r\ndrivers=mmsystem.dll,midimap.drv\r\n");
    EXPECT_FALSE(machineFileExists("C:\\config.tmp"));
    EXPECT_FALSE(machineFileExists("C:\\WINDOWS\\SYSTEM.tmp"));

    platform::RegKey tunara;
    ASSERT_EQ(tunara.Open(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Tunara", KEY_READ),
              ERROR_SUCCESS);
    EXPECT_TRUE(tunara.hasValue("Kept"));
    EXPECT_FALSE(tunara.hasValue("Gone"));
    tunara.Close();
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Old"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Software\\Cantora\\Tray"));
    EXPECT_EQ(engine.aceKeys, (std::vector<std::string>{"MACHINE\\Software\\Cantora\\Tunara",
                                                        "MACHINE\\Software\\Cantora\\Old"}));

    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kTemp));
    for (const char* copy : {"C:\\WINDOWS\\hvinf.dll", "C:\\WINDOWS\\hvinfnt.dll",
                             "C:\\WINDOWS\\tunara.inf", "C:\\WINDOWS\\untunara.inf"})
        EXPECT_FALSE(machineFileExists(copy)) << copy;
    EXPECT_TRUE(machine().ui().shown().empty());
}

TEST_F(UninstallFlow, FailedReplacementKeepsConfigSys) {
    const std::string original = "DEVICE=C:\\TUNARA\\TNRDOS.SYS\r\nFILES=40\r\n";
    writeMachineFile("C:\\config.sys", original);
    engine.cfgSys = {{"DevDelete", "TNRDOS.SYS"}};
    instsupport::uninstInitialize(0);
    platform::host::FileFault fault;
    fault.operation = platform::host::FileOperation::MoveFile;
    fault.pathContains = "config.tmp";
    fault.error = ERROR_ACCESS_DENIED;
    machine().files().addFault(fault);
    instsupport::uninstUnInitialize(0);
    EXPECT_EQ(readMachineFile("C:\\config.sys").value_or("<gone>"), original);
    EXPECT_FALSE(machineFileExists("C:\\config.tmp"));
}

TEST_F(UninstallFlow, MissingUninstallInfIsReported) {
    instsupport::uninstInitialize(0);
    machine().files().DeleteFile("C:\\WINDOWS\\untunara.inf");
    machine().ui().expect(UiAnswer::messageBox(IDOK)
                              .withText("Error HV7\nC:\\WINDOWS\\untunara.inf")
                              .withCaption("Error"));
    instsupport::uninstUnInitialize(0);
    EXPECT_EQ(machine().ui().shown().size(), 1u);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kTemp));
}

// INF files of the same names that were in the Windows folder before are someone else's:
// they are neither overwritten nor deleted, and the steps that needed the INF report their
// stored errors. A copy left by an interrupted uninstall is ours and is replaced.
TEST_F(UninstallFlow, SameNamedInfsInTheWindowsFolderAreLeftAlone) {
    writeMachineFile("C:\\WINDOWS\\tunara.inf", "theirs");
    writeMachineFile("C:\\WINDOWS\\untunara.inf", "theirs too");
    product().writeString("ErrorMsg", "Treiber: %s").ok();
    product().writeString("InfErrorMsg", "INF %s: %s.").ok();
    machine().ui().expect(UiAnswer::messageBox(IDOK).withText("Treiber: HV5"));
    machine().ui().expect(UiAnswer::messageBox(IDOK).withText("INF HV7: ."));
    instsupport::uninstInitialize(0);
    EXPECT_TRUE(engine.opened.empty());
    instsupport::uninstUnInitialize(0);
    EXPECT_TRUE(engine.opened.empty());
    const auto& shown = machine().ui().shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Treiber: HV5");
    EXPECT_EQ(shown[1].text, "INF HV7: .");
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\tunara.inf").value_or("<gone>"), "theirs");
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\untunara.inf").value_or("<gone>"), "theirs too");

    // An interrupted uninstall left its copy and the temporary key naming it.
    writeMachineFile("C:\\WINDOWS\\gone.inf", "ours, stale");
    writeMachineFile("C:\\Program Files\\Tunara\\gone.inf", "[Version]\r\n");
    product().writeString("InfFile", "C:\\Program Files\\Tunara\\gone.inf").ok();
    platform::RegKey temp;
    ASSERT_EQ(temp.Create(HKEY_LOCAL_MACHINE, kTemp, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(temp.writeString("InfFile", "C:\\WINDOWS\\gone.inf"), ERROR_SUCCESS);
    temp.Close();
    instsupport::uninstInitialize(0);
    EXPECT_EQ(engine.opened, std::vector<std::string>{"C:\\WINDOWS\\gone.inf"});
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\gone.inf").value_or("<gone>"), "[Version]\r\n");
    machine().ui().expect(UiAnswer::messageBox(IDOK).withText("INF HV7: ."));
    instsupport::uninstUnInitialize(0);
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_FALSE(machineFileExists("C:\\WINDOWS\\gone.inf"));
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\untunara.inf").value_or("<gone>"), "theirs too");
}

TEST_F(UninstallFlow, OverlongValuesEndTheCopy) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, kProduct, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("ZLong", std::string(400, 'x')), ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("ZZAfter", "y"), ERROR_SUCCESS);
    key.Close();
    instsupport::uninstInitialize(0);
    platform::RegKey temp;
    ASSERT_EQ(temp.Open(HKEY_LOCAL_MACHINE, kTemp, KEY_READ), ERROR_SUCCESS);
    EXPECT_TRUE(temp.hasValue("InfFile"));
    EXPECT_FALSE(temp.hasValue("ZLong"));
    EXPECT_FALSE(temp.hasValue("ZZAfter"));
}

}  // namespace
