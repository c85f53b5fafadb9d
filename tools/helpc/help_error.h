// A refusal of the help compiler: the file and line at fault and the reason, written the way
// compilers report ("file:line: reason") so that editors and build logs can jump to it.
#pragma once

#include <stdexcept>
#include <string>

namespace helpc {

class HelpError : public std::runtime_error {
  public:
    HelpError(const std::string& file, int line, const std::string& reason)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + reason) {}
};

}  // namespace helpc
