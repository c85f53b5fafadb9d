#include "tests/support/test_paths.h"

namespace tunara_test {

std::string sourcePath(const std::string& relative) {
    return std::string(TUNARA_SOURCE_DIR) + "/" + relative;
}

std::string binaryPath(const std::string& relative) {
    return std::string(TUNARA_BINARY_DIR) + "/" + relative;
}

}  // namespace tunara_test
