// The hash under which a topic's context name is filed in |CONTEXT: the help viewer hashes a
// name it is asked for the same way and looks the value up.
#pragma once

#include <cstdint>
#include <string>

namespace helpc {

// Letters (either case), digits, '.' and '_' count; WinHelp ignores other characters, so
// context names are made of these only (the context list refuses others).
std::int32_t contextHash(const std::string& name);

bool validContextName(const std::string& name);

}  // namespace helpc
