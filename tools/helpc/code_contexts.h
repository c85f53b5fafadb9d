// The help context numbers that the program's code asks for, read from its C++ sources:
// - calls `helpContext(window, N)`: a Help button or F1, which opens topic N;
// - control-to-context tables `{control, N, control, N, ..., 0, 0}` (a brace list of pairs
//   ended by a pair of zeros), whose numbers WinHelp shows as "What's this?" popups.
// A context that is not a plain decimal number is refused, so that a table written another way
// fails the build instead of escaping the check.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace helpc {

struct CodeContext {
    std::uint32_t number = 0;
    bool helpButton = false;  // asked for by helpContext (needs a full topic)
    std::string file;
    int line = 0;
};

std::vector<CodeContext> scanCodeContexts(const std::string& file, const std::string& text);

}  // namespace helpc
