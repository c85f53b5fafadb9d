#include "tools/helpc/context_list.h"

#include <sstream>

#include "tools/helpc/context_hash.h"
#include "tools/helpc/help_error.h"

namespace helpc {

const ContextEntry* ContextList::find(std::uint32_t number) const {
    for (const ContextEntry& entry : entries)
        if (entry.number == number) return &entry;
    return nullptr;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool parseContextNumber(const std::string& word, std::uint32_t& number) {
    if (word.empty() || word.size() > 10) return false;
    std::uint64_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 0x7FFFFFFF) return false;
    number = static_cast<std::uint32_t>(value);
    return true;
}

ContextList parseContextList(const std::string& file, const std::string& text) {
    ContextList list;
    list.file = file;
    std::vector<std::string> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int lineNumber = static_cast<int>(i) + 1;
        std::istringstream words(lines[i]);
        std::string number, name, kind, extra;
        if (!(words >> number) || number[0] == '#') continue;
        if (!(words >> name >> kind) || (words >> extra))
            throw HelpError(file, lineNumber, "expected: number name topic|popup");
        ContextEntry entry;
        entry.line = lineNumber;
        if (!parseContextNumber(number, entry.number))
            throw HelpError(file, lineNumber,
                            "'" + number + "' is not a context number (1 to 2147483647)");
        if (!validContextName(name))
            throw HelpError(
                file, lineNumber,
                "context name '" + name + "' may only hold letters, digits, '.' and '_'");
        if (kind == "topic")
            entry.kind = ContextKind::Topic;
        else if (kind == "popup")
            entry.kind = ContextKind::Popup;
        else
            throw HelpError(file, lineNumber, "kind '" + kind + "' is neither topic nor popup");
        entry.name = name;
        for (const ContextEntry& other : list.entries) {
            if (other.number == entry.number)
                throw HelpError(file, lineNumber,
                                "context " + number + " is listed again (first at line " +
                                    std::to_string(other.line) + ")");
            if (other.name == entry.name || contextHash(other.name) == contextHash(entry.name))
                throw HelpError(file, lineNumber,
                                "context name " + name + " clashes with " + other.name + " (line " +
                                    std::to_string(other.line) + ")");
        }
        list.entries.push_back(entry);
    }
    return list;
}

}  // namespace helpc
