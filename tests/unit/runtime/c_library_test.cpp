// The runtime's C functions against the system's own, on the edge cases that matter: empty
// and one-byte ranges, bytes above 0x7F (compared as unsigned), overlapping moves both ways,
// counts that stop before or at the terminator, search for the terminator itself.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/runtime/c_library.h"

namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

const std::vector<std::string> kTexts = {
    "", "a", "ab", "abc", "abd", "ab\xE4", "ab\x7F", "\xFF", "C:\\WINDOWS\\SYSTEM", "aaab", "aab",
};

TEST(CLibraryTest, ComparisonsAgreeWithTheSystemOnEveryPair) {
    for (const std::string& a : kTexts) {
        for (const std::string& b : kTexts) {
            SCOPED_TRACE("'" + a + "' vs '" + b + "'");
            EXPECT_EQ(sign(tunara_strcmp(a.c_str(), b.c_str())), sign(std::strcmp(a.c_str(), b.c_str())));
            for (std::size_t n = 0; n <= 5; ++n) {
                EXPECT_EQ(sign(tunara_strncmp(a.c_str(), b.c_str(), n)),
                          sign(std::strncmp(a.c_str(), b.c_str(), n)))
                    << "n=" << n;
                const std::size_t bytes = std::min({n, a.size() + 1, b.size() + 1});
                EXPECT_EQ(sign(tunara_memcmp(a.c_str(), b.c_str(), bytes)),
                          sign(std::memcmp(a.c_str(), b.c_str(), bytes)))
                    << "bytes=" << bytes;
            }
            EXPECT_EQ(tunara_strstr(a.c_str(), b.c_str()) == nullptr,
                      std::strstr(a.c_str(), b.c_str()) == nullptr);
            if (const char* found = std::strstr(a.c_str(), b.c_str())) {
                EXPECT_EQ(tunara_strstr(a.c_str(), b.c_str()), found);
            }
        }
    }
}

TEST(CLibraryTest, SearchesFindTheSamePlaceAsTheSystem) {
    for (const std::string& text : kTexts) {
        SCOPED_TRACE("'" + text + "'");
        const char* s = text.c_str();
        EXPECT_EQ(tunara_strlen(s), std::strlen(s));
        for (std::size_t limit : {0u, 1u, 3u, 100u}) {
            EXPECT_EQ(tunara_strnlen(s, limit), strnlen(s, limit)) << "limit=" << limit;
        }
        // The terminator is a character like any other; 0x1E4 is looked for as 0xE4.
        for (int c : std::initializer_list<int>{'a', 'b', 'c', '\\', 0, 0xE4, 0x1E4, 0xFF, -1}) {
            EXPECT_EQ(tunara_strchr(s, c), std::strchr(s, c)) << "c=" << c;
            EXPECT_EQ(tunara_strrchr(s, c), std::strrchr(s, c)) << "c=" << c;
            for (std::size_t count = 0; count <= text.size() + 1; ++count) {
                EXPECT_EQ(tunara_memchr(s, c, count), std::memchr(s, c, count))
                    << "c=" << c << " count=" << count;
            }
        }
    }
}

TEST(CLibraryTest, CopiesAndFillsWriteExactlyTheirRange) {
    const std::string source = "0123456789";
    for (std::size_t count = 0; count <= source.size(); ++count) {
        std::string ours(16, '#'), theirs(16, '#');
        EXPECT_EQ(tunara_memcpy(&ours[1], source.data(), count), &ours[1]);
        std::memcpy(&theirs[1], source.data(), count);
        EXPECT_EQ(ours, theirs) << "memcpy " << count;

        ours.assign(16, '#'), theirs.assign(16, '#');
        EXPECT_EQ(tunara_memset(&ours[2], 0x1AB, count), &ours[2]);
        std::memset(&theirs[2], 0x1AB, count);
        EXPECT_EQ(ours, theirs) << "memset " << count;

        // strncpy pads with zeros up to count and does not terminate a text that fills it.
        ours.assign(16, '#'), theirs.assign(16, '#');
        EXPECT_EQ(tunara_strncpy(&ours[0], "abcd", count), &ours[0]);
        std::strncpy(&theirs[0], "abcd", count);
        EXPECT_EQ(ours, theirs) << "strncpy " << count;
    }
    std::string ours(8, '#'), theirs(8, '#');
    EXPECT_EQ(tunara_strcpy(&ours[1], "abc"), &ours[1]);
    std::strcpy(&theirs[1], "abc");
    EXPECT_EQ(ours, theirs);
}

TEST(CLibraryTest, OverlappingMovesInBothDirectionsKeepTheSourceBytes) {
    for (int from = 0; from <= 6; ++from) {
        for (int to = 0; to <= 6; ++to) {
            for (std::size_t count = 0; count <= 6; ++count) {
                char ours[16] = "abcdefghijklmno";
                char theirs[16] = "abcdefghijklmno";
                EXPECT_EQ(tunara_memmove(ours + to, ours + from, count), ours + to);
                std::memmove(theirs + to, theirs + from, count);
                EXPECT_EQ(std::string(ours, 16), std::string(theirs, 16))
                    << "from=" << from << " to=" << to << " count=" << count;
            }
        }
    }
}

}  // namespace
