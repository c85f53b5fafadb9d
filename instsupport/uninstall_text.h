// The text work of the uninstall steps, kept apart from the machine so that every rule can
// be tried on its own: the command-line options, the stored message formats, and the line
// and field removal in start-up and INI files.
#pragma once

#include <string>

namespace instsupport {

// The folder named by option `option` ("-f" or "-c") of the uninstall program's command
// line, through its last backslash; empty when the option or a backslash is missing. The
// path may be in double quotes, and another option may follow it after `" -`.
std::string optionFolder(const std::string& commandLine, const char* option);

// The product's uninstall key name: the last component of `folder` ("C:\\Tunara\\" gives
// "Tunara"); empty for an empty folder or a drive root.
std::string uninstallKeyName(const std::string& folder);

// Whether a stored message format may be used: it holds exactly `arguments` conversions,
// all "%s", besides any "%%". Anything else ("%d", "%n", a further "%s", a lone '%') could
// read or write what the format was never given, so the default is used instead.
bool usableFormat(const std::string& format, int arguments);

// The format with its "%s" conversions replaced by `first` and `second` in order and "%%"
// by '%'. Only formats that usableFormat accepted are given to it.
std::string applyFormat(const std::string& format, const std::string& first,
                        const std::string& second = std::string());

// "HV<code>" or "HV<code> - <detail>".
std::string errorCodeText(int code);
std::string errorCodeText(int code, long detail);

// Text-file rewrites. Lines end at '\n' (a lone '\r' is part of its line); a last line
// without an end is a line too; every kept line keeps its own end. Each returns the new text
// and whether anything changed.

// Drops the lines that contain `needle`, without regard to case.
std::string removeLinesContaining(const std::string& text, const std::string& needle,
                                  bool* changed);

// Drops the lines that begin with `prefix`, without regard to case.
std::string removeLinesStartingWith(const std::string& text, const std::string& prefix,
                                    bool* changed);

// In every line that contains `field` (without regard to case) removes its first
// occurrence: up to and with the next comma, or, for the line's last item, the field with
// the character before it. Line ends stay.
std::string removeIniField(const std::string& text, const std::string& field, bool* changed);

}  // namespace instsupport
