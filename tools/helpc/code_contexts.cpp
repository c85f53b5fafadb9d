#include "tools/helpc/code_contexts.h"

#include <cctype>

#include "tools/helpc/context_list.h"
#include "tools/helpc/help_error.h"

namespace helpc {

namespace {

// Comments and string literals become spaces (line breaks kept), so that neither hides or
// fakes a table.
std::string codeOnly(const std::string& text) {
    std::string out = text;
    enum { Code, Line, Block, String, Char } state = Code;
    for (std::size_t i = 0; i < out.size(); ++i) {
        char c = text[i];
        char next = i + 1 < text.size() ? text[i + 1] : '\0';
        switch (state) {
            case Code:
                if (c == '/' && next == '/')
                    state = Line;
                else if (c == '/' && next == '*')
                    state = Block;
                else if (c == '"')
                    state = String;
                else if (c == '\'')
                    state = Char;
                else
                    continue;
                if (state == Line || state == Block) out[i] = ' ';
                continue;
            case Line:
                if (c == '\n')
                    state = Code;
                else
                    out[i] = ' ';
                continue;
            case Block:
                if (c == '*' && next == '/') {
                    out[i] = out[i + 1] = ' ';
                    ++i;
                    state = Code;
                } else if (c != '\n') {
                    out[i] = ' ';
                }
                continue;
            case String:
            case Char:
                if (c == '\\') {
                    out[i] = ' ';
                    if (i + 1 < out.size() && text[i + 1] != '\n') out[++i] = ' ';
                } else if (c == (state == String ? '"' : '\'')) {
                    state = Code;
                } else if (c != '\n') {
                    out[i] = ' ';
                }
                continue;
        }
    }
    return out;
}

int lineAt(const std::string& text, std::size_t at) {
    int line = 1;
    for (std::size_t i = 0; i < at && i < text.size(); ++i)
        if (text[i] == '\n') ++line;
    return line;
}

std::string trim(const std::string& s) {
    std::size_t begin = 0, end = s.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(s[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(s[end - 1]))) --end;
    return s.substr(begin, end - begin);
}

// Splits at the commas outside parentheses and braces; each item with the offset of its first
// character in `text`.
std::vector<std::pair<std::string, std::size_t>> splitItems(const std::string& text,
                                                            std::size_t from, std::size_t to) {
    std::vector<std::pair<std::string, std::size_t>> items;
    int depth = 0;
    std::size_t start = from;
    for (std::size_t i = from; i <= to; ++i) {
        char c = i < to ? text[i] : ',';
        if (c == '(' || c == '{' || c == '[') ++depth;
        if (c == ')' || c == '}' || c == ']') --depth;
        if (c == ',' && depth == 0) {
            std::size_t first = start;
            while (first < i && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
            items.emplace_back(trim(text.substr(start, i - start)), first);
            start = i + 1;
        }
    }
    return items;
}

std::size_t matching(const std::string& text, std::size_t open, char openChar, char closeChar) {
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == openChar) ++depth;
        if (text[i] == closeChar && --depth == 0) return i;
    }
    return std::string::npos;
}

std::uint32_t contextNumber(const std::string& item, const std::string& file, int line) {
    std::uint32_t number = 0;
    if (!parseContextNumber(item, number))
        throw HelpError(file, line, "help context '" + item + "' is not a decimal number");
    return number;
}

bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

}  // namespace

std::vector<CodeContext> scanCodeContexts(const std::string& file, const std::string& text) {
    std::string code = codeOnly(text);
    std::vector<CodeContext> found;

    const std::string call = "helpContext";
    for (std::size_t at = code.find(call); at != std::string::npos; at = code.find(call, at + 1)) {
        if (at > 0 && isIdentifierChar(code[at - 1])) continue;
        std::size_t open = at + call.size();
        while (open < code.size() && std::isspace(static_cast<unsigned char>(code[open]))) ++open;
        if (open >= code.size() || code[open] != '(') continue;
        std::size_t close = matching(code, open, '(', ')');
        if (close == std::string::npos) continue;
        auto args = splitItems(code, open + 1, close);
        // The declaration `helpContext(HWND window, DWORD context)` names types, not numbers.
        if (args.size() != 2 || args[1].first.find(' ') != std::string::npos) continue;
        int line = lineAt(code, args[1].second);
        found.push_back({contextNumber(args[1].first, file, line), true, file, line});
    }

    for (std::size_t open = code.find('{'); open != std::string::npos;
         open = code.find('{', open + 1)) {
        std::size_t close = matching(code, open, '{', '}');
        if (close == std::string::npos) break;
        auto items = splitItems(code, open + 1, close);
        if (items.size() < 4 || items.size() % 2 != 0) continue;
        if (items[items.size() - 2].first != "0" || items.back().first != "0") continue;
        bool plainList = true;
        for (const auto& item : items)
            if (item.first.empty() || item.first.find_first_of("{};") != std::string::npos)
                plainList = false;
        if (!plainList) continue;
        for (std::size_t i = 1; i + 2 < items.size(); i += 2) {
            int line = lineAt(code, items[i].second);
            found.push_back({contextNumber(items[i].first, file, line), false, file, line});
        }
    }
    return found;
}

}  // namespace helpc
