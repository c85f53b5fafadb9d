// The operating system of the simulated machine: version, folders, locales, clock, debug
// channel, loadable modules and the processes the product starts.
//
// Everything is set by the test (or a machine description) and read back by it:
//  - Version and folders come from a release preset (Windows 95, 95 OSR2, 98, 98 SE, NT 4),
//    with the numbers the real systems report; every fact can be overridden afterwards.
//  - Locales come from a built-in table (host_locales.h). The thread locale starts as the
//    user default and changes only through SetThreadLocale or setUserDefaultLCID.
//  - Modules. A module is a registered image (its string table, exports and resource ids)
//    under a base file name such as "cnctlENU.dll", compared without regard to case.
//    LoadLibrary succeeds when the file exists on the machine's disk (platform::machine().files)
//    and an image is registered under its base name; a file without an image is no module
//    (ERROR_BAD_EXE_FORMAT). Handles are never reused, so a use after the last FreeLibrary
//    answers ERROR_INVALID_HANDLE. loadedModuleCount() lets a teardown check for leaks.
//  - Processes are not run: each start is recorded, answered with the exit code scripted
//    for its program (default 0), and ends at once unless the test keeps it running.
//  - Debug output is kept text by text, as the product wrote it.
//
// Not thread-safe: the product runs on one thread.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/system.h"

namespace platform::host {

enum class WindowsRelease {
    Windows95,      // 4.00.950
    Windows95Osr2,  // 4.00.1111 " B"
    Windows98,      // 4.10.1998
    Windows98SE,    // 4.10.2222 " A "
    WindowsNT4,     // 4.0.1381 Service Pack 6
};

// What a release reports and where it keeps its folders.
struct ReleaseFacts {
    OsVersionInfo version;
    const char* windowsDirectory;
    const char* systemDirectory;
    const char* tempDirectory;  // with its trailing backslash
};
ReleaseFacts releaseFacts(WindowsRelease release);

// A module as the simulated loader knows it.
struct ModuleImage {
    std::map<std::uint32_t, std::string> strings;  // string table: id -> text
    std::map<std::string, ProcAddress> exports;    // exact, case-sensitive names
    std::set<std::uint32_t> dialogs;               // dialog template ids
    std::set<std::uint32_t> menus;
    std::set<std::uint32_t> icons;
    std::set<std::uint32_t> bitmaps;
    // Not ERROR_SUCCESS: every LoadLibrary of it fails with this code (for example
    // ERROR_DLL_INIT_FAILED for a library whose start-up refuses).
    std::uint32_t loadError = 0;
};

// One process start (CreateProcess or WinExec), as the product asked for it.
struct ProcessStart {
    std::string applicationName;   // as passed (empty for none)
    std::string commandLine;       // as passed
    std::string currentDirectory;  // as passed (empty for none)
    std::string program;           // the program file found, or the name looked for
    std::uint16_t showWindow = 0;
    bool inheritHandles = false;
    std::uint32_t creationFlags = 0;
    bool winExec = false;
    std::uint32_t error = 0;  // ERROR_SUCCESS when it started
};

class HostSystem : public System {
  public:
    explicit HostSystem(WindowsRelease release = WindowsRelease::Windows98);
    ~HostSystem() override;
    HostSystem(const HostSystem&) = delete;
    HostSystem& operator=(const HostSystem&) = delete;

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

    // ---- Operating system facts ----------------------------------------------------------

    // Version and folders of a release; the environment's windir, TEMP and TMP follow.
    void setRelease(WindowsRelease release);
    void setVersion(const OsVersionInfo& version);
    // GetVersionEx fails (false, ERROR_GEN_FAILURE) while set.
    void setVersionQueryFails(bool fails);
    bool isNt() const;
    void setWindowsDirectory(const std::string& path);
    void setSystemDirectory(const std::string& path);
    // Sets TMP and TEMP, which GetTempPath reads (TMP first, then TEMP, then the Windows
    // folder); a trailing backslash is added by GetTempPath when missing.
    void setTempPath(const std::string& path);
    void setEnvironmentVariable(const std::string& name, const std::string& value);
    void removeEnvironmentVariable(const std::string& name);

    // The program's own file (GetModuleFileName(0), GetModuleHandle(null), first place of the
    // library search) and the command line; setProgramPath also sets the command line to
    // the path when none was set.
    void setProgramPath(const std::string& path);
    void setCommandLine(const std::string& commandLine);

    // Sets the user default locale and makes it the thread locale, as a new log-on would.
    // The locale must be in the table (host_locales.h); false otherwise, nothing changed.
    bool setUserDefaultLCID(Lcid locale);
    bool setSystemDefaultLCID(Lcid locale);

    // ---- Clock ----------------------------------------------------------------------------

    // The current UTC time and the time zone bias (minutes, UTC = local + bias, as Win32
    // counts it). The clock moves only through Sleep, finite waits and advanceClock.
    void setSystemTime(const SystemTime& utc);
    void setTimeZoneBias(int minutes);
    void setTickCount(std::uint32_t ticks);
    void advanceClock(std::uint32_t milliseconds);

    // ---- Debug channel and shutdown -------------------------------------------------------

    // Every text given to OutputDebugString, one entry per call, unchanged.
    const std::vector<std::string>& debugOutput() const { return debugOutput_; }
    void clearDebugOutput() { debugOutput_.clear(); }
    // Also copies each text to stderr (for reading a failing test).
    void setDebugEcho(bool echo) { debugEcho_ = echo; }

    // The flags of every ExitWindowsEx request, in order.
    const std::vector<std::uint32_t>& exitWindowsRequests() const { return exitRequests_; }
    // ExitWindowsEx refuses with this error while it is not ERROR_SUCCESS.
    void setExitWindowsError(std::uint32_t error) { exitWindowsError_ = error; }

    // ---- Modules --------------------------------------------------------------------------

    // The program's own module handle (GetModuleHandle(null)), as Windows gives an .exe.
    static constexpr HModule kProgramModule = 0x00400000u;

    // Registers (or replaces) the image of the module with this base file name. A module
    // that is already loaded sees the new image at once.
    void registerModule(const std::string& baseName, ModuleImage image);
    void unregisterModule(const std::string& baseName);
    // The image behind a loaded module (or the program, when an image is registered under
    // the program's base name); null for a handle that is not loaded.
    const ModuleImage* moduleImage(HModule module) const;
    // Modules loaded and not yet freed, the program not counted.
    std::size_t loadedModuleCount() const { return modules_.size(); }
    // Their full paths with reference counts ("C:\\WINDOWS\\hvinf.dll (1)"), for a leak
    // message.
    std::vector<std::string> loadedModuleDescriptions() const;
    // References held on the loaded module with this base name; 0 when it is not loaded.
    std::uint32_t moduleReferenceCount(const std::string& baseName) const;
    // How many LoadLibrary calls succeeded so far (every one, including repeats).
    std::uint32_t loadLibraryCount() const { return loadCount_; }

    // ---- Processes --------------------------------------------------------------------------

    // Every start asked for, failed ones included, in order.
    const std::vector<ProcessStart>& processStarts() const { return starts_; }
    void clearProcessStarts() { starts_.clear(); }
    // Scripts the programs by base file name ("AXDist.exe"): their exit code, whether they
    // keep running until waited for without limit, or an error that refuses their start.
    void setProcessExitCode(const std::string& programBaseName, std::uint32_t exitCode);
    void setProcessKeepsRunning(const std::string& programBaseName, bool keepsRunning);
    void setProcessStartError(const std::string& programBaseName, std::uint32_t error);
    // Process handles handed out and not closed.
    std::size_t openProcessHandleCount() const { return processes_.size(); }

  private:
    struct LoadedModule {
        std::string path;      // full path it was loaded from
        std::string baseName;  // key of its image
        std::uint32_t references = 0;
    };
    struct RunningProcess {
        std::string program;
        std::uint32_t exitCode = 0;
        bool running = false;
    };
    struct ProgramScript {
        std::uint32_t exitCode = 0;
        bool keepsRunning = false;
        std::uint32_t startError = 0;
    };

    std::uint32_t fail(std::uint32_t error);
    std::uint32_t copyOut(const std::string& text, char* buffer, std::uint32_t size);
    std::string environment(const std::string& name) const;
    std::string programFolder() const;
    // The library and program search: the program's folder, the current folder, the system
    // folder, the Windows folder, then PATH. Empty when the file is nowhere.
    std::string searchFile(const std::string& name) const;
    std::string absolutePath(const std::string& path) const;
    HModule findLoaded(const std::string& path, const std::string& baseName) const;
    // The program that a command line names, searched as CreateProcess does; empty with the
    // error in *error when it does not exist.
    std::string findProgram(const std::string& commandLine, std::uint32_t* error) const;
    std::uint32_t startProcess(ProcessStart start, HProcess* process);
    const ProgramScript* scriptFor(const std::string& program) const;
    std::uint64_t nowUtcFileTime() const;
    Lcid resolveLocale(Lcid locale) const;

    std::uint32_t lastError_ = 0;
    OsVersionInfo version_;
    bool versionFails_ = false;
    std::string windowsDirectory_;
    std::string systemDirectory_;
    std::map<std::string, std::string> environment_;  // names in upper case
    std::string programPath_;
    std::string commandLine_;
    bool commandLineSet_ = false;
    Lcid userLocale_ = 0x0409;
    Lcid systemLocale_ = 0x0409;
    Lcid threadLocale_ = 0x0409;
    std::uint64_t utcBase_ = 0;  // 100 ns units since 1601
    std::uint64_t elapsedMs_ = 0;
    std::uint32_t tickBase_ = 0;
    int biasMinutes_ = 0;
    std::vector<std::string> debugOutput_;
    bool debugEcho_ = false;
    std::vector<std::uint32_t> exitRequests_;
    std::uint32_t exitWindowsError_ = 0;
    std::map<std::string, ModuleImage> images_;  // by upper-case base name
    std::map<HModule, LoadedModule> modules_;
    HModule nextModule_ = 0x10000000u;
    std::uint32_t loadCount_ = 0;
    std::vector<ProcessStart> starts_;
    std::map<std::string, ProgramScript> scripts_;  // by upper-case base name
    std::map<HProcess, RunningProcess> processes_;
    HProcess nextProcess_ = 0x100;
};

}  // namespace platform::host
