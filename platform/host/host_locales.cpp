#include "platform/host/host_locales.h"

#include <cstdio>

namespace platform::host {
namespace {

// Native names are in the ANSI code page of their locale (Windows-1252, Shift-JIS for Japan).
const LocaleFacts kLocales[] = {
    {0x0409, "ENU", "English (United States)", "English", "English", "United States",
     "United States", "USA", "1", "1252", "437"},
    {0x0809, "ENG", "English (United Kingdom)", "English", "English", "United Kingdom",
     "United Kingdom", "GBR", "44", "1252", "850"},
    {0x0C09, "ENA", "English (Australian)", "English", "English", "Australia", "Australia", "AUS",
     "61", "1252", "850"},
    {0x1009, "ENC", "English (Canadian)", "English", "English", "Canada", "Canada", "CAN", "2",
     "1252", "850"},
    {0x0407, "DEU", "German (Standard)", "German", "Deutsch", "Germany", "Germany", "DEU", "49",
     "1252", "850"},
    {0x0807, "DES", "German (Swiss)", "German", "Deutsch", "Switzerland", "Switzerland", "CHE",
     "41", "1252", "850"},
    {0x0C07, "DEA", "German (Austrian)", "German", "Deutsch", "Austria", "Austria", "AUT", "43",
     "1252", "850"},
    {0x040C, "FRA", "French (Standard)", "French",
     "fran\xE7"
     "ais",
     "France", "France", "FRA", "33", "1252", "850"},
    {0x080C, "FRB", "French (Belgian)", "French",
     "fran\xE7"
     "ais",
     "Belgium", "Belgium", "BEL", "32", "1252", "850"},
    {0x0C0C, "FRC", "French (Canadian)", "French",
     "fran\xE7"
     "ais",
     "Canada", "Canada", "CAN", "2", "1252", "863"},
    {0x100C, "FRS", "French (Swiss)", "French",
     "fran\xE7"
     "ais",
     "Switzerland", "Switzerland", "CHE", "41", "1252", "850"},
    {0x0410, "ITA", "Italian (Standard)", "Italian", "italiano", "Italy", "Italy", "ITA", "39",
     "1252", "850"},
    {0x0810, "ITS", "Italian (Swiss)", "Italian", "italiano", "Switzerland", "Switzerland", "CHE",
     "41", "1252", "850"},
    {0x040A, "ESP", "Spanish (Traditional Sort)", "Spanish", "espa\xF1ol", "Spain", "Spain", "ESP",
     "34", "1252", "850"},
    {0x0C0A, "ESN", "Spanish (Modern Sort)", "Spanish", "espa\xF1ol", "Spain", "Spain", "ESP", "34",
     "1252", "850"},
    {0x080A, "ESM", "Spanish (Mexican)", "Spanish", "espa\xF1ol", "Mexico", "Mexico", "MEX", "52",
     "1252", "850"},
    {0x0413, "NLD", "Dutch (Standard)", "Dutch", "Nederlands", "Netherlands", "Netherlands", "NLD",
     "31", "1252", "850"},
    {0x0813, "NLB", "Dutch (Belgian)", "Dutch", "Nederlands", "Belgium", "Belgium", "BEL", "32",
     "1252", "850"},
    {0x041D, "SVE", "Swedish", "Swedish", "svenska", "Sweden", "Sweden", "SWE", "46", "1252",
     "850"},
    {0x0406, "DAN", "Danish", "Danish", "dansk", "Denmark", "Denmark", "DNK", "45", "1252", "850"},
    {0x0414, "NOR", "Norwegian (Bokmal)", "Norwegian", "norsk", "Norway", "Norway", "NOR", "47",
     "1252", "850"},
    {0x040B, "FIN", "Finnish", "Finnish", "suomi", "Finland", "Finland", "FIN", "358", "1252",
     "850"},
    {0x0416, "PTB", "Portuguese (Brazilian)", "Portuguese", "Portugu\xEAs", "Brazil", "Brazil",
     "BRA", "55", "1252", "850"},
    {0x0816, "PTG", "Portuguese (Standard)", "Portuguese", "Portugu\xEAs", "Portugal", "Portugal",
     "PRT", "351", "1252", "850"},
    {0x0411, "JPN", "Japanese", "Japanese", "\x93\xFA\x96\x7B\x8C\xEA", "Japan", "Japan", "JPN",
     "81", "932", "932"},
};

}  // namespace

const LocaleFacts* findLocale(Lcid locale) {
    for (const LocaleFacts& facts : kLocales)
        if (facts.id == locale) return &facts;
    return nullptr;
}

const char* localeText(const LocaleFacts& facts, std::uint32_t type, char* scratch) {
    switch (type & ~LOCALE_NOUSEROVERRIDE) {
        case LOCALE_ILANGUAGE:
            std::snprintf(scratch, 8, "%04x", static_cast<unsigned>(facts.id & 0xFFFF));
            return scratch;
        case LOCALE_SLANGUAGE:
            return facts.language;
        case LOCALE_SABBREVLANGNAME:
            return facts.abbrevLanguage;
        case LOCALE_SNATIVELANGNAME:
            return facts.nativeLanguage;
        case LOCALE_ICOUNTRY:
            return facts.countryCode;
        case LOCALE_SCOUNTRY:
            return facts.country;
        case LOCALE_SABBREVCTRYNAME:
            return facts.abbrevCountry;
        case LOCALE_IDEFAULTCODEPAGE:
            return facts.oemCodePage;
        case LOCALE_SENGLANGUAGE:
            return facts.englishLanguage;
        case LOCALE_SENGCOUNTRY:
            return facts.englishCountry;
        case LOCALE_IDEFAULTANSICODEPAGE:
            return facts.ansiCodePage;
        default:
            return nullptr;
    }
}

}  // namespace platform::host
