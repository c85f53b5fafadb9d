// The real shell: shortcut files through the ShellLink COM object (IShellLinkA with its
// IPersistFile) and FindExecutableA.
//
// The caller owns COM initialisation (CoInitialize / CoUninitialize through this interface),
// so ole32 is started only around the work that needs it, as the product does; the link
// objects are released by ReleaseShellLink before CoUninitialize. <windows.h> and <shellapi.h>
// are included here so that every file that sees this class sees the same (renamed) method
// names.
#pragma once

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "platform/shell.h"

namespace platform::win32 {

class Win32Shell : public Shell {
  public:
    HResult CoInitialize() override;
    void CoUninitialize() override;
    HResult CreateShellLink(HShellLink* link) override;
    HResult SetPath(HShellLink link, const char* path) override;
    HResult SetArguments(HShellLink link, const char* arguments) override;
    HResult SetWorkingDirectory(HShellLink link, const char* folder) override;
    HResult SetDescription(HShellLink link, const char* description) override;
    HResult SetIconLocation(HShellLink link, const char* iconPath, int index) override;
    HResult Save(HShellLink link, const char* fileName, bool remember) override;
    HResult Load(HShellLink link, const char* fileName) override;
    HResult GetPath(HShellLink link, char* buffer, int size) override;
    HResult GetArguments(HShellLink link, char* buffer, int size) override;
    HResult GetWorkingDirectory(HShellLink link, char* buffer, int size) override;
    HResult GetDescription(HShellLink link, char* buffer, int size) override;
    HResult GetIconLocation(HShellLink link, char* buffer, int size, int* index) override;
    void ReleaseShellLink(HShellLink link) override;
    std::uintptr_t FindExecutable(const char* file, const char* directory, char* result) override;
};

}  // namespace platform::win32
