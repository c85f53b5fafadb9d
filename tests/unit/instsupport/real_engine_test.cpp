// The uninstall INF carried out through the real INF engine, loaded as "hvinf.dll" from the
// simulated Windows folder.
#ifdef TUNARA_WITH_INF_ENGINE
#include <gtest/gtest.h>

#include "infengine/engine.h"
#include "infengine/engine_driver.h"
#include "instsupport/uninstall.h"
#include "platform/host/host_system.h"
#include "platform/host/host_ui.h"
#include "platform/registry_key.h"
#include "tests/unit/instsupport/instsupport_fixture.h"

namespace {

// Where the uninstaller keeps its working copy of the product's uninstall key.
constexpr char kTemporaryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HVTemp";

using tunara_test::machineFileExists;
using tunara_test::readMachineFile;
using tunara_test::writeMachineFile;

template <typename F>
platform::ProcAddress proc(F function) {
    return reinterpret_cast<platform::ProcAddress>(function);
}

class RealEngineUninstall : public tunara_test::MachineTest {};

TEST_F(RealEngineUninstall, DefaultInstallIsUndone) {
    tunara_test::makeMachineFolders("C:\\WINDOWS\\SYSTEM");
    platform::host::ModuleImage image;
    image.exports["OpenInfFile"] = proc(&infengine::OpenInfFile);
    image.exports["CloseInfFile"] = proc(&infengine::CloseInfFile);
    image.exports["EnumDelDriverReg"] = proc(&infengine::EnumDelDriverReg);
    image.exports["EnumDelFiles"] = proc(&infengine::EnumDelFiles);
    image.exports["EnumDelReg"] = proc(&infengine::EnumDelReg);
    image.exports["EnumUpdateCfgSys"] = proc(&infengine::EnumUpdateCfgSys);
    image.exports["EnumUpdateAutoBat"] = proc(&infengine::EnumUpdateAutoBat);
    image.exports["EnumUpdateInis"] = proc(&infengine::EnumUpdateInis);
    image.exports["EnumUpdateIniFields"] = proc(&infengine::EnumUpdateIniFields);
    machine().system().registerModule("hvinf.dll", image);
    writeMachineFile("C:\\WINDOWS\\hvinf.dll", "engine");

    writeMachineFile(
        "C:\\WINDOWS\\untunara.inf",
        "[Version]\r\nSignature=\"$Chicago$\"\r\n\r\n"
        "[DefaultInstall]\r\nDelFiles=Del\r\nDelReg=Reg\r\nUpdateCfgSys=Cfg\r\n"
        "UpdateAutoBat=Bat\r\nUpdateInis=Ini\r\nUpdateIniFields=Fld\r\n\r\n"
        "[DestinationDirs]\r\nDefaultDestDir=11\r\n\r\n"
        "[Del]\r\ntnrdrv.drv\r\n\r\n"
        "[Reg]\r\nHKLM,Software\\Cantora\\Tunara\r\nHKLM,Software\\Cantora\\Keep,Gone\r\n\r\n"
        "[Cfg]\r\nDevDelete=tnrdos.sys\r\n\r\n"
        "[Bat]\r\nCmdDelete=\"tnrinit\"\r\n\r\n"
        "[Ini]\r\nC:\\WINDOWS\\tnr.ini,boot,\"wave=tnr.drv\"\r\n\r\n"
        "[Fld]\r\nC:\\WINDOWS\\tnr.ini,boot,drivers,tnr.drv,,0\r\n");
    writeMachineFile("C:\\WINDOWS\\SYSTEM\\tnrdrv.drv", "driver");
    writeMachineFile("C:\\config.sys", "DEVICE=C:\\TUNARA\\TNRDOS.SYS\r\nFILES=40\r\n");
    writeMachineFile("C:\\autoexec.bat", "C:\\TUNARA\\TNRINIT.EXE\r\nPATH=C:\\\r\n");
    writeMachineFile("C:\\WINDOWS\\tnr.ini", "[boot]\r\nwave=tnr.drv\r\ndrivers=a.drv,tnr.drv\r\n");
    platform::RegKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Tunara\\Deep", KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Keep", KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("Gone", "x"), ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("Stays", "x"), ERROR_SUCCESS);
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, kTemporaryKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("UninstInfFile", "C:\\WINDOWS\\untunara.inf"), ERROR_SUCCESS);
    key.Close();

    instsupport::uninstUnInitialize(0);

    EXPECT_TRUE(machine().ui().shown().empty());
    EXPECT_FALSE(machineFileExists("C:\\WINDOWS\\SYSTEM\\tnrdrv.drv"));
    EXPECT_EQ(readMachineFile("C:\\config.sys").value_or(""), "FILES=40\r\n");
    EXPECT_EQ(readMachineFile("C:\\autoexec.bat").value_or(""), "PATH=C:\\\r\n");
    EXPECT_EQ(readMachineFile("C:\\WINDOWS\\tnr.ini").value_or(""), "[boot]\r\ndrivers=a.drv\r\n");
    EXPECT_NE(key.Open(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Tunara", KEY_READ), ERROR_SUCCESS);
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, "Software\\Cantora\\Keep", KEY_READ), ERROR_SUCCESS);
    EXPECT_FALSE(key.hasValue("Gone"));
    EXPECT_TRUE(key.hasValue("Stays"));
    key.Close();
    EXPECT_NE(key.Open(HKEY_LOCAL_MACHINE, kTemporaryKey, KEY_READ), ERROR_SUCCESS);
    EXPECT_FALSE(machineFileExists("C:\\WINDOWS\\untunara.inf"));
    EXPECT_FALSE(machineFileExists("C:\\WINDOWS\\hvinf.dll"));
}

}  // namespace
#endif
