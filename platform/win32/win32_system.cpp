#include "platform/win32/win32_system.h"
#include "platform/win32/win32_machine.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/win32/win32_proc.h"

namespace platform::win32 {
namespace {

HMODULE toModule(HModule module) {
    return reinterpret_cast<HMODULE>(module);
}
HANDLE toHandle(HProcess process) {
    return reinterpret_cast<HANDLE>(process);
}

FILETIME toWin32(FileTime time) {
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(time);
    result.dwHighDateTime = static_cast<DWORD>(time >> 32);
    return result;
}

FileTime fromWin32(const FILETIME& time) {
    return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

SYSTEMTIME toWin32(const SystemTime& time) {
    SYSTEMTIME result;
    result.wYear = time.year;
    result.wMonth = time.month;
    result.wDayOfWeek = time.dayOfWeek;
    result.wDay = time.day;
    result.wHour = time.hour;
    result.wMinute = time.minute;
    result.wSecond = time.second;
    result.wMilliseconds = time.milliseconds;
    return result;
}

void fromWin32(const SYSTEMTIME& time, SystemTime* result) {
    result->year = time.wYear;
    result->month = time.wMonth;
    result->dayOfWeek = time.wDayOfWeek;
    result->day = time.wDay;
    result->hour = time.wHour;
    result->minute = time.wMinute;
    result->second = time.wSecond;
    result->milliseconds = time.wMilliseconds;
}

bool isNt() {
    return (::GetVersion() & 0x80000000u) == 0;
}

// ExitWindowsEx on NT refuses a caller whose token does not hold the shutdown privilege
// enabled. The advapi32 functions are looked up at run time: Windows 95 lacks them.
void enableShutdownPrivilege() {
    using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using LookupPrivilegeValueFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
    using AdjustTokenPrivilegesFn =
        BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    HMODULE advapi = ::LoadLibraryA("advapi32.dll");
    if (advapi == nullptr) return;
    const auto openToken = procAddress<OpenProcessTokenFn>(advapi, "OpenProcessToken");
    const auto lookup = procAddress<LookupPrivilegeValueFn>(advapi, "LookupPrivilegeValueA");
    const auto adjust = procAddress<AdjustTokenPrivilegesFn>(advapi, "AdjustTokenPrivileges");
    HANDLE token = nullptr;
    if (openToken != nullptr && lookup != nullptr && adjust != nullptr &&
        openToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges;
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (lookup(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            adjust(token, FALSE, &privileges, 0, nullptr, nullptr);
        ::CloseHandle(token);
    }
    ::FreeLibrary(advapi);
}

}  // namespace

std::uint32_t Win32System::GetLastError() {
    return ::GetLastError();
}

void Win32System::SetLastError(std::uint32_t error) {
    ::SetLastError(error);
}

bool Win32System::GetVersionEx(OsVersionInfo* info) {
    if (info == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version)) return false;
    info->majorVersion = version.dwMajorVersion;
    info->minorVersion = version.dwMinorVersion;
    info->buildNumber = version.dwBuildNumber;
    info->platformId = version.dwPlatformId;
    static_assert(sizeof info->csdVersion == sizeof version.szCSDVersion, "CSD text size");
    std::memcpy(info->csdVersion, version.szCSDVersion, sizeof info->csdVersion);
    info->csdVersion[sizeof info->csdVersion - 1] = '\0';
    return true;
}

std::uint32_t Win32System::GetWindowsDirectory(char* buffer, std::uint32_t size) {
    return ::GetWindowsDirectoryA(buffer, size);
}

std::uint32_t Win32System::GetSystemDirectory(char* buffer, std::uint32_t size) {
    return ::GetSystemDirectoryA(buffer, size);
}

std::uint32_t Win32System::GetTempPath(std::uint32_t size, char* buffer) {
    return ::GetTempPathA(size, buffer);
}

std::uint32_t Win32System::GetEnvironmentVariable(const char* name, char* buffer,
                                                  std::uint32_t size) {
    return ::GetEnvironmentVariableA(name, buffer, size);
}

void Win32System::GetLocalTime(SystemTime* time) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    if (time != nullptr) fromWin32(now, time);
}

void Win32System::GetSystemTime(SystemTime* time) {
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    if (time != nullptr) fromWin32(now, time);
}

bool Win32System::FileTimeToSystemTime(const FileTime* fileTime, SystemTime* systemTime) {
    if (fileTime == nullptr || systemTime == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const FILETIME in = toWin32(*fileTime);
    SYSTEMTIME out;
    if (!::FileTimeToSystemTime(&in, &out)) return false;
    fromWin32(out, systemTime);
    return true;
}

bool Win32System::SystemTimeToFileTime(const SystemTime* systemTime, FileTime* fileTime) {
    if (fileTime == nullptr || systemTime == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const SYSTEMTIME in = toWin32(*systemTime);
    FILETIME out;
    if (!::SystemTimeToFileTime(&in, &out)) return false;
    *fileTime = fromWin32(out);
    return true;
}

bool Win32System::FileTimeToLocalFileTime(const FileTime* fileTime, FileTime* localFileTime) {
    if (fileTime == nullptr || localFileTime == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const FILETIME in = toWin32(*fileTime);
    FILETIME out;
    if (!::FileTimeToLocalFileTime(&in, &out)) return false;
    *localFileTime = fromWin32(out);
    return true;
}

std::uint32_t Win32System::GetTickCount() {
    return ::GetTickCount();
}

void Win32System::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

void Win32System::OutputDebugString(const char* text) {
    if (text != nullptr) ::OutputDebugStringA(text);
}

bool Win32System::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    if (isNt()) enableShutdownPrivilege();
    return ::ExitWindowsEx(flags, reserved) != FALSE;
}

Lcid Win32System::GetThreadLocale() {
    return ::GetThreadLocale();
}

bool Win32System::SetThreadLocale(Lcid locale) {
    // Looked up at run time so that a kernel32 without it cannot keep the program from
    // loading; the 95/98 family has it, with effect on the resource and locale functions.
    using SetThreadLocaleFn = BOOL(WINAPI*)(LCID);
    const auto set =
        procAddress<SetThreadLocaleFn>(::GetModuleHandleA("kernel32.dll"), "SetThreadLocale");
    if (set == nullptr) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    return set(locale) != FALSE;
}

Lcid Win32System::GetUserDefaultLCID() {
    return ::GetUserDefaultLCID();
}

Lcid Win32System::GetSystemDefaultLCID() {
    return ::GetSystemDefaultLCID();
}

int Win32System::GetLocaleInfo(Lcid locale, std::uint32_t type, char* data, int size) {
    return ::GetLocaleInfoA(locale, type, data, size);
}

const char* Win32System::GetCommandLine() {
    return ::GetCommandLineA();
}

std::uint32_t Win32System::GetModuleFileName(HModule module, char* buffer, std::uint32_t size) {
    if (buffer == nullptr || size == 0) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    DWORD length = ::GetModuleFileNameA(toModule(module), buffer, size);
    // Windows XP and later leave a full buffer unterminated; keep the promise of a zero.
    if (length >= size) {
        length = size - 1;
        buffer[length] = '\0';
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    }
    return length;
}

HModule Win32System::LoadLibrary(const char* fileName) {
    return reinterpret_cast<HModule>(::LoadLibraryA(fileName));
}

bool Win32System::FreeLibrary(HModule module) {
    return ::FreeLibrary(toModule(module)) != FALSE;
}

HModule Win32System::GetModuleHandle(const char* moduleName) {
    return reinterpret_cast<HModule>(::GetModuleHandleA(moduleName));
}

ProcAddress Win32System::GetProcAddress(HModule module, const char* procName) {
    return reinterpret_cast<ProcAddress>(::GetProcAddress(toModule(module), procName));
}

bool Win32System::CreateProcess(const char* applicationName, const char* commandLine,
                                bool inheritHandles, std::uint32_t creationFlags,
                                const char* currentDirectory, std::uint16_t showWindow,
                                HProcess* process) {
    if (process == nullptr || (applicationName == nullptr && commandLine == nullptr)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // CreateProcess may write into its command line: it gets a copy of its own.
    std::unique_ptr<char[]> line;
    if (commandLine != nullptr) {
        const std::size_t length = std::strlen(commandLine);
        line.reset(new (std::nothrow) char[length + 1]);
        if (!line) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        }
        std::memcpy(line.get(), commandLine, length + 1);
    }
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
    PROCESS_INFORMATION info;
    std::memset(&info, 0, sizeof info);
    if (!::CreateProcessA(applicationName, line.get(), nullptr, nullptr,
                          inheritHandles ? TRUE : FALSE, creationFlags, nullptr, currentDirectory,
                          &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    *process = reinterpret_cast<HProcess>(info.hProcess);
    return true;
}

std::uint32_t Win32System::WaitForSingleObject(HProcess process, std::uint32_t milliseconds) {
    return ::WaitForSingleObject(toHandle(process), milliseconds);
}

bool Win32System::GetExitCodeProcess(HProcess process, std::uint32_t* exitCode) {
    DWORD code = 0;
    if (exitCode == nullptr || !::GetExitCodeProcess(toHandle(process), &code)) return false;
    *exitCode = code;
    return true;
}

bool Win32System::CloseHandle(HProcess process) {
    return ::CloseHandle(toHandle(process)) != FALSE;
}

std::uint32_t Win32System::WinExec(const char* commandLine, std::uint32_t showWindow) {
    return ::WinExec(commandLine, showWindow);
}

std::unique_ptr<MachinePart> systemPart() {
    return makeBackendPart<Win32System, System, &Machine::system>();
}

}  // namespace platform::win32
