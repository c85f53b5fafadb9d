// The locales the simulated machine knows, with the texts GetLocaleInfoA gives for them on
// an English Windows 98 (localised names in English; native names in the locale's own ANSI
// code page).
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace platform::host {

struct LocaleFacts {
    Lcid id;
    const char* abbrevLanguage;   // LOCALE_SABBREVLANGNAME: "ENU", "DEU", ...
    const char* language;         // LOCALE_SLANGUAGE: "English (United States)"
    const char* englishLanguage;  // LOCALE_SENGLANGUAGE: "English"
    const char* nativeLanguage;   // LOCALE_SNATIVELANGNAME
    const char* country;          // LOCALE_SCOUNTRY
    const char* englishCountry;   // LOCALE_SENGCOUNTRY
    const char* abbrevCountry;    // LOCALE_SABBREVCTRYNAME
    const char* countryCode;      // LOCALE_ICOUNTRY
    const char* ansiCodePage;     // LOCALE_IDEFAULTANSICODEPAGE
    const char* oemCodePage;      // LOCALE_IDEFAULTCODEPAGE
};

// The entry for a specific locale (sort id 0); null when the table has none.
const LocaleFacts* findLocale(Lcid locale);

// The text of one LOCALE_* type (LOCALE_NOUSEROVERRIDE ignored) for an entry; LOCALE_ILANGUAGE
// is made from the id ("0409", "040c"). Null for a type the table does not offer.
// `scratch` (at least 8 bytes) holds texts that are computed.
const char* localeText(const LocaleFacts& facts, std::uint32_t type, char* scratch);

}  // namespace platform::host
