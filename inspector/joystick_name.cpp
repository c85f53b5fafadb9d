#include "inspector/joystick_name.h"

#include <cstdint>

#include "platform/files.h"
#include "platform/machine.h"
#include "platform/system.h"

namespace inspector {

namespace {

constexpr std::uint32_t kMaxPath = 260;

struct StartMenuLanguage {
    const char* programsFolder;  // below the Windows folder
    const char* joystickName;
};

// In the order Windows is most often found in. Accented letters are Windows-1252 bytes.
constexpr StartMenuLanguage kLanguages[] = {
    {"\\start menu\\programs", kJoystickNameEnglish},
    {"\\Menu D\xE9marrer\\Programmes", kJoystickNameFrench},
    {"\\Startmen\xFC\\Programme", kJoystickNameGerman},
};

}  // namespace

std::string joystickNameForWindowsLanguage() {
    char windows[kMaxPath] = {};
    const std::uint32_t length = platform::machine().system->GetWindowsDirectory(windows, kMaxPath);
    if (length == 0 || length >= kMaxPath) return kJoystickNameEnglish;

    for (const StartMenuLanguage& language : kLanguages) {
        const std::string folder = std::string(windows, length) + language.programsFolder;
        if (folder.size() >= kMaxPath) continue;
        if (platform::machine().files->SetCurrentDirectory(folder.c_str()) == ERROR_SUCCESS) {
            return language.joystickName;
        }
    }
    return kJoystickNameEnglish;
}

}  // namespace inspector
