// The build's proof that help works everywhere the program asks for it: every context that the
// code uses has its topic or popup in every language, and a Help button's context is a full
// topic (the help window cannot show a popup as a topic page).
#pragma once

#include <string>
#include <vector>

#include "tools/helpc/code_contexts.h"
#include "tools/helpc/help_document.h"

namespace helpc {

struct LanguageHelp {
    std::string source;  // file name, for the messages
    HelpDocument document;
};

// Throws HelpError at the code line of the first context that a language lacks, and a
// std::runtime_error when `used` is empty (a check that found nothing proves nothing).
void checkCoverage(const std::vector<CodeContext>& used,
                   const std::vector<LanguageHelp>& languages);

}  // namespace helpc
