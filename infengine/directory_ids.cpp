#include "infengine/directory_ids.h"

#include "infengine/engine_state.h"

namespace infengine {

bool resolveDirectoryId(const std::string& text, std::string* directory) {
    const std::string id = text.substr(0, 2);
    std::string resolved;
    if (id == "10") {
        resolved = windowsDirectory();
    } else if (id == "11") {
        resolved = systemDirectory();
    } else if (id == "12") {
        resolved = systemDirectory() + "\\Drivers";
    } else if (id == "17") {
        resolved = windowsDirectory() + "\\Inf";
    } else if (id == "30") {
        resolved = windowsDirectory().substr(0, 2);
    } else {
        return false;
    }
    if (text.size() > 2 && text[2] == ',') resolved += "\\" + text.substr(3);
    *directory = resolved;
    return true;
}

}  // namespace infengine
