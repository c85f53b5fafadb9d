// %name% replacement, done on every text the reader hands out.
//
// "%name%" becomes the first value of the "Strings" line keyed by name (the first such line
// when there are several); "%%" becomes one percent sign; a name that is a number and no
// "Strings" key stands for a directory id; anything else stays as written, percent signs
// included. The replacement text is taken as it stands: a value that itself holds %name% is
// not replaced again, so an entry that names itself cannot loop. The result is cut to
// kMaxStringLength characters.
#include <cstring>

#include "platform/inf/inf_file.h"
#include "platform/inf/inf_text.h"

namespace platform::inf {
namespace {

// Copies into a bounded output, counting what was kept.
class BoundedOutput {
  public:
    explicit BoundedOutput(char* out) : out_(out) {}

    void append(const char* text, std::size_t length) {
        if (length > room_) length = room_;
        if (out_ != nullptr) std::memcpy(out_ + total_, text, length);
        total_ += length;
        room_ -= length;
    }

    std::size_t finish() {
        if (out_ != nullptr) out_[total_] = '\0';
        return total_;
    }

  private:
    char* out_;
    std::size_t total_ = 0;
    std::size_t room_ = kMaxStringLength;
};

// The number a directory-id name stands for, read as the C runtime's wcstol does with base
// 10 (blanks and a sign first; clamped to 32 bits). False unless the whole name is read.
bool parseDirectoryId(const char* name, std::size_t length, long long* id) {
    std::size_t i = 0;
    while (i < length && isInfBlank(static_cast<unsigned char>(name[i]))) ++i;
    bool negative = false;
    if (i < length && (name[i] == '-' || name[i] == '+')) negative = name[i++] == '-';
    bool digits = false;
    long long value = 0;
    for (; i < length && name[i] >= '0' && name[i] <= '9'; ++i) {
        digits = true;
        if (value < (1LL << 40)) value = value * 10 + (name[i] - '0');
    }
    if (!digits || i != length) return false;
    if (negative) value = -value;
    if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
    if (value < -0x80000000LL) value = -0x80000000LL;
    *id = value;
    return true;
}

}  // namespace

const char* InfFile::directoryText(const char* name, std::size_t length,
                                   std::string* scratch) const {
    long long id = 0;
    if (!parseDirectoryId(name, length, &id)) return nullptr;
    const InfDirectories& dirs = directories_;
    const std::string& windows = dirs.windowsDirectory;
    const std::string& system = dirs.systemDirectory;
    // Folders below the Windows or system folder are named only when that folder is known.
    auto below = [&](const std::string& base, const char* tail) -> const char* {
        if (base.empty()) return nullptr;
        *scratch = base + tail;
        return scratch->c_str();
    };
    auto driveRoot = [&]() -> const char* {
        if (windows.size() < 2 || windows[1] != ':') return nullptr;
        *scratch = windows.substr(0, 2) + "\\";
        return scratch->c_str();
    };
    switch (id) {
        case -1:     // absolute path
        case 0:      // no directory
        case 65535:  // absolute path, 16-bit form
            return "";
        case 1:
            return dirs.infDirectory.empty() ? nullptr : dirs.infDirectory.c_str();
        case 10:
        case 25:  // shared directory
            return below(windows, "");
        case 11:
            return below(system, "");
        case 12:
            return below(system, dirs.windowsNt ? "\\drivers" : "\\IOSUBSYS");
        case 17:
            return below(windows, "\\inf");
        case 18:
            return below(windows, "\\help");
        case 20:
            return below(windows, "\\fonts");
        case 21:
            return below(system, "\\viewers");
        case 24:  // root of the applications drive
        case 30:  // root of the boot drive
            return driveRoot();
        case 50:
            return below(windows, "\\system");
        default:
            return nullptr;
    }
}

const char* InfFile::lookupString(const char* name, std::size_t length,
                                  std::size_t* valueLength) const {
    if (length == 0) {
        *valueLength = 1;
        return "%";
    }
    if (stringsSection_ == kNoSection) return nullptr;
    const Section& strings = sections_[stringsSection_];
    const std::uint32_t line =
        stringsIndex_.find(hashInfName(name, length), [&](std::uint32_t candidate) {
            return equalInfNames(name, length, keyText(lines_[strings.firstLine + candidate]));
        });
    if (line == HashIndex::kNone) return nullptr;
    const char* value = field(stringsSection_, line, 1);
    if (value == nullptr) return nullptr;
    *valueLength = std::strlen(value);
    return value;
}

std::size_t InfFile::expand(const char* text, char* out) const {
    if (std::strchr(text, '%') == nullptr) {
        // Fields are never longer than kMaxFieldLength, so no cut is needed here.
        const std::size_t length = std::strlen(text);
        if (out != nullptr) std::memcpy(out, text, length + 1);
        return length;
    }

    BoundedOutput output(out);
    std::string scratch;
    const char* start = text;
    const char* p = text;
    bool inside = false;
    for (; *p != '\0'; ++p) {
        if (*p != '%') continue;
        inside = !inside;
        if (inside) {
            output.append(start, static_cast<std::size_t>(p - start));
            start = p;
            continue;
        }
        const char* name = start + 1;
        const auto nameLength = static_cast<std::size_t>(p - name);
        std::size_t length = 0;
        const char* value = lookupString(name, nameLength, &length);
        if (value == nullptr) {
            value = directoryText(name, nameLength, &scratch);
            if (value != nullptr) {
                length = std::strlen(value);
                // "%10%\file" must not give two backslashes when the directory ends in one.
                if (p[1] == '\\' && length > 0 && value[length - 1] == '\\') --length;
            }
        }
        if (value == nullptr) {
            value = start;
            length = static_cast<std::size_t>(p - start + 1);
        }
        output.append(value, length);
        start = p + 1;
    }
    if (start != p) output.append(start, static_cast<std::size_t>(p - start));
    return output.finish();
}

}  // namespace platform::inf
