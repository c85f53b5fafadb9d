// What a help topic must show: read from the help source of a language (help/tnrmx*.txt), the
// text the help file was compiled from, so the viewer's window is compared with the words the
// writer wrote and not with anything the compiler produced.
#pragma once

#include <string>
#include <vector>

struct HelpEntry {
    long context = 0;
    bool topic = false;     // a topic with a title; otherwise a "What's this?" popup
    std::string title;      // topics only
    std::string firstText;  // the first paragraph, its lines joined by single spaces
};

struct HelpSource {
    std::vector<HelpEntry> entries;

    const HelpEntry* find(long context) const;
};

// Reads a Windows-1252 help source; false when the file cannot be read.
bool readHelpSource(const std::string& path, HelpSource& source);

// Runs of blanks, tabs and line ends become one space, and the ends are trimmed: the viewer
// breaks lines where it likes.
std::string collapseSpaces(const std::string& text);
