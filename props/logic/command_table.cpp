#include "props/logic/command_table.h"

#include <utility>

namespace props {

void CommandTable::add(std::uint32_t id, std::uint32_t code, std::function<void()> handler) {
    entries_.push_back({id, code, false, std::move(handler)});
}

void CommandTable::addCommand(std::uint32_t id, std::function<void()> handler) {
    entries_.push_back({id, 0, true, std::move(handler)});
}

bool CommandTable::route(std::uint32_t id, std::uint32_t code) const {
    for (const Entry& e : entries_) {
        if (e.id != id) continue;
        if (e.command ? code > 1 : code != e.code) continue;
        if (e.handler) e.handler();
        return true;
    }
    return false;
}

CommandTable applicationCommandTable(std::function<void()> defaultHelp) {
    CommandTable table;
    table.addCommand(kHelpCommand, std::move(defaultHelp));
    return table;
}

}  // namespace props
