#include "props/logic/help_path.h"

#include "platform/machine.h"
#include "platform/system.h"

namespace props {

std::string buildHelpFilePath(const std::string& systemDirectory, const std::string& languageName) {
    std::string code = languageName.substr(0, 3);
    if (code.size() >= 3) code[2] = '_';
    std::string path = systemDirectory;
    if (code == "en_")
        path += "\\tunara";
    else
        path += "\\tnrmx" + code;
    path += ".hlp";
    if (path.size() + 1 > kHelpPathCapacity) return std::string();
    return path;
}

std::string helpFilePathForThread() {
    platform::System& system = *platform::machine().system;
    char folder[260] = {};
    std::uint32_t length = system.GetSystemDirectory(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return std::string();
    char name[4] = {};
    platform::Lcid language = system.GetThreadLocale() & 0xFFFF;
    if (system.GetLocaleInfo(language, LOCALE_SABBREVLANGNAME, name, sizeof name) == 0) name[0] = 0;
    return buildHelpFilePath(folder, name);
}

}  // namespace props
