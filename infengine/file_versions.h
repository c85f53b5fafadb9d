// Version resources of installed and packaged files, as CompareFileVersions and the DirectX
// check read them (GetFileVersionInfo and VerQueryValue through the platform).
#pragma once

#include <cstdint>
#include <string>

namespace infengine {

struct FileVersion {
    // The "FileVersion" text of the first language and code page of the translation table
    // that has one (empty when none has), cut to 259 characters.
    std::string text;
    // The product version of the fixed information (0 when the block has none).
    std::uint32_t productMS = 0;
    std::uint32_t productLS = 0;
};

// False when the file has no version resource that can be read.
bool readFileVersion(const char* path, FileVersion* version);

// The comparison of two version records (B against A: negative when B is older). A text
// that starts "4.10.01." and has at least 15 characters is a combined text
// ("4.10.01.1998-1.2.3.4": the Windows build, then after the first "-" the file's own
// version); see file_versions.cpp.
std::int32_t compareVersions(const FileVersion& a, const FileVersion& b);

}  // namespace infengine
