// The names by which the inspector recognises the card's devices in their descriptions.
//
// A device node belongs to the card when its "DeviceDesc" contains one of the names as a
// substring, letter case as written (the driver INF sets the descriptions; other makers'
// devices never carry these words in this case). The gameport joystick's own name depends on
// the language of the Windows installation (joystick_name.h) and is passed in.
#pragma once

#include <string>

namespace inspector {

constexpr const char* kGameportDevice = "Gameport Device";
constexpr const char* kGameportJoystickEnglish = "Gameport Joystick";
constexpr const char* kGameportJoystickFrenchDriver = "Manette de jeu pour port jeu";
constexpr const char* kMainDevice = "Device Manager";
constexpr const char* kFmDevice = "DOS Games/FM Devices";
constexpr const char* kTunaraEnumerator = "Tunara Enumerator";
constexpr const char* kMaestroEnumerator = "Maestro Enumerator";
constexpr const char* kMultiDeviceEnumerator = "Tunara Multi-Device Enumerator";
constexpr const char* kWavetableDevice = "WaveTable Synthesis Device";
constexpr const char* kMpu401Device = "MPU401 Device";

// True when `description` contains `name`. An empty name matches nothing (it would otherwise
// make every device the card's).
bool descriptionContains(const char* description, const char* name);

// The joystick's name in the Windows language, "Gameport Device", or one of the fixed
// joystick names.
bool isGameportDescription(const char* description, const std::string& joystickName);

// One of the card's bus enumerators.
bool isEnumeratorDescription(const char* description);

// Any of the card's devices.
bool isCardDescription(const char* description, const std::string& joystickName);

}  // namespace inspector
