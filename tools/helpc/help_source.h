// The help source of one language, plain Windows-1252 text:
//
//   # comment
//   .title Tunara Control Help
//   .copyright (optional)
//   .contents 20
//   .topic 20 The title of the topic
//   A paragraph; its lines are joined with single spaces.
//
//   The next paragraph, after a blank line.
//   .popup 30
//   A "What's this?" text.
//
// A line that starts with '#' is a comment, one that starts with '.' a directive. Every context
// of the context list needs its topic or popup, of the kind the list names.
#pragma once

#include <string>

#include "tools/helpc/context_list.h"
#include "tools/helpc/help_document.h"

namespace helpc {

// Longest paragraph and title the writer accepts: a paragraph is one record of the topic
// file and must fit one topic block with its header.
constexpr std::size_t kMaxParagraphBytes = 4000;
constexpr std::size_t kMaxTitleBytes = 127;

// Refuses (HelpError, file:line: reason) unknown context numbers, a context of the list
// without its topic, a topic given twice or of the wrong kind, text outside a topic, a topic
// without text, text that is not Windows-1252, and unknown directives.
HelpDocument parseHelpSource(const std::string& file, const std::string& text,
                             const ContextList& contexts);

}  // namespace helpc
