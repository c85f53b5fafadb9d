// The INF query of the differential test: opens one INF through an InfReader and asks every
// question the installation engine can ask about it, printing each answer as one line of text.
//
// The same code runs on the host over our own reader and under Wine over the system's
// SetupAPI; the two texts must be identical. Folders that differ between machines are
// printed as placeholders: <infdir> (the INF's own folder), <sysdir>, <windir>.
#pragma once

#include <string>

#include "platform/inf_reader.h"

namespace tunara_test {

struct InfQueryPlaces {
    std::string infDirectory;  // full path of the INF's folder, no final backslash
    std::string windowsDirectory;
    std::string systemDirectory;
};

// Every answer about the INF at `path`, opened in INF_STYLE_WIN4. `rawText` is the file's
// bytes, from which the names of sections to ask for are gathered by a plain scan
// independent of any reader.
std::string queryInf(platform::InfReader& reader, const std::string& path,
                     const std::string& rawText, const InfQueryPlaces& places);

}  // namespace tunara_test
