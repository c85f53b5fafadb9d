// Turns the bytes of an INF file into an InfFile, in one pass.
//
// The parser is a state machine: one short handler per state, each reading as far as its
// state goes and naming the next one, and a loop that calls them until the text ends. The
// grammar is the one Windows setup reads:
//
//   [Section name]          ; the rest of the line after "]" is ignored
//   key = value, "quoted, value", value with blanks  ; comment
//   value, value            ; a line without "=" has no key ...
//   value                   ; ... unless it holds a single value, which is then its key too
//   key = first part \      ; a backslash as the last thing on a line joins the next line
//         second part
//
// Blanks around names and values are dropped, blanks inside kept; "" inside quotes is one
// quote; a quote left open ends with the line; a NUL byte is kept as a space inside a key but
// dropped like a blank around values; a Ctrl-Z byte ends the file. Names and values longer
// than kMaxFieldLength are cut. Text before the first section header belongs to no line; a
// file with such text opens only when it has a "[Strings]" section, as with Setup.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/inf/inf_file.h"

namespace platform::inf {

class InfParser {
  public:
    // Parses the whole file: decodes its bytes (see decodeInfBytes), reads every section and
    // line into `file` and, for INF_STYLE_WIN4, checks the "Version" signature.
    // ERROR_SUCCESS; ERROR_FILE_INVALID for an empty file; ERROR_BAD_SECTION_NAME_LINE or
    // ERROR_SECTION_NAME_TOO_LONG with the 1-based line in *errorLine;
    // ERROR_EXPECTED_SECTION_NAME, when text stands before the first section of a file
    // without "[Strings]", with the line of that text; ERROR_WRONG_INF_STYLE with *errorLine 0.
    // `errorLine` may be null. `file` must be fresh; on failure its content is unspecified and it
    // is to be thrown away.
    static std::uint32_t parseFile(const unsigned char* bytes, std::size_t size,
                                   std::uint32_t style, InfFile* file, std::uint32_t* errorLine);

    // Parses text that is already ANSI. Results as parseFile, without the style check.
    static std::uint32_t parseText(const char* text, std::size_t size, InfFile* file,
                                   std::uint32_t* errorLine);
};

}  // namespace platform::inf
