// The command line of hvinutil: "-shutdown", optionally followed by a blank and a notice.
//
// The setup script starts the program as `hvinutil.exe -shutdown Please wait...`; everything
// it puts after "-shutdown " is the notice, shown as it stands (quotes included). Reading the
// line is plain text work, kept apart from the window code so it can be tested anywhere.
#pragma once

#include <cstddef>
#include <string_view>

namespace instutil {

// The notice lives in a 520-byte buffer: at most 519 characters and the terminating zero.
// A longer notice is cut to its first 519 characters.
constexpr std::size_t kNoticeBufferSize = 520;
constexpr std::size_t kMaxNoticeLength = kNoticeBufferSize - 1;

struct Arguments {
    // Set when "-shutdown" (exactly that case) occurs anywhere in the arguments.
    bool shutdown = false;
    // The notice: zero-terminated, empty unless "-shutdown" is followed by a blank and at
    // least one more character.
    char notice[kNoticeBufferSize] = {};
};

// The text after the program name of a raw command line (GetCommandLineA), with the blanks
// and tabs that separate it from the name skipped. The name ends at the first blank or tab
// outside double quotes (an unterminated quote takes the rest of the line), as Windows
// splits a program name. Nothing inside the arguments is unquoted.
std::string_view skipProgramName(std::string_view commandLine);

// Reads the flag and the notice from the text after the program name. Everything else on
// the line is ignored.
Arguments readArguments(std::string_view arguments);

}  // namespace instutil
