// Rewrites of start-up and INI files through a temporary file. The original is moved aside
// only once the new text is complete on disk, and put back when the new file cannot take its
// place, so a failure at any step leaves the file as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace instsupport {

// Reads `path` whole (at most 8 MB). ERROR_SUCCESS, or the error of the open (for example
// ERROR_FILE_NOT_FOUND) or of the read.
std::uint32_t readTextFile(const std::string& path, std::string* out);

// Puts `text` in place of `path` through `tempPath` (a name of its own, in the same folder),
// as above; `exists` tells whether there is an original to move aside. True when the new
// text is in place; false when `path` is as it was.
bool replaceTextFile(const std::string& path, const std::string& tempPath, const std::string& text,
                     bool exists);

// Reads `path` whole, passes the text to `edit` (which returns the new text and sets
// *changed), and, when it changed, writes it through `tempPath` into place. False when the
// file could not be read or replaced (it is then unchanged); true otherwise.
bool rewriteTextFile(const std::string& path, const std::string& tempPath,
                     const std::function<std::string(const std::string&, bool*)>& edit);

}  // namespace instsupport
