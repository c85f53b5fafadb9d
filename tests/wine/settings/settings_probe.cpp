// Builds the settings object the way both programs do at start and prints every field as
// key=value, one a line, for the Wine end-to-end check of the settings core.
//
//   settings_probe
//
// The fields are printed after construction; then the probe gives the object a (hidden)
// owner window, which reads the microphone boost from the mixer, and reads the output device
// from DirectSound, and prints the fields those change. "pciKey" and "waveKey" are the two
// Enum keys the object looked up, put together from its fields.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/win32_machine.h"
#include "settings/tunara_settings.h"

namespace {

void print(const char* key, const std::string& value) {
    std::printf("%s=%s\n", key, value.c_str());
}

void print(const char* key, bool value) {
    print(key, std::string(value ? "1" : "0"));
}

void printNumber(const char* key, unsigned long value) {
    std::printf("%s=%lu\n", key, value);
}

void printAll(const settings::tunaraSettings& s) {
    print("joystickValueName", s.joystickValueName);
    printNumber("soundLibSize", static_cast<unsigned long>(s.soundLibSize));
    printNumber("activeWavetableSize", static_cast<unsigned long>(s.activeWavetableSize));
    print("hwAcceleration", s.hwAcceleration);
    print("trayAutoStart", s.trayAutoStart);
    print("micBoost", s.micBoost);
    print("micMute", s.micMute);
    print("joystickDisabled", s.joystickDisabled);
    print("gameSupport", s.gameSupport);
    print("speakersOutput", s.speakersOutput);
    print("spdif", s.spdif);
    print("enableSpdif", s.enableSpdif);
    print("productTitle", s.productTitle);
    print("driverClassKey", s.driverClassKey);
    print("configKey", s.configKey);
    printNumber("speakerConfig", s.speakerConfig);
    print("resourceModule", s.resourceModule != 0);
    print("directSound", s.directSound != 0);
    print("pciLocation", s.pciLocation);
    print("hardwareIdPrefix", s.hardwareIdPrefix);
    print("instanceSuffix", s.instanceSuffix);
    print("pciEnumKey", s.pciEnumKey);
    print("isMaestro2E", s.isMaestro2E);
    print("ownerWindow", s.ownerWindow != 0);
    print("infNeedsUpdate", s.infNeedsUpdate);
    print("cardPresent", s.cardPresent);
    print("driverKeysFound", s.driverKeysFound);
    print("pciKey", s.pciEnumKey + "\\" + s.pciLocation);
    print("waveKey", std::string(settings::kWaveEnumKey) + s.hardwareIdPrefix + s.instanceSuffix);
}

}  // namespace

int main() {
    platform::win32::Win32Machine machine;
    int exitCode = 0;
    HWND owner = nullptr;
    {
        settings::tunaraSettings s;
        std::printf("[constructed]\n");
        printAll(s);

        // A hidden window stands in for the property sheet: the mixer notifies it.
        owner = CreateWindowExA(0, "STATIC", "settings_probe", 0, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        if (owner == nullptr) {
            std::printf("FAIL: no owner window (%lu)\n", GetLastError());
            exitCode = 1;
        }
        s.setOwnerWindow(reinterpret_cast<platform::HWnd>(owner));
        s.readSpeakerOutput();
        std::printf("[owned]\n");
        printAll(s);
    }
    // The object has closed its mixer handle: the window may go.
    if (owner != nullptr) DestroyWindow(owner);
    std::fflush(stdout);
    return exitCode;
}
