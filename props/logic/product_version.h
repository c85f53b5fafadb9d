// The version of the properties program that the support information dialog shows: the
// "ProductVersion" text of tunaractl.exe in the system folder.
#pragma once

#include <string>

namespace props {

// Reads the version block of the system folder's "tunaractl.exe" through the machine's
// files and returns the ProductVersion text of its first language and code page pair
// ("\\StringFileInfo\\<language><code page>\\ProductVersion", four lower-case hex digits
// each), at most 259 characters. Empty when the file, its version block, its translation
// or that text is missing, or the path would not fit 260 bytes.
std::string installedProductVersion();

}  // namespace props
