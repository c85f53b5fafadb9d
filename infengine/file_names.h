// File names as the engine takes them from INF lines.
//
// A name is made of the 65 characters
//   abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890\._
// and ends at the first character outside that set: "a-b.dll" is the name "a", and a space,
// a comma or a flag field ends a name too.
#pragma once

#include <string>
#include <string_view>

namespace infengine {

// The leading part of `text` that is made of file-name characters.
std::string cutFileName(std::string_view text);

}  // namespace infengine
