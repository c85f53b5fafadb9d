#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/hardware/win32_installable_drivers.h"

namespace platform::win32 {
namespace {

using OpenDriverAFunction = HDRVR(WINAPI*)(LPCSTR, LPCSTR, LPARAM);

// `text` widened into `wide` (MAX_PATH characters); false when it does not fit.
bool widen(const char* text, WCHAR (&wide)[MAX_PATH]) {
    return MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH) != 0;
}

}  // namespace

HDriver Win32InstallableDrivers::OpenDriver(const char* driverName, const char* sectionName,
                                            std::intptr_t param) {
    if (driverName == nullptr) return 0;
    if (HMODULE winmm = GetModuleHandleA("winmm.dll")) {
        const auto openAnsi = reinterpret_cast<OpenDriverAFunction>(
            reinterpret_cast<void*>(GetProcAddress(winmm, "OpenDriverA")));
        if (openAnsi != nullptr) {
            return reinterpret_cast<HDriver>(openAnsi(driverName, sectionName, param));
        }
    }
    WCHAR wideName[MAX_PATH];
    WCHAR wideSection[MAX_PATH];
    if (!widen(driverName, wideName)) return 0;
    if (sectionName != nullptr && !widen(sectionName, wideSection)) return 0;
    return reinterpret_cast<HDriver>(
        ::OpenDriver(wideName, sectionName != nullptr ? wideSection : nullptr, param));
}

std::intptr_t Win32InstallableDrivers::SendDriverMessage(HDriver driver, std::uint32_t message,
                                                         std::intptr_t param1,
                                                         std::intptr_t param2) {
    if (driver == 0) return 0;
    return ::SendDriverMessage(reinterpret_cast<HDRVR>(driver), message, param1, param2);
}

std::intptr_t Win32InstallableDrivers::CloseDriver(HDriver driver, std::intptr_t param1,
                                                   std::intptr_t param2) {
    if (driver == 0) return 0;
    return ::CloseDriver(reinterpret_cast<HDRVR>(driver), param1, param2);
}

}  // namespace platform::win32
