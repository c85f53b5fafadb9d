// The file-name pattern match of the setup script (`strpat`): '*' and '?' over whole texts,
// letters a to z without regard to case.
#pragma once

namespace instsupport {

// Longest text or pattern accepted: the work copies hold 260 bytes with the two marks and
// the zero. Longer input is refused (no match) rather than cut short.
constexpr int kMaxPatternInput = 257;

// 1 when the whole `text` matches `pattern`, 0 otherwise or when either is null or too long.
// A star takes the first occurrence of the text that follows it (up to the next '*' or '?');
// there is no second try with a later one.
int matchPattern(const char* text, const char* pattern);

}  // namespace instsupport
