// The help files carry Windows-1252 text (the charset of |SYSTEM says so); a source that does
// not fit that code page is refused rather than shown as wrong letters.
#pragma once

#include <string>

namespace helpc {

// Empty when every byte of `line` is a printable Windows-1252 character (tabs allowed);
// otherwise the reason, naming the first offending byte and its column.
std::string codePageProblem(const std::string& line);

// True when `text` holds UTF-8 sequences and nothing that is not UTF-8: a file saved in the
// wrong encoding ("Ã¼" for "ü"). Genuine Windows-1252 text with accented letters is almost
// never valid UTF-8 as a whole, so the test looks at the whole file, not at single lines.
bool isUtf8Text(const std::string& text);

}  // namespace helpc
