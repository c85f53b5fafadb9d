// The WinHelp file of the properties program: "tunara.hlp" for the neutral English module,
// "tnrmx" + language code + ".hlp" for every other language, in the system folder.
#pragma once

#include <cstddef>
#include <string>

namespace props {

// The application keeps the path in a buffer of this many characters, zero included.
constexpr std::size_t kHelpPathCapacity = 100;

// The path for the system folder and the thread language's abbreviated name ("DEU"): the
// name's third character becomes '_' ("DE_"); exactly "en_" (case-sensitive) selects
// "\tunara.hlp", anything else "\tnrmx" + the three characters + ".hlp". A name shorter than
// three characters is used as far as it goes. When the whole path would not fit the
// 100-character buffer the result is empty: help then finds no file, which is better than a
// path cut off in the middle that could name some other file.
std::string buildHelpFilePath(const std::string& systemDirectory, const std::string& languageName);

// The same from the running system: GetSystemDirectoryA and the LOCALE_SABBREVLANGNAME of the
// thread locale's language (a 4-character buffer). A system folder that cannot be read gives
// an empty path.
std::string helpFilePathForThread();

}  // namespace props
