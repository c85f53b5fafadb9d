// The product's folder in the start menu and the shortcut to the properties program.
//
// The start menu's base folder depends on the language Windows was installed in; the tray
// looks for the English, French and German names below the Windows folder and puts the
// maker's and the product's folders below the first that exists. Names with accented letters
// are Windows-1252 bytes.
#pragma once

#include <string>

namespace tray {

// Base folders below the Windows folder, in the order they are tried.
extern const char* const kStartMenuBaseFolders[3];
constexpr const char* kMakerFolder = "\\Helvane";
constexpr const char* kProductFolder = "\\Cantora Pro";

// The product titles the language modules give the shortcut.
constexpr const char* kTitleEnglish = "Tunara Properties";
constexpr const char* kTitleGerman = "Tunara Eigenschaften";
constexpr const char* kTitleFrench = "Propri\xE9t\xE9s Tunara";
// The name the shortcut had before it was named after the product title.
constexpr const char* kOldShortcutName = "Tunara Control.LNK";
constexpr const char* kShortcutDescription = "Shortcut to Tunara Properties";
constexpr const char* kPropertiesProgramName = "\\tunaractl.exe";

// A file that opens for reading without sharing.
bool startMenuFileExists(const std::string& path);
// A folder that can be made the current directory. The current directory is put back
// afterwards, so that a folder we test can later be removed (Windows 95/98 refuse to remove
// any drive's current directory).
bool folderExists(const std::string& path);

// Finds the start menu's base folder and creates the maker and product folders below it
// when they are missing. Returns the product folder with a trailing backslash, or an empty
// text when no base folder exists (or the path would not fit 260 bytes).
std::string resolveStartMenuFolder();

// Creates "<folder><productTitle>.lnk" to the properties program when it does not exist,
// then deletes the other languages' shortcuts (single and doubled ".lnk") and the old
// "Tunara Control.LNK". Does nothing when the folder is unresolved (empty) or the title is
// empty.
void maintainShortcuts(const std::string& startMenuFolder, const std::string& productTitle);

// Removes `folder` when it holds nothing but "." and "..". A folder that cannot be listed
// stays.
void removeFolderIfEmpty(const std::string& folder);

}  // namespace tray
