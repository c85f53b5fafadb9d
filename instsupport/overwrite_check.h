// The setup script's question before it replaces a file: is the installed file one of the
// maker's own, and which of the two files is newer by its version resource.
#pragma once

namespace instsupport {

constexpr char kRecognisedMaker[] = "RECOGNISED MFG";
constexpr char kNoFileFound[] = "NO FILE FOUND";
constexpr char kNoVersionInfo[] = "NO VERSION INFO";
constexpr char kDefaultMakerPattern[] = "*Helvane*";

// True when the company name in the file's version resource matches a pattern of the maker
// list (one pattern a line, ";" starts a comment), or "*Helvane*" when the list has none.
bool isMakersFile(const char* makerListPath, const char* filePath);

// Fills the two 260-byte texts with the outcome (see the export); returns 0.
int askOverWrite(const char* makerListPath, const char* installedPath, const char* newPath,
                 char* installedText, char* newText);

}  // namespace instsupport
