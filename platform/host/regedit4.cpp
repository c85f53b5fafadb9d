#include "platform/host/regedit4.h"

#include "platform/host/host_registry_names.h"

namespace platform::host {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1 to 8 hex digits, nothing else.
bool parseHex32(std::string_view digits, std::uint32_t* value) {
    if (digits.empty() || digits.size() > 8) return false;
    std::uint32_t result = 0;
    for (char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0) return false;
        result = (result << 4) | static_cast<std::uint32_t>(digit);
    }
    *value = result;
    return true;
}

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && equalsIgnoringCase(s.substr(0, prefix.size()), prefix);
}

// What may follow a complete value or section: nothing, blanks, or a comment.
bool isLineEnd(std::string_view rest) {
    rest = trimLeft(rest);
    return rest.empty() || rest.front() == ';';
}

class Parser {
public:
    Parser(std::string_view text, std::uint32_t maxValueNameLength)
        : text_(text), maxValueNameLength_(maxValueNameLength) {}

    bool run(std::vector<Regedit4Change>* changes, std::string* error);

private:
    // The next physical line without its line end; false at the end of the text.
    bool nextLine(std::string_view* line);
    bool fail(const std::string& message);
    bool parseSection(std::string_view line);
    bool parseValue(std::string_view line);
    // A quoted text at the start of `s` (after the opening quote); sets *rest past the
    // closing quote. False when the quote is not closed on this line.
    static bool parseQuoted(std::string_view s, std::string* out, std::string_view* rest);
    bool parseHexBytes(std::string_view s, std::vector<std::uint8_t>* bytes);

    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
    int valueLine_ = 0;  // the line a value started on (continuations report it)
    std::uint32_t maxValueNameLength_;
    std::vector<Regedit4Change> changes_;
    bool inKey_ = false;
    bool inDeletedKey_ = false;
    std::string error_;
};

bool Parser::nextLine(std::string_view* line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == text_.npos) end = text_.size();
    std::string_view result = text_.substr(pos_, end - pos_);
    if (!result.empty() && result.back() == '\r') result.remove_suffix(1);
    pos_ = end + 1;
    ++lineNumber_;
    *line = result;
    return true;
}

bool Parser::fail(const std::string& message) {
    error_ = "line " + std::to_string(valueLine_ ? valueLine_ : lineNumber_) + ": " + message;
    return false;
}

bool Parser::run(std::vector<Regedit4Change>* changes, std::string* error) {
    std::string_view line;
    bool header = false;
    bool ok = true;
    while (ok && nextLine(&line)) {
        valueLine_ = 0;
        const std::string_view content = trimRight(trimLeft(line));
        if (!header) {
            if (content.empty()) continue;
            header = equalsIgnoringCase(content, "REGEDIT4");
            if (!header) ok = fail("the text does not start with REGEDIT4");
            continue;
        }
        if (content.empty() || content.front() == ';') continue;
        if (content.front() == '[') {
            ok = parseSection(content);
        } else if (content.front() == '"' || content.front() == '@') {
            valueLine_ = lineNumber_;
            ok = parseValue(trimLeft(line));
        } else {
            ok = fail("not a key, a value or a comment");
        }
    }
    if (ok && !header) {
        lineNumber_ = lineNumber_ ? lineNumber_ : 1;
        ok = fail("the text does not start with REGEDIT4");
    }
    if (!ok) {
        if (error) *error = error_;
        return false;
    }
    changes->insert(changes->end(), changes_.begin(), changes_.end());
    return true;
}

bool Parser::parseSection(std::string_view line) {
    const std::size_t close = line.rfind(']');
    if (close == line.npos) return fail("key name without closing ']'");
    if (!isLineEnd(line.substr(close + 1))) return fail("text after the key name");
    std::string_view inner = line.substr(1, close - 1);
    const bool deletion = !inner.empty() && inner.front() == '-';
    if (deletion) inner.remove_prefix(1);
    const std::size_t slash = inner.find('\\');
    const RegistryRootName* root = rootByName(inner.substr(0, slash));
    if (!root) return fail("unknown root key \"" + std::string(inner.substr(0, slash)) + "\"");
    std::vector<std::string_view> parts;
    const std::string_view below =
        slash == inner.npos ? std::string_view() : inner.substr(slash + 1);
    switch (splitKeyPath(below, &parts)) {
        case ERROR_SUCCESS:
            break;
        case ERROR_INVALID_PARAMETER:
            return fail("key name longer than 255 characters");
        default:
            return fail("empty key name in the path");
    }
    const std::uint32_t rootDepth = root->key == HKEY_CLASSES_ROOT ? 2 : 0;
    if (rootDepth + parts.size() > kMaxKeyDepth) return fail("key nested too deep");
    Regedit4Change change;
    change.kind = deletion ? Regedit4Change::Kind::DeleteKey : Regedit4Change::Kind::OpenKey;
    change.line = lineNumber_;
    change.root = root->key;
    for (std::string_view part : parts) change.path.emplace_back(part);
    if (deletion) {
        // The roots and the key behind HKEY_CLASSES_ROOT stay, as the registry itself insists.
        bool kept = parts.empty();
        if (!kept && root->key == HKEY_LOCAL_MACHINE && parts.size() <= 2) {
            kept = equalsIgnoringCase(parts[0], "SOFTWARE") &&
                   (parts.size() == 1 || equalsIgnoringCase(parts[1], "Classes"));
        }
        if (kept) return fail("this key cannot be deleted");
    }
    changes_.push_back(std::move(change));
    inKey_ = !deletion;
    inDeletedKey_ = deletion;
    return true;
}

bool Parser::parseQuoted(std::string_view s, std::string* out, std::string_view* rest) {
    std::string text;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            *out = std::move(text);
            *rest = s.substr(i + 1);
            return true;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            text += s[++i];
        } else {
            text += c;
        }
    }
    return false;
}

bool Parser::parseHexBytes(std::string_view s, std::vector<std::uint8_t>* bytes) {
    // A continued line: drop the '\' and append the next line without its indentation.
    std::string joined;
    for (std::string_view piece = trimRight(s);;) {
        if (piece.empty() || piece.back() != '\\') {
            joined.append(piece.data(), piece.size());
            break;
        }
        piece.remove_suffix(1);
        joined.append(piece.data(), piece.size());
        std::string_view next;
        if (!nextLine(&next)) break;
        piece = trimRight(trimLeft(next));
    }
    std::string_view data = joined;
    const std::size_t comment = data.find(';');
    if (comment != data.npos) data = data.substr(0, comment);
    data = trimRight(trimLeft(data));
    std::vector<std::uint8_t> result;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t comma = data.find(',', start);
        const std::string_view token =
            trimRight(trimLeft(data.substr(start, comma == data.npos ? data.npos : comma - start)));
        std::uint32_t value = 0;
        if (token.size() > 2 || !parseHex32(token, &value))
            return fail("bad hex byte \"" + std::string(token) + "\"");
        result.push_back(static_cast<std::uint8_t>(value));
        if (comma == data.npos) break;
        start = comma + 1;  // a comma at the very end is allowed
    }
    *bytes = std::move(result);
    return true;
}

bool Parser::parseValue(std::string_view line) {
    std::string name;
    std::string_view rest;
    if (line.front() == '@') {
        rest = line.substr(1);
    } else if (!parseQuoted(line.substr(1), &name, &rest)) {
        return fail("value name without closing quote");
    }
    rest = trimLeft(rest);
    if (rest.empty() || rest.front() != '=') return fail("'=' expected after the value name");
    rest = trimLeft(rest.substr(1));
    if (!inKey_) {
        return fail(inDeletedKey_ ? "value in the section of a deleted key"
                                  : "value before the first key");
    }
    if (name.size() > maxValueNameLength_)
        return fail("value name longer than " + std::to_string(maxValueNameLength_) +
                    " characters");

    Regedit4Change change;
    change.kind = Regedit4Change::Kind::SetValue;
    change.line = lineNumber_;
    change.name = std::move(name);
    if (!rest.empty() && rest.front() == '-') {
        if (!isLineEnd(rest.substr(1))) return fail("text after '-'");
        change.kind = Regedit4Change::Kind::DeleteValue;
    } else if (!rest.empty() && rest.front() == '"') {
        std::string text;
        if (!parseQuoted(rest.substr(1), &text, &rest)) return fail("text without closing quote");
        if (!isLineEnd(rest)) return fail("text after the closing quote");
        change.type = REG_SZ;
        change.data.assign(text.begin(), text.end());
        change.data.push_back(0);
    } else if (startsWithIgnoringCase(rest, "dword:")) {
        rest.remove_prefix(6);
        std::size_t end = 0;
        while (end < rest.size() && hexDigit(rest[end]) >= 0) ++end;
        std::uint32_t value = 0;
        if (!parseHex32(rest.substr(0, end), &value) || !isLineEnd(rest.substr(end)))
            return fail("dword: needs 1 to 8 hex digits");
        change.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8)
            change.data.push_back(static_cast<std::uint8_t>(value >> shift));
    } else if (startsWithIgnoringCase(rest, "hex")) {
        rest.remove_prefix(3);
        change.type = REG_BINARY;
        if (!rest.empty() && rest.front() == '(') {
            const std::size_t close = rest.find(')');
            if (close == rest.npos || !parseHex32(rest.substr(1, close - 1), &change.type))
                return fail("hex(N) needs a hex type number");
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':') return fail("':' expected after hex");
        if (!parseHexBytes(rest.substr(1), &change.data)) return false;
    } else {
        return fail("unknown value data");
    }
    changes_.push_back(std::move(change));
    return true;
}

const char kHexDigits[] = "0123456789abcdef";

void appendEscaped(std::string* out, std::string_view text) {
    for (char c : text) {
        if (c == '\\' || c == '"') *out += '\\';
        *out += c;
    }
}

bool writableAsText(const std::vector<std::uint8_t>& data) {
    if (data.empty() || data.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') return false;
    }
    return true;
}

}  // namespace

bool parseRegedit4(std::string_view text, std::uint32_t maxValueNameLength,
                   std::vector<Regedit4Change>* changes, std::string* error) {
    return Parser(text, maxValueNameLength).run(changes, error);
}

std::string regedit4Header() {
    return "REGEDIT4\r\n\r\n";
}

std::string formatRegedit4Value(std::string_view name, std::uint32_t type,
                                const std::vector<std::uint8_t>& data) {
    std::string line;
    if (name.empty()) {
        line = "@=";
    } else {
        line = "\"";
        appendEscaped(&line, name);
        line += "\"=";
    }
    if (type == REG_SZ && writableAsText(data)) {
        line += '"';
        appendEscaped(
            &line, std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1));
        line += "\"\r\n";
        return line;
    }
    if (type == REG_DWORD && data.size() == 4) {
        const std::uint32_t value = data[0] | (data[1] << 8) | (data[2] << 16) |
                                    (static_cast<std::uint32_t>(data[3]) << 24);
        line += "dword:";
        for (int shift = 28; shift >= 0; shift -= 4) line += kHexDigits[(value >> shift) & 0xF];
        line += "\r\n";
        return line;
    }
    if (type == REG_BINARY) {
        line += "hex:";
    } else {
        std::string number;
        std::uint32_t rest = type;
        do {
            number.insert(number.begin(), kHexDigits[rest & 0xF]);
            rest >>= 4;
        } while (rest);
        line += "hex(" + number + "):";
    }
    // Wrapped like regedit: lines of about 80 columns, continued with '\' and two blanks.
    std::size_t column = line.size();
    for (std::size_t i = 0; i < data.size(); ++i) {
        line += kHexDigits[data[i] >> 4];
        line += kHexDigits[data[i] & 0xF];
        column += 2;
        if (i + 1 < data.size()) {
            line += ',';
            ++column;
            if (column > 75) {
                line += "\\\r\n  ";
                column = 2;
            }
        }
    }
    line += "\r\n";
    return line;
}

}  // namespace platform::host
