// A WinHelp 4.0 file from one language's help: |SYSTEM (title, copyright, contents topic,
// charset), |TOPIC, |FONT, |CTXOMAP (context numbers, for HELP_CONTEXT and the "What's this?"
// popups of HELP_WM_HELP/HELP_CONTEXTMENU) and |CONTEXT (context names by hash).
#pragma once

#include <cstdint>

#include "tools/helpc/byte_writer.h"
#include "tools/helpc/help_document.h"

namespace helpc {

// `generated` is the compile date the file records (seconds since 1970); a fixed value keeps
// the bytes of every build the same.
Bytes buildHelpFile(const HelpDocument& document, std::uint32_t generated);

}  // namespace helpc
