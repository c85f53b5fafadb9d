#include "tests/inf/query_inf.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tunara_test {
namespace {

using platform::HInf;
using platform::InfContext;
using platform::InfReader;

constexpr std::size_t kMaxSectionsAsked = 64;
constexpr std::size_t kMaxTokensAsked = 16;

std::string hex(std::uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(code));
    return text;
}

std::string where(const InfContext& context) {
    return "@" + std::to_string(context.section) + ":" + std::to_string(context.line);
}

class Query {
  public:
    Query(InfReader& reader, const InfQueryPlaces& places, const NoSystemCode& noSystemCode)
        : reader_(reader), noSystemCode_(noSystemCode) {
        // Longest first, so the system folder is not printed as <windir>\system32.
        addPlace(places.infDirectory, "<infdir>");
        addPlace(places.systemDirectory, "<sysdir>");
        addPlace(places.windowsDirectory, "<windir>");
    }

    std::string run(const std::string& path, const std::string& rawText) {
        std::uint32_t errorLine = 0xFFFFFFFFu;
        HInf inf = platform::kInvalidInf;
        const std::uint32_t error =
            reader_.OpenInfFile(path.c_str(), INF_STYLE_WIN4, &inf, &errorLine);
        if (error != ERROR_SUCCESS) {
            out_ += "open error " + hex(error);
            if (errorLine != 0xFFFFFFFFu) out_ += " line " + std::to_string(errorLine);
            out_ += "\n";
            return out_;
        }
        inf_ = inf;
        out_ += "open ok\n";
        listSections();
        for (const std::string& name : candidateSections(rawText)) walkSection(name);
        probes();
        reader_.CloseInfFile(inf_);
        return out_;
    }

  private:
    void addPlace(const std::string& text, const char* placeholder) {
        if (text.empty()) return;
        std::size_t at = places_.size();
        while (at > 0 && places_[at - 1].first.size() < text.size()) --at;
        places_.insert(places_.begin() + static_cast<std::ptrdiff_t>(at), {text, placeholder});
    }

    std::string quote(const std::string& text) const {
        std::string replaced;
        for (std::size_t i = 0; i < text.size();) {
            bool matched = false;
            for (const auto& place : places_) {
                if (text.compare(i, place.first.size(), place.first) == 0) {
                    replaced += place.second;
                    i += place.first.size();
                    matched = true;
                    break;
                }
            }
            if (!matched) replaced += text[i++];
        }
        std::string quoted = "\"";
        for (const char c : replaced) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
                quoted += c;
            } else {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
                quoted += escaped;
            }
        }
        return quoted + "\"";
    }

    // A failed call as printed; `fieldAbsent` when it read a field the line does not have.
    std::string failed(std::uint32_t code, bool fieldAbsent = false) const {
        const bool silent = noSystemCode_ ? noSystemCode_() : fieldAbsent;
        return (silent ? "no system code, ours " : "error ") + hex(code);
    }

    // Reads a text through the size-first rule: ask the size, check that one byte less is
    // refused without a byte written, then read it into a buffer of exactly that size.
    template <typename Read>
    bool readText(Read read, std::string* text, std::string* failure, bool fieldAbsent = false) {
        std::uint32_t required = 0;
        std::uint32_t error = read(nullptr, 0, &required);
        if (error != ERROR_SUCCESS) {
            *failure = failed(error, fieldAbsent);
            return false;
        }
        if (required == 0) {
            *failure = "size 0";
            return false;
        }
        std::vector<char> buffer(required + 16, '\xCC');
        std::uint32_t again = 0;
        error = read(buffer.data(), required - 1, &again);
        bool untouched = true;
        for (const char c : buffer) untouched = untouched && c == '\xCC';
        if (error != ERROR_INSUFFICIENT_BUFFER || again != required || !untouched) {
            *failure =
                "short buffer answered " + hex(error) + (untouched ? "" : " and was written");
            return false;
        }
        error = read(buffer.data(), required, nullptr);
        if (error != ERROR_SUCCESS) {
            *failure = "read error " + hex(error);
            return false;
        }
        if (std::memchr(buffer.data(), 0, required) != buffer.data() + required - 1 ||
            buffer[required] != '\xCC') {
            *failure = "text length differs from its size";
            return false;
        }
        *text = std::string(buffer.data(), required - 1);
        return true;
    }

    void listSections() {
        std::vector<std::string> names;
        for (std::uint32_t index = 0;; ++index) {
            std::string name;
            std::string failure;
            const bool ok = readText(
                [&](char* buffer, std::uint32_t size, std::uint32_t* required) {
                    return reader_.EnumInfSection(inf_, index, buffer, size, required);
                },
                &name, &failure);
            if (!ok) {
                if (failure != failed(ERROR_NO_MORE_ITEMS)) {
                    out_ += "sections " + failure + "\n";
                }
                break;
            }
            out_ += "section " + std::to_string(index) + " " + quote(name) + "\n";
            enumerated_.push_back(name);
        }
    }

    // Section names to walk: those the reader lists, then those a plain scan of the text
    // finds (a "[" first on a line, up to "]"), each once.
    std::vector<std::string> candidateSections(const std::string& raw) {
        std::vector<std::string> names = enumerated_;
        std::size_t lineStart = 0;
        while (lineStart <= raw.size() && names.size() < kMaxSectionsAsked) {
            std::size_t lineEnd = raw.find_first_of("\r\n", lineStart);
            if (lineEnd == std::string::npos) lineEnd = raw.size();
            std::size_t i = lineStart;
            while (i < lineEnd && (raw[i] == ' ' || raw[i] == '\t')) ++i;
            if (i < lineEnd && raw[i] == '[') {
                std::size_t close = raw.find(']', i);
                if (close == std::string::npos || close > lineEnd) close = lineEnd;
                const std::string name = raw.substr(i + 1, close - i - 1);
                bool known = false;
                for (const auto& n : names) known = known || n == name;
                if (!known) names.push_back(name);
            }
            lineStart = lineEnd + 1;
        }
        if (names.size() > kMaxSectionsAsked) names.resize(kMaxSectionsAsked);

        // %name% tokens as written, to ask whether a key is found by its unreplaced text.
        for (std::size_t open = raw.find('%');
             open != std::string::npos && tokens_.size() < kMaxTokensAsked;) {
            const std::size_t close = raw.find('%', open + 1);
            if (close == std::string::npos) break;
            const std::string token = raw.substr(open, close - open + 1);
            const bool plain = token.size() > 2 && token.size() <= 64 &&
                               token.find_first_of("\r\n") == std::string::npos;
            bool known = false;
            for (const auto& t : tokens_) known = known || t == token;
            if (plain && !known) tokens_.push_back(token);
            open = raw.find('%', close + 1);
        }
        return names;
    }

    // Field `index` as printed; *text receives it unquoted when the read succeeded.
    std::string stringField(const InfContext& context, std::uint32_t index, std::string* text,
                            bool* ok, bool fieldAbsent) {
        std::string failure;
        *ok = readText(
            [&](char* buffer, std::uint32_t size, std::uint32_t* required) {
                return reader_.GetStringField(&context, index, buffer, size, required);
            },
            text, &failure, fieldAbsent);
        return *ok ? quote(*text) : failure;
    }

    std::string lineText(const InfContext* context, const char* section, const char* key) {
        std::string text;
        std::string failure;
        const bool ok = readText(
            [&](char* buffer, std::uint32_t size, std::uint32_t* required) {
                return reader_.GetLineText(context, inf_, section, key, buffer, size, required);
            },
            &text, &failure);
        return ok ? quote(text) : failure;
    }

    void walkLine(const std::string& section, const InfContext& context) {
        const std::uint32_t values = reader_.GetFieldCount(&context);
        out_ += "  line " + where(context) + " values " + std::to_string(values) + "\n";
        std::string key;
        bool hasKey = false;
        for (std::uint32_t index = 0; index <= values + 1; ++index) {
            bool ok = false;
            std::string text;
            // Past the last value, or the key of a line without one (known once it failed).
            const bool pastTheEnd = index > values;
            out_ += "    field " + std::to_string(index) + " " +
                    stringField(context, index, &text, &ok, pastTheEnd || index == 0) + "\n";
            if (index == 0 && ok) {
                hasKey = true;
                key = text;
            }
            const bool absent = pastTheEnd || (index == 0 && !hasKey);
            std::int32_t value = 0;
            const std::uint32_t error = reader_.GetIntField(&context, index, &value);
            out_ += "    int " + std::to_string(index) + " " +
                    (error == ERROR_SUCCESS ? std::to_string(value) : failed(error, absent)) + "\n";
        }
        out_ += "    text " + lineText(&context, nullptr, nullptr) + "\n";
        if (!hasKey) return;

        // The key as handed out (with %name% replaced) looked up again.
        InfContext found;
        std::uint32_t error = reader_.FindFirstLine(inf_, section.c_str(), key.c_str(), &found);
        out_ += "    first-key " + (error == ERROR_SUCCESS ? where(found) : failed(error)) + "\n";
        error = reader_.FindNextMatchLine(&context, key.c_str(), &found);
        out_ += "    next-match " + (error == ERROR_SUCCESS ? where(found) : failed(error)) + "\n";
        std::string upper = key;
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        error = reader_.FindFirstLine(inf_, section.c_str(), upper.c_str(), &found);
        out_ +=
            "    first-upper-key " + (error == ERROR_SUCCESS ? where(found) : failed(error)) + "\n";
        out_ += "    text-by-key " + lineText(nullptr, section.c_str(), key.c_str()) + "\n";
    }

    void walkSection(const std::string& section) {
        out_ += "walk " + quote(section) + "\n";
        InfContext context;
        std::uint32_t error = reader_.FindFirstLine(inf_, section.c_str(), nullptr, &context);
        if (error != ERROR_SUCCESS) {
            out_ += "  first " + failed(error) + "\n";
            return;
        }
        out_ += "  text-of-first " + lineText(nullptr, section.c_str(), nullptr) + "\n";
        for (const std::string& token : tokens_) {
            InfContext found;
            error = reader_.FindFirstLine(inf_, section.c_str(), token.c_str(), &found);
            out_ += "  token-key " + quote(token) + " " +
                    (error == ERROR_SUCCESS ? where(found) : failed(error)) + "\n";
        }
        for (;;) {
            walkLine(section, context);
            error = reader_.FindNextLine(&context, &context);
            if (error != ERROR_SUCCESS) {
                out_ += "  end " + hex(error) + "\n";
                return;
            }
        }
    }

    // Names that differ only in case, and names that are not there.
    void probes() {
        std::vector<std::string> names;
        for (const std::string& name : enumerated_) {
            std::string upper = name;
            std::string lower = name;
            for (char& c : upper) {
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            }
            for (char& c : lower) {
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            }
            names.push_back(upper);
            names.push_back(lower);
            names.push_back(name + " ");
        }
        names.push_back("NoSuchSection");
        names.push_back("");
        for (const std::string& name : names) {
            InfContext context;
            const std::uint32_t error =
                reader_.FindFirstLine(inf_, name.c_str(), nullptr, &context);
            out_ += "probe " + quote(name) + " " +
                    (error == ERROR_SUCCESS ? where(context) : failed(error)) + "\n";
        }
    }

    InfReader& reader_;
    const NoSystemCode& noSystemCode_;
    HInf inf_ = platform::kInvalidInf;
    std::vector<std::pair<std::string, std::string>> places_;
    std::vector<std::string> enumerated_;
    std::vector<std::string> tokens_;
    std::string out_;
};

}  // namespace

std::string queryInf(platform::InfReader& reader, const std::string& path,
                     const std::string& rawText, const InfQueryPlaces& places,
                     const NoSystemCode& noSystemCode) {
    return Query(reader, places, noSystemCode).run(path, rawText);
}

}  // namespace tunara_test
