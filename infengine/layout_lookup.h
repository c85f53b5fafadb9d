// Finding a missing source file in the Windows distribution: the layout INFs named by the
// driver INF's "LayoutFile" line say which cabinet holds the file, and the cabinet lies in
// the distribution source folder (the "SourcePath" value of the Setup key).
#pragma once

#include <string>

namespace infengine {

// The Windows temp folder the engine extracts into: the Windows directory and "\temp\".
std::string extractionFolder();

// Looks the file named by `sourcePath` (its part after the last backslash) up in the layout
// INFs of engineState().layoutFiles, in order; the first layout that names both the file's
// disk and that disk's cabinet ends the search. When the member is then extracted from the
// cabinet into the extraction folder, true with *extractedPath the path of the extracted
// file. False when no layout names the file, the distribution source folder is unknown (no
// extraction is tried then) or the extraction failed.
bool fetchFromDistribution(const std::string& sourcePath, std::string* extractedPath);

}  // namespace infengine
