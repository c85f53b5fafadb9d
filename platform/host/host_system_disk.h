// Existence tests on the simulated machine's disk (platform::machine().files), for the
// loader, the process starter and the shell. Without an installed file system nothing exists.
#pragma once

#include <string>

namespace platform::host {

bool hostFileExists(const std::string& path);
bool hostFolderExists(const std::string& path);

}  // namespace platform::host
