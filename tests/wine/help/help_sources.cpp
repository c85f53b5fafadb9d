#include "help_sources.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

const HelpEntry* HelpSource::find(long context) const {
    for (const HelpEntry& entry : entries)
        if (entry.context == context) return &entry;
    return nullptr;
}

std::string collapseSpaces(const std::string& text) {
    std::string out;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

bool readHelpSource(const std::string& path, HelpSource& source) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    source = HelpSource();
    HelpEntry* current = nullptr;
    bool inFirst = false;  // still reading the current entry's first paragraph
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '#') continue;
        if (!line.empty() && line[0] == '.') {
            std::istringstream words(line);
            std::string directive;
            words >> directive;
            // Other directives (the file's title, its contents topic) say nothing the
            // viewer's window is checked for.
            if (directive == ".topic" || directive == ".popup") {
                HelpEntry entry;
                words >> entry.context;
                entry.topic = directive == ".topic";
                if (entry.topic) std::getline(words >> std::ws, entry.title);
                source.entries.push_back(entry);
                current = &source.entries.back();
                inFirst = true;
            }
            continue;
        }
        if (collapseSpaces(line).empty()) {
            if (current != nullptr && !current->firstText.empty()) inFirst = false;
            continue;
        }
        if (current == nullptr || !inFirst) continue;
        if (!current->firstText.empty()) current->firstText += ' ';
        current->firstText += collapseSpaces(line);
    }
    return !source.entries.empty();
}
