// The help contexts that the program may ask for: number, context name and kind, one per line
// of a list shared by every language ("20 IDH_SETTINGS_PAGE topic"). A "topic" opens in the
// help window (Help buttons, F1); a "popup" is a "What's this?" text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace helpc {

enum class ContextKind { Topic, Popup };

struct ContextEntry {
    std::uint32_t number = 0;
    std::string name;
    ContextKind kind = ContextKind::Topic;
    int line = 0;
};

struct ContextList {
    std::string file;
    std::vector<ContextEntry> entries;

    const ContextEntry* find(std::uint32_t number) const;
};

// Refuses (HelpError) malformed lines, numbers that are not 1..2^31-1, names the viewer cannot
// hash, and a number or name given twice.
ContextList parseContextList(const std::string& file, const std::string& text);

// Splits text into lines; a trailing carriage return of a line is dropped.
std::vector<std::string> splitLines(const std::string& text);

// A decimal number without sign or suffix, at most 2^31-1; false otherwise.
bool parseContextNumber(const std::string& word, std::uint32_t& number);

}  // namespace helpc
