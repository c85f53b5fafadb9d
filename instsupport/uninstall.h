// The uninstall entry points. UninstInitialize saves what the later steps need (a copy of
// the product's uninstall key as "HVTemp", the INF files and the engine libraries in the
// Windows folder), runs the product's uninstall program and removes the driver
// registrations; UninstUnInitialize carries out the uninstall INF and deletes what was saved.
#pragma once

#include <string>

#include "platform/ui.h"

namespace instsupport {

constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kTemporaryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\HVTemp";

// Both return 0 in every case, so the uninstall program always goes on; failures are shown
// in message boxes owned by `owner`.
int uninstInitialize(platform::HWnd owner);
int uninstUnInitialize(platform::HWnd owner);

// The steps, for the entry points and the tests.
void copyUninstallSettings(const std::string& keyName, bool* minimum);
void runUninstallProgram(platform::HWnd owner);
void removeDriverRegistrations(platform::HWnd owner);
void processUninstallInf(platform::HWnd owner);

}  // namespace instsupport
