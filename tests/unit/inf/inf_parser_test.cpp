// The parser and the parsed file alone: hostile input, the indexes against a plain scan, the
// named limits, and the memory a parsed file holds.
#include "platform/inf/inf_parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/inf/inf_file.h"
#include "platform/inf_reader.h"

namespace {

using platform::inf::InfFile;
using platform::inf::InfParser;

constexpr char kHeader[] = "[Version]\r\nSignature=\"$Chicago$\"\r\n";

std::uint32_t parse(const std::string& text, InfFile* file, std::uint32_t* line = nullptr) {
    return InfParser::parseFile(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                                INF_STYLE_WIN4, file, line);
}

std::string expand(const InfFile& file, const char* text) {
    char out[platform::inf::kMaxStringLength + 1];
    const std::size_t length = file.expand(text, out);
    EXPECT_EQ(length, std::strlen(out));
    EXPECT_EQ(length, file.expand(text, nullptr)) << "the length asked alone must agree";
    return std::string(out, length);
}

// Asks every question about every line, as a caller that trusts nothing would.
std::size_t walkEverything(const InfFile& file) {
    std::size_t fields = 0;
    for (std::uint32_t s = 0; s < file.sectionCount(); ++s) {
        EXPECT_EQ(file.findSection(file.sectionName(s)), s);
        for (std::uint32_t l = 0; l < file.lineCount(s); ++l) {
            const std::uint32_t values = file.valueCount(s, l);
            for (std::uint32_t i = 0; i <= values + 1; ++i) {
                const char* text = file.field(s, l, i);
                if (i >= 1 && i <= values) {
                    EXPECT_NE(text, nullptr);
                }
                if (i == values + 1) {
                    EXPECT_EQ(text, nullptr);
                }
                if (text == nullptr) continue;
                EXPECT_LE(std::strlen(text), platform::inf::kMaxFieldLength);
                expand(file, text);
                ++fields;
            }
        }
    }
    return fields;
}

// ---- Hostile input -------------------------------------------------------------------------

TEST(InfParserTest, HostileInputIsReadWithinItsLimits) {
    std::mt19937 random(1998);
    std::string garbage(200000, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    std::string manyFields = std::string(kHeader) + "[F]\r\nk=";
    for (int i = 0; i < 10000; ++i) manyFields += std::to_string(i) + ",";
    std::string manySections = kHeader;
    for (int i = 0; i < 20000; ++i) manySections += "[S" + std::to_string(i % 7000) + "]\nk=v\n";
    std::string continued = std::string(kHeader) + "[C]\nk=a";
    for (int i = 0; i < 5000; ++i) continued += " \\\n b";

    struct Case {
        const char* name;
        std::string text;
        std::uint32_t error;
    } cases[] = {
        {"64 KiB line", std::string(kHeader) + "[L]\r\nk=" + std::string(65536, 'x') + "\r\n",
         ERROR_SUCCESS},
        {"64 KiB key", std::string(kHeader) + "[L]\r\n" + std::string(65536, 'k') + "=v",
         ERROR_SUCCESS},
        {"64 KiB of quotes", std::string(kHeader) + "[L]\r\nk=" + std::string(65536, '"'),
         ERROR_SUCCESS},
        {"64 KiB of backslashes", std::string(kHeader) + "[L]\r\nk=" + std::string(65536, '\\'),
         ERROR_SUCCESS},
        {"64 KiB of percent signs",
         std::string(kHeader) + "[L]\r\nk=" + std::string(65536, '%') + "\r\n[Strings]\r\n=x\r\n",
         ERROR_SUCCESS},
        {"10,000 fields", manyFields, ERROR_SUCCESS},
        {"20,000 section headers", manySections, ERROR_SUCCESS},
        {"5,000 continued lines", continued, ERROR_SUCCESS},
        {"binary garbage after a header", std::string(kHeader) + "[G]\r\n" + garbage,
         ERROR_SUCCESS},
        {"unterminated quotes", std::string(kHeader) + "[Q]\r\na=\"x\r\n\"b=\"\"\"\r\nc=\"",
         ERROR_SUCCESS},
        {"self-referring strings",
         std::string(kHeader) + "[Strings]\r\na=%a%\r\nb=%c%%b%\r\nc=%b%%a%%%\r\n", ERROR_SUCCESS},
        {"300-character section name", std::string(kHeader) + "[" + std::string(300, 's') + "]\r\n",
         ERROR_SECTION_NAME_TOO_LONG},
        {"section name cut by Ctrl-Z", std::string(kHeader) + "[a\x1a]\r\n",
         ERROR_BAD_SECTION_NAME_LINE},
    };
    for (const Case& c : cases) {
        InfFile file;
        std::uint32_t line = 0;
        ASSERT_EQ(parse(c.text, &file, &line), c.error) << c.name << " (line " << line << ")";
        if (c.error == ERROR_SUCCESS) walkEverything(file);
    }
}

TEST(InfParserTest, LimitsCutWhereTheSystemCuts) {
    InfFile file;
    const std::string big(600, 'b');
    ASSERT_EQ(
        parse(std::string(kHeader) + "[" + std::string(255, 'n') + "]\r\n" + std::string(600, 'k') +
                  "=" + big + "," + big + "\r\n[Strings]\r\nbig=" + big + "\r\n",
              &file),
        ERROR_SUCCESS);
    const std::uint32_t section = file.findSection(std::string(255, 'N').c_str());
    ASSERT_NE(section, InfFile::kNoSection);
    EXPECT_EQ(std::strlen(file.field(section, 0, 0)), 511u);
    EXPECT_EQ(std::strlen(file.field(section, 0, 1)), 511u);
    EXPECT_EQ(file.valueCount(section, 0), 2u);
    // Nine 511-character strings: the replaced text stops at 4097 characters.
    EXPECT_EQ(expand(file, "%big%%big%%big%%big%%big%%big%%big%%big%%big%").size(), 4097u);
    EXPECT_EQ(expand(file, "x%big%"), "x" + std::string(511, 'b'));
}

TEST(InfParserTest, StringsAreReplacedOnceAndNeverLoop) {
    InfFile file;
    ASSERT_EQ(
        parse(std::string(kHeader) + "[Strings]\r\nself=%self%\r\nping=%pong%\r\npong=%ping%\r\n"
                                     "pct=%%\r\nfirst=1\r\nFIRST=2\r\n%pct%=never\r\n",
              &file),
        ERROR_SUCCESS);
    struct {
        const char* text;
        const char* expected;
    } rows[] = {
        {"%self%", "%self%"},
        {"%ping%", "%pong%"},
        {"%pong%%ping%", "%ping%%pong%"},
        {"%%", "%"},
        {"%pct%", "%%"},
        {"%FiRsT%", "1"},
        {"%missing%", "%missing%"},
        {"a%missing", "a%missing"},
        {"%a%b%", "%a%b%"},
        {"%%%", "%%"},
        {"100%% %first%", "100% 1"},
    };
    for (const auto& row : rows) EXPECT_EQ(expand(file, row.text), row.expected) << row.text;
}

// ---- Indexes against a plain scan ----------------------------------------------------------

// Random files over a small alphabet of keys in random case, sections named twice, lines
// without keys: every key lookup must find what a line-by-line scan finds.
TEST(InfParserTest, KeyLookupsAgreeWithALinearScan) {
    const char* keys[] = {"alpha", "Beta", "GAMMA", "de lta", "e", "f,g"};
    std::mt19937 random(95);
    for (int round = 0; round < 20; ++round) {
        std::string text = kHeader;
        for (int line = 0; line < 400; ++line) {
            if (random() % 25 == 0) text += "[Sec" + std::to_string(random() % 4) + "]\r\n";
            std::string key = keys[random() % 6];
            for (char& c : key) {
                if (random() % 2)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
            switch (random() % 4) {
                case 0:
                    text += key + " = " + std::to_string(line) + "\r\n";
                    break;
                case 1:
                    text += key + "\r\n";
                    break;  // keyed by its single value
                case 2:
                    text += "x," + key + "\r\n";
                    break;  // no key
                default:
                    text += "\"" + key + "\" = v\r\n";
                    break;
            }
        }
        InfFile file;
        ASSERT_EQ(parse(text, &file), ERROR_SUCCESS);
        for (std::uint32_t s = 0; s < file.sectionCount(); ++s) {
            for (const char* key : keys) {
                std::vector<std::uint32_t> scanned;
                for (std::uint32_t l = 0; l < file.lineCount(s); ++l) {
                    const char* k = file.field(s, l, 0);
                    if (k != nullptr && strcasecmp(k, key) == 0) scanned.push_back(l);
                }
                std::vector<std::uint32_t> found;
                for (std::uint32_t l = file.findKey(s, key, std::strlen(key), InfFile::kNoLine);
                     l != InfFile::kNoLine; l = file.findKey(s, key, std::strlen(key), l)) {
                    found.push_back(l);
                }
                ASSERT_EQ(found, scanned) << "key " << key << " in section " << s;
                // From any line, the next match is the first scanned line after it.
                for (std::uint32_t l = 0; l < file.lineCount(s); ++l) {
                    std::uint32_t expected = InfFile::kNoLine;
                    for (std::uint32_t m : scanned) {
                        if (m > l) {
                            expected = m;
                            break;
                        }
                    }
                    ASSERT_EQ(file.findKey(s, key, std::strlen(key), l), expected);
                }
            }
        }
    }
}

// ---- Memory --------------------------------------------------------------------------------

TEST(InfParserTest, ParsedFileHoldsAtMostFourTimesTheFileSize) {
    std::string text = kHeader;
    for (int s = 0; s < 100; ++s) {
        text += "[Section" + std::to_string(s) + "]\r\n";
        for (int l = 0; l < 100; ++l) {
            text += "Key" + std::to_string(l) + " = value" + std::to_string(l) + ", %S" +
                    std::to_string((s * 100 + l) % 200) + "%, 0x" + std::to_string(l) + "\r\n";
        }
    }
    text += "[Strings]\r\n";
    for (int i = 0; i < 200; ++i)
        text += "S" + std::to_string(i) + " = \"String " + std::to_string(i) + "\"\r\n";
    InfFile file;
    ASSERT_EQ(parse(text, &file), ERROR_SUCCESS);
    EXPECT_LE(file.memoryUsed(), 4 * text.size())
        << "file " << text.size() << " bytes, held " << file.memoryUsed();
}

}  // namespace
