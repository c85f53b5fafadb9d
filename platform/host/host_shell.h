// The shell of the simulated machine: shortcut files and document associations.
//
// Shortcuts are small text files on the machine's disk (platform::machine().files), so the
// product finds, copies and deletes them like any file and a test reads them back with Load:
//
//     [HostShellLink]
//     Target=C:\WINDOWS\SYSTEM\tunaractl.exe
//     Arguments=
//     WorkingDirectory=
//     Description=Shortcut to Tunara Properties
//     IconLocation=
//     IconIndex=0
//
// ('%', CR and LF inside a field are written as %25, %0D and %0A.) COM must be initialised
// (CoInitialize) before a link object can be created, as with the real ShellLink class.
// FindExecutable reads the document's type from the machine's registry (HKEY_CLASSES_ROOT
// ".ext" -> class -> shell\<verb>\command) and takes the program from the command.
//
// Not thread-safe: the product runs on one thread.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/shell.h"
#include "platform/system.h"

namespace platform::host {

// The operations a planned failure can be attached to.
enum class ShellOperation {
    CreateShellLink,
    SetPath,
    SetArguments,
    SetWorkingDirectory,
    SetDescription,
    SetIconLocation,
    Save,
    Load,
};

// The fields of a shortcut.
struct ShellLinkFields {
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    std::string description;
    std::string iconLocation;
    int iconIndex = 0;
};

class HostShell : public Shell {
  public:
    // `system` gives the Windows and system folders for the program search of
    // FindExecutable.
    explicit HostShell(System& system);
    ~HostShell() override;
    HostShell(const HostShell&) = delete;
    HostShell& operator=(const HostShell&) = delete;

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

    // Makes every later call of `operation` fail with `error` (a failing HRESULT);
    // S_OK removes the failure.
    void setFailure(ShellOperation operation, HResult error);

    // Successful CoInitialize calls not yet balanced by CoUninitialize.
    int comInitializations() const { return comInitializations_; }
    // Link objects created and not released.
    std::size_t openLinkCount() const { return links_.size(); }

    // Reads a shortcut file written by Save; false when it is missing or no shortcut.
    bool readLinkFile(const std::string& fileName, ShellLinkFields* fields) const;
    // Writes a shortcut file directly (for machine descriptions); false on a file error.
    bool writeLinkFile(const std::string& fileName, const ShellLinkFields& fields) const;

  private:
    struct Link {
        ShellLinkFields fields;
        std::string currentFile;
    };

    // Writes the whole shortcut file; the file error, with no file left behind on failure.
    static std::uint32_t writeLink(const std::string& fileName, const ShellLinkFields& fields);
    Link* find(HShellLink link);
    HResult failure(ShellOperation operation) const;
    HResult setField(HShellLink link, ShellOperation operation, std::string ShellLinkFields::*field,
                     const char* value);
    HResult getField(HShellLink link, const std::string ShellLinkFields::*field, char* buffer,
                     int size);

    System& system_;
    int comInitializations_ = 0;
    std::map<HShellLink, Link> links_;
    HShellLink nextLink_ = 0x5000;
    std::map<ShellOperation, HResult> failures_;
};

}  // namespace platform::host
