// The Windows shell: shortcut (.lnk) files through the shell-link object, and the
// program associated with a document.
//
// Shortcuts follow the COM sequence the product uses: CoInitialize for the thread, create the
// shell-link object, set its fields one by one, save it through its persist-file side,
// release it, CoUninitialize. The caller owns COM initialisation, so that it decides when
// the library is loaded and unloaded; creating a link without it fails as COM does. Results
// are HRESULTs (S_OK, E_FAIL, ...), as the COM methods return them. Paths are 8-bit ANSI
// text (the link file name is converted to UTF-16 through the ANSI code page on saving).
#pragma once

#include <cstdint>

#include "platform/win32_constants.h"

namespace platform {

// An HRESULT: 0 or above is success.
using HResult = std::int32_t;
// One shell-link object (IShellLinkA with its IPersistFile). 0 is never valid.
using HShellLink = std::uintptr_t;

inline bool succeeded(HResult result) {
    return result >= 0;
}

// HRESULT_FROM_WIN32: how the shell-link object reports a failed file operation.
inline HResult hresultFromWin32(std::uint32_t error) {
    return error == 0 ? 0 : static_cast<HResult>((error & 0xFFFFu) | 0x80070000u);
}

class Shell {
  public:
    virtual ~Shell() = default;

    // CoInitialize(NULL) for the calling thread. S_OK, or S_FALSE when it was already
    // initialised (that call must be balanced too). Every success needs one CoUninitialize.
    virtual HResult CoInitialize() = 0;

    // CoUninitialize: ends one successful CoInitialize. Links still open are not released
    // by it; the caller releases them first.
    virtual void CoUninitialize() = 0;

    // CoCreateInstance(CLSID_ShellLink, in-process server) for IShellLinkA, with its
    // IPersistFile taken at once. S_OK and *link; CO_E_NOTINITIALIZED without CoInitialize;
    // REGDB_E_CLASSNOTREG or E_OUTOFMEMORY otherwise, *link untouched.
    virtual HResult CreateShellLink(HShellLink* link) = 0;

    // IShellLinkA::SetPath: the target (a file or folder path). E_INVALIDARG for a null or
    // empty path or a bad link.
    virtual HResult SetPath(HShellLink link, const char* path) = 0;

    // IShellLinkA::SetArguments / SetWorkingDirectory / SetDescription. Null means empty.
    // E_INVALIDARG for a bad link.
    virtual HResult SetArguments(HShellLink link, const char* arguments) = 0;
    virtual HResult SetWorkingDirectory(HShellLink link, const char* folder) = 0;
    virtual HResult SetDescription(HShellLink link, const char* description) = 0;

    // IShellLinkA::SetIconLocation: icon `index` of the file `iconPath`.
    virtual HResult SetIconLocation(HShellLink link, const char* iconPath, int index) = 0;

    // IPersistFile::Save to `fileName` (at most 259 characters), replacing a file of that
    // name; `remember` makes it the object's current file. A folder that does not exist or a
    // file that cannot be written fails with hresultFromWin32 of the file error (0x80070003
    // for a missing folder, 0x80070005 for a read-only file or a folder) and leaves no file.
    virtual HResult Save(HShellLink link, const char* fileName, bool remember) = 0;

    // IPersistFile::Load of an existing shortcut file into the object, replacing its fields.
    // hresultFromWin32(ERROR_FILE_NOT_FOUND) when there is no such file, E_FAIL when it is
    // no shortcut.
    virtual HResult Load(HShellLink link, const char* fileName) = 0;

    // IShellLinkA::GetPath (raw path, no find data): the target, truncated to size - 1
    // characters and terminated. S_FALSE and an empty text when the link has no target.
    virtual HResult GetPath(HShellLink link, char* buffer, int size) = 0;

    // IShellLinkA::GetArguments / GetWorkingDirectory / GetDescription, same buffer rule.
    virtual HResult GetArguments(HShellLink link, char* buffer, int size) = 0;
    virtual HResult GetWorkingDirectory(HShellLink link, char* buffer, int size) = 0;
    virtual HResult GetDescription(HShellLink link, char* buffer, int size) = 0;

    // IShellLinkA::GetIconLocation, same buffer rule; *index receives the icon index.
    virtual HResult GetIconLocation(HShellLink link, char* buffer, int size, int* index) = 0;

    // Releases both interfaces of the object. A bad or already released link is ignored.
    virtual void ReleaseShellLink(HShellLink link) = 0;

    // FindExecutableA: the program that opens `file` (looked up in `directory` when the
    // file name has no folder; null means the current folder). Writes the program path into
    // `result` (260 bytes; emptied first) and returns a value above 32 on success;
    // SE_ERR_FNF when the file does not exist, SE_ERR_PNF for a bad folder, SE_ERR_NOASSOC
    // when no program is associated with its type, SE_ERR_OOM (0) when out of resources.
    // A program file (".exe", ".com", ".bat", ".pif") is its own program.
    virtual std::uintptr_t FindExecutable(const char* file, const char* directory,
                                          char* result) = 0;
};

}  // namespace platform
