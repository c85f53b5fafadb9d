// The gameport joystick's device description in the language of the Windows installation.
//
// Windows names the joystick on the card's gameport in its own language, and nothing in the
// registry says which language the installation has. The Start Menu's folder names do: the
// first of "start menu\programs" (English), "Menu D\xE9marrer\Programmes" (French) and
// "Startmen\xFC\Programme" (German) that exists below the Windows folder tells. Each is tried
// by making it the current directory, so the process is left in the first that exists.
#pragma once

#include <string>

namespace inspector {

constexpr const char* kJoystickNameEnglish = "Gameport Joystick";
constexpr const char* kJoystickNameFrench = "Port pour manette de jeu";
constexpr const char* kJoystickNameGerman = "Gameport-Joystick";

// "Port pour manette de jeu" for French, "Gameport-Joystick" for German, "Gameport Joystick"
// for English or when no Start Menu folder is found (or the Windows folder is unknown).
std::string joystickNameForWindowsLanguage();

}  // namespace inspector
