// One language's help, as read from its source: the file's title, its contents topic, and one
// topic per context of the context list, in source order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/helpc/context_list.h"

namespace helpc {

struct HelpTopic {
    std::uint32_t context = 0;
    std::string name;  // context name, from the context list
    ContextKind kind = ContextKind::Topic;
    std::string title;                    // topics only; popups have none
    std::vector<std::string> paragraphs;  // Windows-1252 text
    int line = 0;
};

struct HelpDocument {
    std::string title;
    std::string copyright;
    std::uint32_t contents = 0;
    std::vector<HelpTopic> topics;

    const HelpTopic* find(std::uint32_t context) const;
};

}  // namespace helpc
