// Windows paths as the simulated machine reads them: the absolute form of a path against a
// current drive and per-drive current directories, with the name rules of Windows 98.
//
//   "C:\\a\\b"  absolute          "C:a"  against C's current directory
//   "\\a"       on the current drive   "a"   against the current directory
//   '/' counts as '\\'; empty parts ("a\\\\b") and "." vanish, ".." goes up (never above
//   the root), trailing dots and spaces of a name are dropped ("a." is "a", "..." is "."),
//   as Windows does.
//
// Refused, with the errors the Win32 file functions answer:
//   - a name with a control character or one of < > : " | * ?   ERROR_INVALID_NAME
//     ('*' and '?' are allowed in the last name when the caller searches)
//   - a drive that is not a letter ("1:\\")                      ERROR_INVALID_NAME
//   - a name longer than 255 characters, or a path of 260 or more
//     characters (given or resulting; MAX_PATH counts the zero)  ERROR_FILENAME_EXCED_RANGE
//   - an empty path                                              ERROR_PATH_NOT_FOUND
//   - "\\\\server\\share" (this machine has no network)            ERROR_PATH_NOT_FOUND
//   - "\\\\.\\device"                                             ERROR_FILE_NOT_FOUND
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::host {

struct WindowsPath {
    char drive = 'C';                // upper case
    std::vector<std::string> names;  // from the root down, as given
    bool trailingSeparator = false;  // the text ended with '\\' after a name

    // "C:\\" or "C:\\a\\b".
    std::string text() const;
};

// Where relative paths start.
struct PathContext {
    char currentDrive = 'C';
    // The current directory of each drive ('A'..'Z'), as names below its root.
    std::vector<std::string> directories[26];
};

// Makes `path` absolute. `allowWildcards`: '*' and '?' may appear in the last name (which
// then keeps its trailing dots, since "*." means "names without an extension").
std::uint32_t absolutePath(const char* path, const PathContext& context, bool allowWildcards,
                           WindowsPath* result);

// True when the name holds '*' or '?'.
bool hasWildcards(const std::string& name);

}  // namespace platform::host
