#include "instsupport/uninstall_text.h"

#include <vector>

#include "instsupport/lead_bytes.h"
#include "platform/codepage_1252.h"

namespace instsupport {
namespace {

std::string upper(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(platform::upperAnsi(static_cast<unsigned char>(c)));
    return result;
}

// The text split after each '\n'; the last piece may have no line end.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

// Length of the line's end ("\n" or "\r\n"), 0 for a last line without one.
std::size_t lineEndLength(const std::string& line) {
    if (line.empty() || line.back() != '\n') return 0;
    return line.size() >= 2 && line[line.size() - 2] == '\r' ? 2 : 1;
}

}  // namespace

std::string optionFolder(const std::string& commandLine, const char* option) {
    std::size_t at = commandLine.find(option);
    if (at == std::string::npos) return std::string();
    std::size_t start = at + std::char_traits<char>::length(option);
    if (start < commandLine.size() && commandLine[start] == '"') ++start;
    std::string rest = commandLine.substr(start);
    if (!rest.empty() && rest.back() == '"') rest.pop_back();
    if (rest.empty()) return std::string();

    std::size_t scanFrom = rest.find("\" -");
    if (scanFrom == std::string::npos) scanFrom = rest.size() - 1;
    // Walk forward character by character so that a trail byte that happens to be '\\' is
    // never taken for a separator; the last backslash at or before scanFrom wins.
    std::size_t lastBackslash = std::string::npos;
    for (std::size_t i = 0; i <= scanFrom && i < rest.size();) {
        if (isLeadByte(static_cast<unsigned char>(rest[i])) && i + 1 < rest.size()) {
            i += 2;
            continue;
        }
        if (rest[i] == '\\') lastBackslash = i;
        ++i;
    }
    if (lastBackslash == std::string::npos) return std::string();
    return rest.substr(0, lastBackslash + 1);
}

std::string uninstallKeyName(const std::string& folder) {
    std::string path = folder;
    if (!path.empty() && path.back() == '\\') path.pop_back();
    std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return std::string();
    return path.substr(slash + 1);
}

bool usableFormat(const std::string& format, int arguments) {
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == 's') {
            ++conversions;
            ++i;
            continue;
        }
        return false;
    }
    return conversions == arguments;
}

std::string applyFormat(const std::string& format, const std::string& first,
                        const std::string& second) {
    std::string result;
    int used = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                result += '%';
                ++i;
                continue;
            }
            if (format[i + 1] == 's') {
                result += used == 0 ? first : used == 1 ? second : std::string();
                ++used;
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}

std::string errorCodeText(int code) {
    return "HV" + std::to_string(code);
}

std::string errorCodeText(int code, long detail) {
    return "HV" + std::to_string(code) + " - " + std::to_string(detail);
}

std::string removeLinesContaining(const std::string& text, const std::string& needle,
                                  bool* changed) {
    *changed = false;
    if (needle.empty()) return text;
    const std::string key = upper(needle);
    std::string result;
    for (const std::string& line : splitLines(text)) {
        if (upper(line).find(key) != std::string::npos) {
            *changed = true;
            continue;
        }
        result += line;
    }
    return result;
}

std::string removeLinesStartingWith(const std::string& text, const std::string& prefix,
                                    bool* changed) {
    *changed = false;
    if (prefix.empty()) return text;
    const std::string key = upper(prefix);
    std::string result;
    for (const std::string& line : splitLines(text)) {
        if (upper(line.substr(0, key.size())) == key) {
            *changed = true;
            continue;
        }
        result += line;
    }
    return result;
}

std::string removeIniField(const std::string& text, const std::string& field, bool* changed) {
    *changed = false;
    if (field.empty()) return text;
    const std::string key = upper(field);
    std::string result;
    for (std::string line : splitLines(text)) {
        const std::size_t contentEnd = line.size() - lineEndLength(line);
        const std::size_t at = upper(line.substr(0, contentEnd)).find(key);
        if (at != std::string::npos) {
            const std::size_t comma = line.find(',', at);
            if (comma != std::string::npos && comma < contentEnd) {
                line.erase(at, comma + 1 - at);
            } else {
                const std::size_t from = at > 0 ? at - 1 : 0;
                line.erase(from, contentEnd - from);
            }
            *changed = true;
        }
        result += line;
    }
    return result;
}

}  // namespace instsupport
