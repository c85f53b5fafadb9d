// Destination-directory ids of the "DestinationDirs" section.
//
//   "10"  the Windows directory
//   "11"  the system directory
//   "12"  the system directory followed by "\\Drivers"
//   "17"  the Windows directory followed by "\\Inf"
//   "30"  the boot drive: the first two characters of the Windows directory ("C:")
//
// Only the first two characters name the id; when the third is a comma, a backslash and the
// rest of the text (a subdirectory, "11,iosubsys") are appended.
#pragma once

#include <string>

namespace infengine {

// Resolves `text` into *directory. False for an id outside the table; *directory is then
// untouched.
bool resolveDirectoryId(const std::string& text, std::string* directory);

}  // namespace infengine
