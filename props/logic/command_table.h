// Command tables: what a window of the properties program does with a WM_COMMAND, keyed by
// the command's identifier (low word of wParam) and notification code (high word).
//
// Pages and dialogs keep one for their controls. The application keeps one too: a command
// that neither the window's own handling nor its table takes travels on to the
// application's table, which holds the framework's standard commands.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace props {

// The framework's standard Help command.
constexpr std::uint32_t kHelpCommand = 0xE146;

class CommandTable {
  public:
    // The handler runs for `id` with notification `code` (BN_CLICKED, CBN_SELCHANGE, ...).
    // The first entry for an identifier and code wins.
    void add(std::uint32_t id, std::uint32_t code, std::function<void()> handler);
    // A command in the menu sense: a click or menu choice (code 0) or an accelerator
    // (code 1); other notifications of a control with that identifier do not run it.
    void addCommand(std::uint32_t id, std::function<void()> handler);
    // Runs the handler of `id` and `code`; false when the table has none.
    bool route(std::uint32_t id, std::uint32_t code) const;

  private:
    struct Entry {
        std::uint32_t id;
        std::uint32_t code;
        bool command;
        std::function<void()> handler;
    };
    std::vector<Entry> entries_;
};

// The application's table: the standard Help command runs `defaultHelp`, the framework's
// default help handler.
CommandTable applicationCommandTable(std::function<void()> defaultHelp);

}  // namespace props
