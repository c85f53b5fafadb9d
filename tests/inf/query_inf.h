// The INF query of the differential test: opens one INF through an InfReader and asks every
// question the installation engine can ask about it, printing each answer as one line of text.
//
// The same code runs on the host over our own reader and under Wine over the system's
// SetupAPI; the two texts must be identical. Folders that differ between machines are
// printed as placeholders: <infdir> (the INF's own folder), <sysdir>, <windir>.
#pragma once

#include <functional>
#include <string>

#include "platform/inf_reader.h"

namespace tunara_test {

struct InfQueryPlaces {
    std::string infDirectory;  // full path of the INF's folder, no final backslash
    std::string windowsDirectory;
    std::string systemDirectory;
};

// Whether the reader's last failed call came without a code from the system (the code it
// returned was supplied by our own wrapper).
using NoSystemCode = std::function<bool()>;

// Every answer about the INF at `path`, opened in INF_STYLE_WIN4. `rawText` is the file's
// bytes, from which the names of sections to ask for are gathered by a plain scan
// independent of any reader.
//
// A failure the system reports without a code is printed "no system code, ours <code>": the
// code there is our wrapper's (and our own reader's) answer, not the system's. Over the
// system's SetupAPI `noSystemCode` tells which failures those are; without it (our own
// reader) they are the reads of a field the line does not have, where Wine's SetupAPI leaves
// the code unset, so both sides must agree on where the system is silent.
std::string queryInf(platform::InfReader& reader, const std::string& path,
                     const std::string& rawText, const InfQueryPlaces& places,
                     const NoSystemCode& noSystemCode = NoSystemCode());

}  // namespace tunara_test
