// Locales of the simulated machine: the texts GetLocaleInfo gives, default and neutral
// locales, buffer rules and the thread locale.
#include <cstring>
#include <string>

#include "tests/unit/system/system_fixture.h"

namespace system_test {
namespace {

std::string info(platform::System& system, platform::Lcid locale, std::uint32_t type) {
    char buffer[80];
    const int length = system.GetLocaleInfo(locale, type, buffer, sizeof buffer);
    if (length == 0) return "<error " + std::to_string(system.GetLastError()) + ">";
    EXPECT_EQ(static_cast<std::size_t>(length), std::strlen(buffer) + 1);
    return buffer;
}

struct LocaleRow {
    platform::Lcid locale;
    const char* abbrev;
    const char* language;
    const char* country;
    const char* codePage;
};

TEST_F(SystemTest, LocaleTextsOfTheLanguagesTheProductShipsFor) {
    const LocaleRow rows[] = {
        {0x0409, "ENU", "English", "United States", "1252"},
        {0x0809, "ENG", "English", "United Kingdom", "1252"},
        {0x0407, "DEU", "German", "Germany", "1252"},
        {0x040C, "FRA", "French", "France", "1252"},
        {0x0410, "ITA", "Italian", "Italy", "1252"},
        {0x040A, "ESP", "Spanish", "Spain", "1252"},
        {0x0C0A, "ESN", "Spanish", "Spain", "1252"},
        {0x0413, "NLD", "Dutch", "Netherlands", "1252"},
        {0x041D, "SVE", "Swedish", "Sweden", "1252"},
        {0x0411, "JPN", "Japanese", "Japan", "932"},
    };
    for (const LocaleRow& row : rows) {
        SCOPED_TRACE(row.abbrev);
        EXPECT_EQ(info(system, row.locale, LOCALE_SABBREVLANGNAME), row.abbrev);
        EXPECT_EQ(info(system, row.locale, LOCALE_SENGLANGUAGE), row.language);
        EXPECT_EQ(info(system, row.locale, LOCALE_SENGCOUNTRY), row.country);
        EXPECT_EQ(info(system, row.locale, LOCALE_SCOUNTRY), row.country);
        EXPECT_EQ(info(system, row.locale, LOCALE_IDEFAULTANSICODEPAGE), row.codePage);
        EXPECT_EQ(info(system, row.locale, LOCALE_SABBREVLANGNAME | LOCALE_NOUSEROVERRIDE),
                  row.abbrev);
    }
    EXPECT_EQ(info(system, 0x0407, LOCALE_ILANGUAGE), "0407");
    EXPECT_EQ(info(system, 0x040C, LOCALE_SNATIVELANGNAME),
              "fran\xE7"
              "ais");
}

TEST_F(SystemTest, DefaultNeutralAndSortedLocalesResolveToALanguage) {
    ASSERT_TRUE(system.setUserDefaultLCID(0x040C));
    ASSERT_TRUE(system.setSystemDefaultLCID(0x0407));
    EXPECT_EQ(info(system, LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME), "FRA");
    EXPECT_EQ(info(system, 0, LOCALE_SABBREVLANGNAME), "FRA");
    EXPECT_EQ(info(system, LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVLANGNAME), "DEU");
    EXPECT_EQ(info(system, 0x0009, LOCALE_SABBREVLANGNAME), "ENU");   // neutral English
    EXPECT_EQ(info(system, 0x10407, LOCALE_SABBREVLANGNAME), "DEU");  // phone book sort
    EXPECT_EQ(info(system, 0x0436, LOCALE_SABBREVLANGNAME),
              "<error " + std::to_string(ERROR_INVALID_PARAMETER) + ">");  // not in the table
    EXPECT_EQ(info(system, 0x0409, 0x7777), "<error " + std::to_string(ERROR_INVALID_FLAGS) + ">");
    EXPECT_FALSE(system.setUserDefaultLCID(0x0436));
    EXPECT_EQ(system.GetUserDefaultLCID(), 0x040Cu);
}

TEST_F(SystemTest, LocaleInfoReportsTheSizeAndRefusesShortBuffers) {
    // A four-byte buffer holds the three letters and the zero, as the product reads them.
    char buffer[4];
    EXPECT_EQ(system.GetLocaleInfo(0x0407, LOCALE_SABBREVLANGNAME, nullptr, 0), 4);
    EXPECT_EQ(system.GetLocaleInfo(0x0407, LOCALE_SABBREVLANGNAME, buffer, 4), 4);
    EXPECT_STREQ(buffer, "DEU");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(system.GetLocaleInfo(0x0407, LOCALE_SABBREVLANGNAME, buffer, 3), 0);
    EXPECT_EQ(system.GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::string(buffer, 4), "xxxx");
}

TEST_F(SystemTest, ThreadLocaleStartsAsTheUserDefaultAndChangesAlone) {
    EXPECT_EQ(system.GetThreadLocale(), 0x0409u);
    ASSERT_TRUE(system.setUserDefaultLCID(0x0413));
    EXPECT_EQ(system.GetThreadLocale(), 0x0413u);
    EXPECT_TRUE(system.SetThreadLocale(0x041D));
    EXPECT_EQ(system.GetThreadLocale(), 0x041Du);
    EXPECT_EQ(system.GetUserDefaultLCID(), 0x0413u);
    EXPECT_FALSE(system.SetThreadLocale(0x0436));
    EXPECT_EQ(system.GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(system.GetThreadLocale(), 0x041Du);
}

}  // namespace
}  // namespace system_test
