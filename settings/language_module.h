// Choosing and loading the language resource module (cnctl<code>.dll).
//
// Neither user program carries its own texts or dialog templates: they come from a
// resource-only library per language, found next to the programs by the normal library
// search. The programs call loadLanguageModule("cnctl", 0) once at start and take every
// string, dialog, menu, icon and bitmap from the handle it returns (resource numbers in
// lang/resource_ids.h).
#pragma once

#include <string>

#include "platform/system.h"

namespace settings {

// The prefix both programs use.
constexpr const char* kLanguageModulePrefix = "cnctl";

// The file name of a module: prefix + language code + ".dll" ("cnctl" + "FR_" gives
// "cnctlFR_.dll").
std::string languageModuleFileName(const std::string& prefix, const std::string& code);

// Loads the language module for `locale` and returns its handle, or 0 when none loads.
//
// locale != 0: the locale becomes the thread locale (SetThreadLocale) and only the module
//   of its abbreviated language name (LOCALE_SABBREVLANGNAME, "FRA") is tried; no fallback.
// locale == 0: the thread locale's language: first its own code ("FRA"), then the code
//   with '_' as third character ("FR_"), then "en_".
//
// A load counts as failed when the handle, read as a signed 32-bit number, is below 32:
// the failure convention of 16-bit Windows, which also covers the null handle. A module
// that did load (above 2 GB) but is refused by that test is freed again before the next
// attempt. When
// the language name cannot be read (an unknown locale) the attempts that need it are
// skipped. The caller owns the returned handle (FreeLibrary).
platform::HModule loadLanguageModule(const char* prefix, platform::Lcid locale);

}  // namespace settings
