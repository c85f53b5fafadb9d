// The simulated module loader: what a load needs, the library search, reference counts,
// exports and module handles.
#include <string>

#include "tests/unit/system/system_fixture.h"

namespace system_test {
namespace {

using platform::HModule;
using platform::host::ModuleImage;
using platform::host::WindowsRelease;

int openInfFileStub(const char*) {
    return 7;
}

ModuleImage engineImage() {
    ModuleImage image;
    image.exports["OpenInfFile"] = reinterpret_cast<platform::ProcAddress>(&openInfFileStub);
    image.strings[6] = "Tunara Properties";
    return image;
}

TEST_F(SystemTest, ALoadNeedsTheFileAndARegisteredImage) {
    const char* path = "C:\\WINDOWS\\hvinf.dll";
    // A missing library: Windows 98 and NT answer with different codes.
    EXPECT_EQ(system.LoadLibrary(path), 0u);
    EXPECT_EQ(system.GetLastError(), ERROR_DLL_NOT_FOUND);
    system.setRelease(WindowsRelease::WindowsNT4);
    EXPECT_EQ(system.LoadLibrary(path), 0u);
    EXPECT_EQ(system.GetLastError(), ERROR_MOD_NOT_FOUND);

    writeFile(path);
    EXPECT_EQ(system.LoadLibrary(path), 0u);
    EXPECT_EQ(system.GetLastError(), ERROR_BAD_EXE_FORMAT);

    ModuleImage refusing = engineImage();
    refusing.loadError = ERROR_DLL_INIT_FAILED;
    system.registerModule("HVINF.DLL", refusing);
    EXPECT_EQ(system.LoadLibrary(path), 0u);
    EXPECT_EQ(system.GetLastError(), ERROR_DLL_INIT_FAILED);

    system.registerModule("hvinf.dll", engineImage());
    const HModule module = system.LoadLibrary(path);
    // Callers test the 16-bit convention: anything below 32 is a failure.
    EXPECT_GE(module, 32u);
    EXPECT_EQ(system.loadedModuleCount(), 1u);
    EXPECT_TRUE(system.FreeLibrary(module));
}

TEST_F(SystemTest, ExportsAreFoundByTheirExactName) {
    writeFile("C:\\WINDOWS\\hvinf.dll");
    system.registerModule("hvinf.dll", engineImage());
    const HModule module = system.LoadLibrary("C:\\WINDOWS\\hvinf.dll");
    using OpenInfFileFn = int (*)(const char*);
    auto open = reinterpret_cast<OpenInfFileFn>(system.GetProcAddress(module, "OpenInfFile"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open("x.inf"), 7);
    EXPECT_EQ(system.GetProcAddress(module, "openinffile"), nullptr);
    EXPECT_EQ(system.GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(system.GetProcAddress(module, "CloseInfFile"), nullptr);
    EXPECT_TRUE(system.FreeLibrary(module));
}

TEST_F(SystemTest, ReferencesAreCountedAndAFreedModuleIsGone) {
    writeFile("C:\\WINDOWS\\SYSTEM\\cnctlENU.dll");
    system.registerModule("cnctlENU.dll", engineImage());
    const HModule first = system.LoadLibrary("cnctlENU.dll");
    const HModule second = system.LoadLibrary("CNCTLENU");  // ".dll" is assumed
    ASSERT_NE(first, 0u);
    EXPECT_EQ(second, first);
    EXPECT_EQ(system.moduleReferenceCount("cnctlenu.dll"), 2u);
    EXPECT_EQ(system.GetModuleHandle("cnctlenu"), first);  // no new reference
    EXPECT_TRUE(system.FreeLibrary(first));
    EXPECT_EQ(system.moduleReferenceCount("cnctlENU.dll"), 1u);
    EXPECT_TRUE(system.FreeLibrary(first));
    EXPECT_EQ(system.loadedModuleCount(), 0u);

    EXPECT_FALSE(system.FreeLibrary(first));
    EXPECT_EQ(system.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(system.GetProcAddress(first, "OpenInfFile"), nullptr);
    EXPECT_EQ(system.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(system.GetModuleHandle("cnctlENU.dll"), 0u);
    EXPECT_EQ(system.GetLastError(), ERROR_MOD_NOT_FOUND);

    // A later load is a new module with a new handle.
    const HModule again = system.LoadLibrary("cnctlENU.dll");
    EXPECT_NE(again, first);
    EXPECT_TRUE(system.FreeLibrary(again));
}

TEST_F(SystemTest, BareNamesAreSearchedFromTheProgramFolderOn) {
    system.registerModule("cnctlDEU.dll", engineImage());
    system.setProgramPath("C:\\PROGRA~1\\TUNARA\\tunaractl.exe");
    writeFile("C:\\WINDOWS\\SYSTEM\\cnctlDEU.dll");
    writeFile("C:\\PROGRA~1\\TUNARA\\cnctlDEU.dll");
    const HModule module = system.LoadLibrary("cnctlDEU.dll");
    char path[260];
    system.GetModuleFileName(module, path, sizeof path);
    EXPECT_STREQ(path, "C:\\PROGRA~1\\TUNARA\\cnctlDEU.dll");
    EXPECT_TRUE(system.FreeLibrary(module));

    // A trailing dot means "no extension": the file "cnctlDEU" is not the library.
    EXPECT_EQ(system.LoadLibrary("cnctlDEU."), 0u);
    EXPECT_EQ(system.GetLastError(), ERROR_DLL_NOT_FOUND);
}

TEST_F(SystemTest, TheSameNameInTwoFoldersIsOneModuleOn98AndTwoOnNt) {
    system.registerModule("hvinfnt.dll", engineImage());
    writeFile("C:\\A\\hvinfnt.dll");
    writeFile("C:\\B\\hvinfnt.dll");
    HModule a = system.LoadLibrary("C:\\A\\hvinfnt.dll");
    HModule b = system.LoadLibrary("C:\\B\\hvinfnt.dll");
    EXPECT_EQ(a, b);
    system.FreeLibrary(a);
    system.FreeLibrary(b);

    system.setRelease(WindowsRelease::WindowsNT4);
    a = system.LoadLibrary("C:\\A\\hvinfnt.dll");
    b = system.LoadLibrary("C:\\B\\hvinfnt.dll");
    EXPECT_NE(a, b);
    EXPECT_EQ(system.loadedModuleCount(), 2u);
    system.FreeLibrary(a);
    system.FreeLibrary(b);
}

TEST_F(SystemTest, TheProgramIsItsOwnModule) {
    system.setProgramPath("C:\\WINDOWS\\SYSTEM\\tnrtray.exe");
    EXPECT_EQ(system.GetModuleHandle(nullptr), platform::host::HostSystem::kProgramModule);
    EXPECT_EQ(system.GetModuleHandle("TNRTRAY.EXE"), platform::host::HostSystem::kProgramModule);
    EXPECT_EQ(system.loadedModuleCount(), 0u);
}

}  // namespace
}  // namespace system_test
