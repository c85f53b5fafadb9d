#include "inspector/device_names.h"

#include <cstring>

namespace inspector {

bool descriptionContains(const char* description, const char* name) {
    if (description == nullptr || name == nullptr || name[0] == '\0') return false;
    return std::strstr(description, name) != nullptr;
}

bool isGameportDescription(const char* description, const std::string& joystickName) {
    return descriptionContains(description, joystickName.c_str()) ||
           descriptionContains(description, kGameportDevice) ||
           descriptionContains(description, kGameportJoystickEnglish) ||
           descriptionContains(description, kGameportJoystickFrenchDriver);
}

bool isEnumeratorDescription(const char* description) {
    return descriptionContains(description, kTunaraEnumerator) ||
           descriptionContains(description, kMaestroEnumerator) ||
           descriptionContains(description, kMultiDeviceEnumerator);
}

bool isCardDescription(const char* description, const std::string& joystickName) {
    return isGameportDescription(description, joystickName) ||
           descriptionContains(description, kMainDevice) ||
           descriptionContains(description, kFmDevice) || isEnumeratorDescription(description) ||
           descriptionContains(description, kWavetableDevice) ||
           descriptionContains(description, kMpu401Device);
}

}  // namespace inspector
