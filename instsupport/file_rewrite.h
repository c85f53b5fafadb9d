// Rewrites of start-up and INI files through a temporary file. The original is moved aside
// only once the new text is complete on disk, and put back when the new file cannot take its
// place, so a failure at any step leaves the file as it was.
#pragma once

#include <functional>
#include <string>

namespace instsupport {

// Reads `path` whole, passes the text to `edit` (which returns the new text and sets
// *changed), and, when it changed, writes it through `tempPath` into place. False when the
// file could not be read or replaced (it is then unchanged); true otherwise.
bool rewriteTextFile(const std::string& path, const std::string& tempPath,
                     const std::function<std::string(const std::string&, bool*)>& edit);

}  // namespace instsupport
