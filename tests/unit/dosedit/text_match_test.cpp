// The text matching rule, fed whole, in pieces and through a file read in chunks.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_handle.h"
#include "platform/host/host_files.h"
#include "settings/file_chunks.h"
#include "settings/text_match.h"
#include "tests/unit/dosedit/dos_fixture.h"

namespace {

using settings::FileSearch;
using settings::TextMatcher;

#define S(text) std::string(text, sizeof(text) - 1)

struct MatchCase {
    std::string file;
    std::string text;
    std::size_t end;  // offset just past the match; npos: not found
};

const std::size_t kNone = std::string::npos;

// Where a byte-by-byte search of the whole file ends, by the matcher.
std::size_t matchEndFeeding(const std::string& file, const std::string& text, std::size_t piece) {
    TextMatcher matcher(text);
    if (matcher.complete()) return 0;
    for (std::size_t at = 0; at < file.size(); at += piece) {
        const std::size_t size = std::min(piece, file.size() - at);
        const std::size_t used =
            matcher.feed(reinterpret_cast<const unsigned char*>(file.data()) + at, size);
        if (used != TextMatcher::kNotYet) return at + used;
    }
    return kNone;
}

TEST(TextMatch, RuleTable) {
    const MatchCase cases[] = {
        // file                               text                      end
        {"SET X=1\r\nC:\\maestro.com",         "C:\\MAESTRO.COM",         23},
        {"hwacceleration,1,00",                "HwAcceleration,1,0",      18},
        {"HWACCELERATION,1,0",                 "hwacceleration,1,0",      18},
        // The byte that breaks a match is not tried against the text's first character.
        {"HHwAcceleration,1,0",                "HwAcceleration,1,0",      kNone},
        {"aab",                                "ab",                      kNone},
        {"xaab ab",                            "ab",                      7},
        // '|' matches any byte, on either side.
        {"DEVICE=C:\\aecu.sys",                "DEVICE=|:\\aecu.sys",     18},
        {"DEV|CE=C:\\aecu.sys",                "DEVICE=C:\\aecu.sys",     18},
        {"||||",                               "abcd",                    4},
        // Only A-Z fold; accented letters and other bytes compare as they are.
        {"\xC9T\xC9",                          "\xE9t\xE9",               kNone},
        {"\xC9T\xC9",                          "\xC9t\xC9",               3},
        {"[\\]",                               "{|}",                     kNone},
        {"@",                                  "`",                       kNone},
        // Binary bytes, NULs, lone CRs.
        {S("\0\x01\x02maestro.com\0"),         "MAESTRO.COM",             14},
        {S("a\rb\r\nc"),                        S("b\r\nc"),               6},
        {"",                                   "x",                       kNone},
        {"maestro.co",                         "maestro.com",             kNone},
        {"anything",                           "",                        0},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE("file \"" + c.file + "\" text \"" + c.text + "\"");
        // Whole, and in every piece size: the state carries across pieces.
        for (std::size_t piece = 1; piece <= c.file.size() + 1; ++piece)
            EXPECT_EQ(matchEndFeeding(c.file, c.text, piece), c.end) << "pieces of " << piece;
    }
}

TEST(TextMatch, CompleteMatcherTakesNothingMore) {
    TextMatcher matcher("ab");
    const unsigned char bytes[] = {'a', 'b', 'a', 'b'};
    EXPECT_EQ(matcher.feed(bytes, 4), 2u);
    EXPECT_TRUE(matcher.complete());
    EXPECT_EQ(matcher.feed(bytes, 4), 0u);
    matcher.reset();
    EXPECT_EQ(matcher.feed(bytes + 1, 3), 3u);
}

// ---- In a file, across the read buffer's boundaries -------------------------------------

class TextInFile : public tunara_test::DosFileTest {
  protected:
    // Searches C:\SEARCH.TXT from `from` with reads of `chunk` bytes; the search result, and
    // where the match ended and the file pointer was left.
    FileSearch search(const std::string& text, std::size_t chunk, std::uint64_t from,
                      std::uint64_t* end, std::uint64_t* pointer) {
        platform::ScopedFile file;
        EXPECT_EQ(machine().files().CreateFile("C:\\SEARCH.TXT", GENERIC_READ, 0, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, file.receive()),
                  ERROR_SUCCESS);
        EXPECT_TRUE(settings::seekFile(machine().files(), file.get(), from));
        *end = 0xDEADBEEF;
        const FileSearch result =
            settings::findTextInFile(machine().files(), file.get(), text, chunk, end);
        EXPECT_TRUE(settings::filePosition(machine().files(), file.get(), pointer));
        return result;
    }
};

TEST_F(TextInFile, MarkerAtEveryOffsetAroundTheBufferBoundary) {
    const std::string marker = "HKR,Config,SPDIF,1,0";
    for (const std::size_t chunk : {std::size_t{7}, std::size_t{64}, settings::kFileChunkSize}) {
        for (std::size_t at = chunk - marker.size() - 2; at <= chunk + 2; ++at) {
            std::string content(at, 'x');
            content += marker + "1\r\n" + std::string(40, 'y');
            writeFile("C:\\SEARCH.TXT", content);
            std::uint64_t end = 0, pointer = 0;
            ASSERT_EQ(search(marker, chunk, 0, &end, &pointer), FileSearch::Found)
                << "chunk " << chunk << ", marker at " << at;
            EXPECT_EQ(end, at + marker.size());
            EXPECT_EQ(pointer, end);  // just past the marker, as byte-by-byte reads leave it
        }
    }
}

TEST_F(TextInFile, SearchStartsAtTheFilePointerAndEndsAtTheEnd) {
    writeFile("C:\\SEARCH.TXT", "abc abc");
    std::uint64_t end = 0, pointer = 0;
    EXPECT_EQ(search("abc", 3, 1, &end, &pointer), FileSearch::Found);
    EXPECT_EQ(end, 7u);
    EXPECT_EQ(search("abd", 3, 0, &end, &pointer), FileSearch::NotFound);
    EXPECT_EQ(end, 0xDEADBEEFu);  // untouched
    EXPECT_EQ(pointer, 7u);       // at the end, as after reading it all
}

TEST_F(TextInFile, FailedReadIsNotNotFound) {
    writeFile("C:\\SEARCH.TXT", textOfSize(100));
    machine().files().addFault({platform::host::FileOperation::ReadFile, "SEARCH.TXT", 2, 1,
                                ERROR_READ_FAULT});
    std::uint64_t end = 0, pointer = 0;
    EXPECT_EQ(search("not there", 16, 0, &end, &pointer), FileSearch::ReadFailed);
}

}  // namespace
