// The help files carry Windows-1252 text (the charset of |SYSTEM says so); a source line that
// does not fit that code page is refused rather than shown as wrong letters.
#pragma once

#include <string>

namespace helpc {

// Empty when every byte of `line` is a printable Windows-1252 character (tabs allowed);
// otherwise the reason, naming the first offending byte and its column.
std::string codePageProblem(const std::string& line);

}  // namespace helpc
