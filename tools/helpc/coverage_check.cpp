#include "tools/helpc/coverage_check.h"

#include <stdexcept>

#include "tools/helpc/help_error.h"

namespace helpc {

void checkCoverage(const std::vector<CodeContext>& used,
                   const std::vector<LanguageHelp>& languages) {
    if (used.empty())
        throw std::runtime_error(
            "no help context found in the code: the check would prove nothing");
    for (const CodeContext& context : used) {
        std::string number = std::to_string(context.number);
        for (const LanguageHelp& language : languages) {
            const HelpTopic* topic = language.document.find(context.number);
            if (topic == nullptr)
                throw HelpError(context.file, context.line,
                                "help context " + number + " has no topic in " + language.source);
            if (context.helpButton && topic->kind != ContextKind::Topic)
                throw HelpError(context.file, context.line,
                                "help context " + number +
                                    " opens the help window but is a popup in " + language.source);
        }
    }
}

}  // namespace helpc
