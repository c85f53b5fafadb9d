// Helpers of the installer support tests: files on the simulated disk and the fixtures
// built from testdata/.
#pragma once

#include <optional>
#include <string>

#include "tests/support/machine_test.h"

namespace tunara_test {

// Writes `text` as the whole file (its folder must exist).
void writeMachineFile(const std::string& path, const std::string& text);
// The whole file, or nothing when it cannot be read.
std::optional<std::string> readMachineFile(const std::string& path);
bool machineFileExists(const std::string& path);
// Creates the folders of a path, one level at a time ("C:\\WINDOWS\\SYSTEM").
void makeMachineFolders(const std::string& path);
// The bytes of a built fixture (helvane.dll, sample.txt_ ...).
std::string fixtureBytes(const std::string& name);

}  // namespace tunara_test
