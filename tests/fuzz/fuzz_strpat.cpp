// Fuzzes the setup script's pattern match: the input is the text, a zero byte, the pattern
// (each an exact-size zero-terminated heap copy, so a read past either is caught). Checks
// the properties that hold whatever the input: "*" matches every accepted text without the end-mark
// byte, a text matches itself when it holds no wildcard, and overlong input is refused.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "instsupport/lead_bytes.h"
#include "instsupport/pattern_match.h"

namespace {

std::unique_ptr<char[]> exactCopy(const std::string& text) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

bool shiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t zero = input.find('\0');
    std::string text = input.substr(0, zero);
    std::string pattern = zero == std::string::npos ? std::string() : input.substr(zero + 1);
    pattern = pattern.substr(0, pattern.find('\0'));
    auto t = exactCopy(text);
    auto p = exactCopy(pattern);

    for (bool doubleByte : {false, true}) {
        instsupport::setLeadByteTest(doubleByte ? shiftJisLead : nullptr);
        int result = instsupport::matchPattern(t.get(), p.get());
        if (result != 0 && result != 1) std::abort();
        const bool fits = text.size() <= static_cast<std::size_t>(instsupport::kMaxPatternInput);
        // A text that holds the end mark itself (0xA4) can stop a star early, as it always did.
        const bool holdsEndMark = text.find('\xA4') != std::string::npos;
        if (!holdsEndMark && instsupport::matchPattern(t.get(), "*") != (fits ? 1 : 0))
            std::abort();
        if (!fits && result != 0) std::abort();
        if (!doubleByte && fits && text.find_first_of("*?") == std::string::npos &&
            instsupport::matchPattern(t.get(), t.get()) != 1)
            std::abort();
    }
    instsupport::setLeadByteTest(nullptr);
    return 0;
}
