// Facts about the running Windows, the process, its modules and the processes it starts,
// as the Win32 kernel and user functions offer them.
//
// Every operation has the shape of its Win32 namesake: the same arguments in the same order,
// the same result (BOOL as bool, lengths, handles), and on failure the same code for
// GetLastError, which this back-end answers for its own calls. Outputs are untouched on
// failure unless said otherwise. Texts are 8-bit ANSI; buffer sizes are in bytes and count
// the terminating zero. Handles are opaque; 0 is never a valid module or process handle.
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/win32_constants.h"

namespace platform {

// A loaded module (HMODULE/HINSTANCE). 0 means none, or failure.
using HModule = std::uintptr_t;
// An open process handle, as CreateProcess hands it out. 0 means none.
using HProcess = std::uintptr_t;
// A locale identifier: language id in the low 16 bits, sort id above.
using Lcid = std::uint32_t;

// OSVERSIONINFOA. The Windows 95/98 family keeps the major and minor version in the high
// 16 bits of buildNumber (4.10.1998 reads 0x040A07CE); Windows NT leaves them at 0.
struct OsVersionInfo {
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;  // VER_PLATFORM_WIN32_WINDOWS or VER_PLATFORM_WIN32_NT
    char csdVersion[128] = {};     // " B", " A ", "Service Pack 6", ...
};

// SYSTEMTIME.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;      // 1 to 12
    std::uint16_t dayOfWeek = 0;  // 0 = Sunday
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

// What GetProcAddress hands back: the exported function, to be cast by the caller to the
// export's exact signature.
using ProcAddress = void*;

class System {
  public:
    virtual ~System() = default;

    // GetLastError: the error code left by the last failing operation of this back-end.
    // Successful operations do not promise to reset it, exactly as in Win32.
    virtual std::uint32_t GetLastError() = 0;

    // SetLastError. Callers poison the code before a call whose failure they must tell apart.
    virtual void SetLastError(std::uint32_t error) = 0;

    // ---- Operating system -------------------------------------------------------------

    // GetVersionExA. Fills `info` and returns true. Never fails on a real system; a null
    // pointer gives false with ERROR_INVALID_PARAMETER.
    virtual bool GetVersionEx(OsVersionInfo* info) = 0;

    // GetWindowsDirectoryA: "C:\\WINDOWS", never with a trailing backslash. Returns the length
    // without the zero when it fits in `size`; otherwise the size needed (zero included) and
    // the buffer is untouched.
    virtual std::uint32_t GetWindowsDirectory(char* buffer, std::uint32_t size) = 0;

    // GetSystemDirectoryA: "C:\\WINDOWS\\SYSTEM" on 95/98, "...\\SYSTEM32" on NT. Size rule
    // as GetWindowsDirectory.
    virtual std::uint32_t GetSystemDirectory(char* buffer, std::uint32_t size) = 0;

    // GetTempPathA (note the Win32 argument order): the temporary folder, always ending
    // with a backslash. Size rule as GetWindowsDirectory. The folder may not exist.
    virtual std::uint32_t GetTempPath(std::uint32_t size, char* buffer) = 0;

    // GetEnvironmentVariableA. Size rule as GetWindowsDirectory; 0 with
    // ERROR_ENVVAR_NOT_FOUND when the variable is not set.
    virtual std::uint32_t GetEnvironmentVariable(const char* name, char* buffer,
                                                 std::uint32_t size) = 0;

    // GetLocalTime / GetSystemTime: the current time, local or UTC. Never fail.
    virtual void GetLocalTime(SystemTime* time) = 0;
    virtual void GetSystemTime(SystemTime* time) = 0;

    // FileTimeToSystemTime / SystemTimeToFileTime: the same moment in the two forms, no
    // zone applied. False with ERROR_INVALID_PARAMETER for a time out of range (a FILETIME
    // at or above 2^63, a SYSTEMTIME with a field out of range or before 1601).
    virtual bool FileTimeToSystemTime(const FileTime* fileTime, SystemTime* systemTime) = 0;
    virtual bool SystemTimeToFileTime(const SystemTime* systemTime, FileTime* fileTime) = 0;

    // FileTimeToLocalFileTime: UTC to local time by the current time zone bias.
    virtual bool FileTimeToLocalFileTime(const FileTime* fileTime, FileTime* localFileTime) = 0;

    // GetTickCount: milliseconds since Windows started, wrapping after 49.7 days.
    virtual std::uint32_t GetTickCount() = 0;

    // Sleep. The simulated machine only advances its clock.
    virtual void Sleep(std::uint32_t milliseconds) = 0;

    // OutputDebugStringA: one text to the debugger channel, as given (most end in "\n").
    // Never fails, never blocks, never reaches the user.
    virtual void OutputDebugString(const char* text) = 0;

    // ExitWindowsEx with EWX_* flags. True when the request was accepted (Windows then
    // ends the session on its own); false with the system's error otherwise.
    virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;

    // ---- Locales ------------------------------------------------------------------------

    // GetThreadLocale / SetThreadLocale. SetThreadLocale refuses a locale the system does not
    // know with false and ERROR_INVALID_PARAMETER, leaving the thread locale unchanged.
    virtual Lcid GetThreadLocale() = 0;
    virtual bool SetThreadLocale(Lcid locale) = 0;

    // GetUserDefaultLCID / GetSystemDefaultLCID.
    virtual Lcid GetUserDefaultLCID() = 0;
    virtual Lcid GetSystemDefaultLCID() = 0;

    // GetLocaleInfoA for the LOCALE_* types (LOCALE_NOUSEROVERRIDE may be or-ed in). A locale
    // of LOCALE_USER_DEFAULT or LOCALE_SYSTEM_DEFAULT means the default locale; a bare
    // language id (sort 0) means that language. Returns the characters written, zero
    // included. `size` 0 returns the size needed and writes nothing. 0 and
    // ERROR_INSUFFICIENT_BUFFER when the text does not fit (buffer untouched);
    // 0 and ERROR_INVALID_PARAMETER for an unknown locale, ERROR_INVALID_FLAGS for a type
    // not offered.
    virtual int GetLocaleInfo(Lcid locale, std::uint32_t type, char* data, int size) = 0;

    // ---- Process and modules ----------------------------------------------------------

    // GetCommandLineA: the whole command line of the process, program name included, as the
    // process received it. The text stays valid for the life of the back-end.
    virtual const char* GetCommandLine() = 0;

    // GetModuleFileNameA: full path of a loaded module; module 0 is the program's own file.
    // Copies at most size - 1 characters and always terminates (size > 0); returns the
    // characters copied without the zero. A longer path is cut short and sets
    // ERROR_INSUFFICIENT_BUFFER; an unknown module gives 0 and ERROR_MOD_NOT_FOUND.
    virtual std::uint32_t GetModuleFileName(HModule module, char* buffer, std::uint32_t size) = 0;

    // LoadLibraryA. A name without a folder is looked up by the library search (the
    // program's folder, the current folder, the system folder, the Windows folder); an
    // already loaded module gets one more reference and the same handle. 0 on failure with
    // ERROR_MOD_NOT_FOUND (no such file; ERROR_DLL_NOT_FOUND on the 95/98 family),
    // ERROR_BAD_EXE_FORMAT (not a usable module) or ERROR_DLL_INIT_FAILED. Every success must be
    // matched by one FreeLibrary.
    virtual HModule LoadLibrary(const char* fileName) = 0;

    // FreeLibrary: drops one reference; the module goes when none is left. False with
    // ERROR_INVALID_HANDLE for a handle that is not loaded.
    virtual bool FreeLibrary(HModule module) = 0;

    // GetModuleHandleA: the handle of a module this process has loaded (base name compared
    // without regard to case, ".dll" assumed when no extension is given), without a new
    // reference; a null name gives the program itself. 0 with ERROR_MOD_NOT_FOUND.
    virtual HModule GetModuleHandle(const char* moduleName) = 0;

    // GetProcAddress by export name. Null with ERROR_PROC_NOT_FOUND when the module has no
    // such export, ERROR_INVALID_HANDLE when the module is not loaded.
    virtual ProcAddress GetProcAddress(HModule module, const char* procName) = 0;

    // CreateProcessA with no security attributes, no environment block and STARTUPINFO
    // asking for `showWindow` (an SW_* value, STARTF_USESHOWWINDOW). `applicationName` may
    // be null (then the program is the first token of `commandLine`); `currentDirectory`
    // may be null (the caller's). The thread handle is closed here; the process handle goes
    // to *process and must be closed with CloseHandle. False with the system's error
    // (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_BAD_EXE_FORMAT, ...) otherwise.
    virtual bool CreateProcess(const char* applicationName, const char* commandLine,
                               bool inheritHandles, std::uint32_t creationFlags,
                               const char* currentDirectory, std::uint16_t showWindow,
                               HProcess* process) = 0;

    // WaitForSingleObject on a process handle: WAIT_OBJECT_0 once the process has ended,
    // WAIT_TIMEOUT when it is still running after `milliseconds` (INFINITE waits for ever),
    // WAIT_FAILED with ERROR_INVALID_HANDLE for a bad handle.
    virtual std::uint32_t WaitForSingleObject(HProcess process, std::uint32_t milliseconds) = 0;

    // GetExitCodeProcess: the exit code, or STILL_ACTIVE while the process runs. False with
    // ERROR_INVALID_HANDLE for a bad handle.
    virtual bool GetExitCodeProcess(HProcess process, std::uint32_t* exitCode) = 0;

    // CloseHandle of a process handle. False with ERROR_INVALID_HANDLE when it is not open.
    virtual bool CloseHandle(HProcess process) = 0;

    // WinExec: starts a command line without waiting. Greater than 31 on success; 0 (out of
    // resources), ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND or ERROR_BAD_FORMAT otherwise.
    virtual std::uint32_t WinExec(const char* commandLine, std::uint32_t showWindow) = 0;
};

}  // namespace platform
