// Where the tests find the source tree (fixtures, machine descriptions) and the build tree.
#pragma once
#include <string>

namespace tunara_test {

std::string sourcePath(const std::string& relative);
std::string binaryPath(const std::string& relative);

}  // namespace tunara_test
