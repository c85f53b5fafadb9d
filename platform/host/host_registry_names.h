// Names and paths of the simulated registry: the predefined roots under their long and short
// names, the length limits, ASCII case-insensitive comparison and the splitting of a sub key
// path into its parts, with the error codes Windows gives for malformed paths.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform::host {

// Longest key name (one path part) and value name, in characters without the zero.
constexpr std::uint32_t kMaxKeyNameLength = 255;
constexpr std::uint32_t kMaxValueNameLength = 255;      // Windows 95/98
constexpr std::uint32_t kMaxNtValueNameLength = 16383;  // Windows NT

// Deepest key, in levels below its root (HKEY_CLASSES_ROOT's keys start 2 levels deep).
constexpr std::uint32_t kMaxKeyDepth = 512;

struct RegistryRootName {
    HKey key;
    const char* longName;   // "HKEY_LOCAL_MACHINE", as regedit writes it
    const char* shortName;  // "HKLM", accepted on import
};

// The roots this registry has, in the order an export of everything would list them.
extern const RegistryRootName kRegistryRootNames[6];

// True for every predefined root value (HKEY_CLASSES_ROOT .. HKEY_DYN_DATA), including
// HKEY_PERFORMANCE_DATA, which Windows 98 does not have.
bool isPredefinedRoot(HKey key);

// The root of that value or name (long or short, ASCII case ignored); null when unknown.
const RegistryRootName* rootByKey(HKey key);
const RegistryRootName* rootByName(std::string_view name);

bool equalsIgnoringCase(std::string_view a, std::string_view b);
// True when `needle` occurs in `haystack`, ASCII case ignored; an empty needle always does.
bool containsIgnoringCase(std::string_view haystack, std::string_view needle);

// Splits a sub key path at '\'. Null or empty gives no parts; one trailing '\' is dropped.
// ERROR_BAD_PATHNAME: the path starts with '\' or has an empty part ("a\\b", "a\\").
// ERROR_INVALID_PARAMETER: a part is longer than kMaxKeyNameLength.
// On failure `parts` is left as it was. The views point into `path`.
std::uint32_t splitKeyPath(std::string_view path, std::vector<std::string_view>* parts);
std::uint32_t splitKeyPath(const char* path, std::vector<std::string_view>* parts);

}  // namespace platform::host
