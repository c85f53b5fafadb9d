// Fuzzes the INF parser and every question the reader asks of a parsed file: whatever the
// bytes, no read leaves the input or the file's own texts, fields keep their length limits,
// replaced texts keep theirs (and agree with the length asked alone), and every section and
// key is found again through the indexes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/inf/inf_file.h"
#include "platform/inf/inf_parser.h"
#include "platform/inf/inf_text.h"
#include "platform/inf_reader.h"

namespace {

using platform::inf::InfFile;

// Lines whose keys are looked up again; the rest are only read, to keep each run short.
constexpr std::uint32_t kLinesChecked = 256;

void check(bool condition) {
    if (!condition) std::abort();
}

std::size_t expandChecked(const InfFile& file, const char* text, char* out) {
    const std::size_t length = file.expand(text, out);
    check(length <= platform::inf::kMaxStringLength);
    check(std::strlen(out) == length);
    check(file.expand(text, nullptr) == length);
    return length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size heap copy, so a read past the end of the file is caught.
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[size ? size : 1]);
    if (size) std::memcpy(bytes.get(), data, size);

    InfFile file;
    file.setDirectories({"C:\\INF\\", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", false});
    std::uint32_t errorLine = 0;
    // The old style accepts a file without a signature, so every well-formed text is walked.
    if (platform::inf::InfParser::parseFile(bytes.get(), size, INF_STYLE_OLDNT, &file,
                                            &errorLine) != ERROR_SUCCESS) {
        return 0;
    }

    char expanded[platform::inf::kMaxStringLength + 1];
    std::uint32_t checked = 0;
    for (std::uint32_t s = 0; s < file.sectionCount(); ++s) {
        const char* name = file.sectionName(s);
        check(std::strlen(name) <= platform::inf::kMaxSectionNameLength);
        check(file.findSection(name) == s);
        for (std::uint32_t l = 0; l < file.lineCount(s); ++l) {
            const std::uint32_t values = file.valueCount(s, l);
            check(values >= 1);
            check(file.field(s, l, values + 1) == nullptr);
            for (std::uint32_t i = 1; i <= values; ++i) {
                const char* text = file.field(s, l, i);
                check(text != nullptr && std::strlen(text) <= platform::inf::kMaxFieldLength);
                std::int32_t number = 0;
                expandChecked(file, text, expanded);
                platform::inf::parseInfInteger(expanded, &number);
            }
            const char* key = file.field(s, l, 0);
            if (key == nullptr || checked++ >= kLinesChecked) continue;
            // The key, replaced as callers see it, leads back to this line.
            const std::size_t length = expandChecked(file, key, expanded);
            std::uint32_t found = file.findKey(s, expanded, length, InfFile::kNoLine);
            while (found != InfFile::kNoLine && found < l) {
                found = file.findKey(s, expanded, length, found);
            }
            check(found == l);
        }
    }
    check(file.findSection("no such section, surely") == InfFile::kNoSection ||
          file.sectionCount() > 0);
    return 0;
}
