// The runtime's snprintf against the system's on the conversions the modules use and their
// neighbours: widths, zero padding, precision, length modifiers, extreme values, truncation
// at every buffer size with C99's "length it would have had" result.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/runtime/c_library.h"

namespace {

// Formats with both at buffer sizes 0, 1, 4 and a large one; every byte of the buffer counts.
template <typename... Args>
void expectSame(const char* format, Args... args) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{64}}) {
        char ours[80];
        char theirs[80];
        std::memset(ours, '#', sizeof ours);
        std::memset(theirs, '#', sizeof theirs);
        const int ourLength = tunara_snprintf(size == 0 ? nullptr : ours, size, format, args...);
        const int theirLength = std::snprintf(size == 0 ? nullptr : theirs, size, format, args...);
        EXPECT_EQ(ourLength, theirLength) << format << " size " << size;
        EXPECT_EQ(std::string(ours, sizeof ours), std::string(theirs, sizeof theirs))
            << format << " size " << size;
    }
}

TEST(CFormatTest, ConversionsOfTheModulesMatchTheSystem) {
    expectSame("BUS_%02X&DEV_%02X&FUNC_%02X", 0u, 0x1Fu, 7u);
    expectSame("%s\\%02X:%02X.%X", "PCI", 0xABu, 3u, 1u);
    expectSame("\\StringFileInfo\\%04x%04x\\ProductVersion", 0x409u, 0x4E4u);
    expectSame("%s, %s %02u, %04u %02u:%02u:%02u", "Tuesday", "December", 8u, 2026u, 9u, 5u, 0u);
    expectSame("-0x%02X%02X%02X%02X%02X%02X", 0, 0, 0, 0, 0, 5);
    expectSame("-%lu", 4294967295ul);
    expectSame("%llu", 18446744073709551615ull);
    expectSame("%08X-%08X", 0xDEADBEEFu, 0u);
    expectSame("%x,%x,%x", 0u, 0x10u, 0xFFFFFFFFu);
    expectSame("Switch %u", 12u);
    expectSame("%02d", -5);
}

TEST(CFormatTest, FlagsWidthsAndPrecisionsMatchTheSystem) {
    expectSame("[%d|%i|%d|%d]", 0, -1, INT_MAX, INT_MIN);
    expectSame("[%5d|%-5d|%05d|%+d|% d|%+d]", 42, 42, -42, 7, 7, -7);
    expectSame("[%.0d|%.3d|%8.3d|%-8.3d|%08.3d]", 0, 7, -7, 7, 7);
    expectSame("[%#x|%#X|%#o|%#o|%#x]", 255u, 255u, 8u, 0u, 0u);
    expectSame("[%o|%5o|%-5o]", 8u, 8u, 8u);
    expectSame("[%*d|%-*d|%*d]", 6, 1, 6, 2, -6, 3);
    expectSame("[%.*s|%.*s|%.*d]", 2, "abcdef", -1, "abc", 4, 5);
    expectSame("[%hhu|%hhd|%hu|%hd]", 0x1FFu, 0x1FF, 0x1FFFFu, 0x1FFFF);
    expectSame("[%ld|%lld|%lld|%zu|%jd|%td]", -1l, LLONG_MIN, LLONG_MAX, std::size_t{123},
               std::intmax_t{-9}, std::ptrdiff_t{-3});
    expectSame("[%s|%10s|%-10s|%.2s|%c|%-3c|%%]", "x", "right", "left", "cut", 'Q', 'R');
    expectSame("");
    expectSame("no conversions at all, longer than the small buffers");
}

TEST(CFormatTest, UnknownOrUnfinishedConversionsAreWrittenOut) {
    char buffer[32];
    EXPECT_EQ(tunara_snprintf(buffer, sizeof buffer, "50%"), 3);
    EXPECT_STREQ(buffer, "50%");
    EXPECT_EQ(tunara_snprintf(buffer, sizeof buffer, "[%5q]"), 5);
    EXPECT_STREQ(buffer, "[%5q]");
    // A null text prints as the system libraries of the time did.
    EXPECT_EQ(tunara_snprintf(buffer, sizeof buffer, "%s", static_cast<const char*>(nullptr)), 6);
    EXPECT_STREQ(buffer, "(null)");
    // Pointers: eight upper-case hexadecimal digits on the 32-bit target, all digits here.
    EXPECT_EQ(tunara_snprintf(buffer, sizeof buffer, "%p", reinterpret_cast<void*>(0xABC)),
              static_cast<int>(2 * sizeof(void*)));
    EXPECT_EQ(std::string(buffer).substr(2 * sizeof(void*) - 3), "ABC");
}

}  // namespace
