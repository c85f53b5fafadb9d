// REGEDIT4 text, as regedit on Windows 98 reads and writes it: the parser that turns a text
// into a list of changes, and the writers used by the export. The simulated registry carries
// the changes out (HostRegistry::importRegedit4); nothing here touches a registry.
//
// Accepted text:
//   REGEDIT4                           first non-blank line, ASCII case ignored
//   ; comment                          whole-line comments; blank lines anywhere
//   [HKEY_LOCAL_MACHINE\Software\X]    creates the key; roots by long name or HKLM, HKCU,
//                                      HKCR, HKU, HKCC, HKDD
//   [-HKEY_LOCAL_MACHINE\Software\X]   deletes the key and everything below it (absent: no-op)
//   "name"="text"  @="text"            REG_SZ stored with its terminating zero; \\ and \" are
//                                      escapes, any other backslash is kept as it stands
//   "name"=dword:0000000a              REG_DWORD, 1 to 8 hex digits
//   "name"=hex:01,02  hex(2):..  hex(7):..  hex(N):..   REG_BINARY, REG_EXPAND_SZ,
//                                      REG_MULTI_SZ, any type N (hex); comma-separated bytes of
//                                      1 or 2 hex digits, a trailing comma allowed, a line
//                                      ending in '\' continues on the next
//   "name"=-                           deletes the value
// Lines end in CRLF or LF; whitespace around '=' and a trailing "; comment" after a value are
// allowed. Text bytes are kept as they are (Windows-1252): nothing is converted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform::host {

struct Regedit4Change {
    enum class Kind {
        OpenKey,      // [key]: create it if missing; the values after it belong to it
        DeleteKey,    // [-key]
        SetValue,     // applies to the key of the last OpenKey
        DeleteValue,  // applies to the key of the last OpenKey
    };
    Kind kind = Kind::OpenKey;
    int line = 0;
    HKey root = 0;                  // OpenKey and DeleteKey: a predefined root
    std::vector<std::string> path;  // OpenKey and DeleteKey: the key names below the root
    std::string name;               // SetValue and DeleteValue: "" is the default value
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// Parses the whole text. On success fills `changes` (in text order) and returns true. On the
// first malformed line returns false, leaves `changes` as it was and sets *error (may be null)
// to "line N: ...". Value names longer than `maxValueNameLength` are malformed, as are key
// deletions that would remove a root or the key behind HKEY_CLASSES_ROOT.
bool parseRegedit4(std::string_view text, std::uint32_t maxValueNameLength,
                   std::vector<Regedit4Change>* changes, std::string* error);

// The header an export starts with: "REGEDIT4" and a blank line, CRLF.
std::string regedit4Header();

// One value line as regedit writes it, CRLF included. REG_SZ data that ends in its only zero
// byte and holds no line break is written as "text"; a four-byte REG_DWORD as dword:; all else
// as hex: (REG_BINARY) or hex(N):, wrapped with '\' continuations.
std::string formatRegedit4Value(std::string_view name, std::uint32_t type,
                                const std::vector<std::uint8_t>& data);

}  // namespace platform::host
