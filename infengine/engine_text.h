// Texts that cross the library boundary: every output of the engine is a caller buffer of
// MAX_PATH bytes, and nothing is ever written past it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace infengine {

// Size of every caller buffer (MAX_PATH), terminating zero included.
constexpr std::size_t kTextSize = 260;

// Copies `text` into a caller buffer, cut to kTextSize - 1 characters, always terminated.
// Longer texts are cut without notice (callers get no truncation report). A null buffer is
// left alone.
void copyOut(char* buffer, std::string_view text);

// Empties a caller buffer (its first byte); a null buffer is left alone.
void clearOut(char* buffer);

// Equality without regard to the case of ASCII letters, as the engine's own name
// comparisons make it (the INF reader folds section and key names the same way).
bool equalNoCase(std::string_view a, std::string_view b);

// `path` up to and including its last backslash; empty without one.
std::string folderOf(const std::string& path);

// `path` after its last backslash; the whole path without one.
std::string fileNameOf(const std::string& path);

}  // namespace infengine
