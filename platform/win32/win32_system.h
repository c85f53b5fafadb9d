// The real operating system: the System interface over kernel32 and user32.
//
// Each call is the Win32 "A" function of the same name; results and GetLastError codes are
// the system's own. <windows.h> is included here so that every file that sees this class sees
// the same method names (windows.h renames GetVersionEx to GetVersionExA and so on, in the
// declaration and in every call alike).
#pragma once

#include <windows.h>

#include "platform/system.h"

namespace platform::win32 {

class Win32System : public System {
  public:
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t error) override;
    bool GetVersionEx(OsVersionInfo* info) override;
    std::uint32_t GetWindowsDirectory(char* buffer, std::uint32_t size) override;
    std::uint32_t GetSystemDirectory(char* buffer, std::uint32_t size) override;
    std::uint32_t GetTempPath(std::uint32_t size, char* buffer) override;
    std::uint32_t GetEnvironmentVariable(const char* name, char* buffer,
                                         std::uint32_t size) override;
    void GetLocalTime(SystemTime* time) override;
    void GetSystemTime(SystemTime* time) override;
    bool FileTimeToSystemTime(const FileTime* fileTime, SystemTime* systemTime) override;
    bool SystemTimeToFileTime(const SystemTime* systemTime, FileTime* fileTime) override;
    bool FileTimeToLocalFileTime(const FileTime* fileTime, FileTime* localFileTime) override;
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t milliseconds) override;
    void OutputDebugString(const char* text) override;
    // On NT the shutdown privilege is enabled first, as ExitWindowsEx requires there.
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
    Lcid GetThreadLocale() override;
    bool SetThreadLocale(Lcid locale) override;
    Lcid GetUserDefaultLCID() override;
    Lcid GetSystemDefaultLCID() override;
    int GetLocaleInfo(Lcid locale, std::uint32_t type, char* data, int size) override;
    const char* GetCommandLine() override;
    std::uint32_t GetModuleFileName(HModule module, char* buffer, std::uint32_t size) override;
    HModule LoadLibrary(const char* fileName) override;
    bool FreeLibrary(HModule module) override;
    HModule GetModuleHandle(const char* moduleName) override;
    ProcAddress GetProcAddress(HModule module, const char* procName) override;
    bool CreateProcess(const char* applicationName, const char* commandLine, bool inheritHandles,
                       std::uint32_t creationFlags, const char* currentDirectory,
                       std::uint16_t showWindow, HProcess* process) override;
    std::uint32_t WaitForSingleObject(HProcess process, std::uint32_t milliseconds) override;
    bool GetExitCodeProcess(HProcess process, std::uint32_t* exitCode) override;
    bool CloseHandle(HProcess process) override;
    std::uint32_t WinExec(const char* commandLine, std::uint32_t showWindow) override;
};

}  // namespace platform::win32
