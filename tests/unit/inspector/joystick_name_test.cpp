// The joystick's name follows the language of the Start Menu's folder names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "inspector/joystick_name.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "tests/support/machine_test.h"

namespace {

struct LanguageCase {
    std::vector<const char*> folders;  // below C:\WINDOWS, created in this order
    const char* joystickName;
    const char* currentDirectory;  // afterwards; nullptr: left as it was
};

const LanguageCase kLanguageCases[] = {
    {{}, "Gameport Joystick", nullptr},
    {{"Start Menu", "Start Menu\\Programs"}, "Gameport Joystick",
     "C:\\WINDOWS\\Start Menu\\Programs"},
    {{"Menu D\xE9marrer", "Menu D\xE9marrer\\Programmes"}, "Port pour manette de jeu",
     "C:\\WINDOWS\\Menu D\xE9marrer\\Programmes"},
    {{"Startmen\xFC", "Startmen\xFC\\Programme"}, "Gameport-Joystick",
     "C:\\WINDOWS\\Startmen\xFC\\Programme"},
    // The first in the order English, French, German wins.
    {{"Startmen\xFC", "Startmen\xFC\\Programme", "Menu D\xE9marrer", "Menu D\xE9marrer\\Programmes"},
     "Port pour manette de jeu", "C:\\WINDOWS\\Menu D\xE9marrer\\Programmes"},
    {{"Menu D\xE9marrer", "Menu D\xE9marrer\\Programmes", "Start Menu", "Start Menu\\Programs"},
     "Gameport Joystick", "C:\\WINDOWS\\Start Menu\\Programs"},
    // A Start Menu without its Programs folder says nothing.
    {{"Start Menu", "Startmen\xFC", "Startmen\xFC\\Programme"}, "Gameport-Joystick",
     "C:\\WINDOWS\\Startmen\xFC\\Programme"},
};

class JoystickName : public tunara_test::MachineTest {};

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace

TEST_F(JoystickName, FollowsTheStartMenuLanguage) {
    for (const LanguageCase& c : kLanguageCases) {
        loadMachine("");
        platform::FileSystem& files = *platform::machine().files;
        files.CreateDirectory("C:\\WINDOWS");
        for (const char* folder : c.folders) {
            ASSERT_EQ(files.CreateDirectory((std::string("C:\\WINDOWS\\") + folder).c_str()),
                      ERROR_SUCCESS);
        }
        ASSERT_EQ(files.SetCurrentDirectory("C:\\WINDOWS"), ERROR_SUCCESS);

        EXPECT_EQ(inspector::joystickNameForWindowsLanguage(), c.joystickName);
        std::string current;
        ASSERT_EQ(files.GetCurrentDirectory(&current), ERROR_SUCCESS);
        EXPECT_EQ(upper(current), upper(c.currentDirectory ? c.currentDirectory : "C:\\WINDOWS"))
            << c.joystickName;
    }
}
