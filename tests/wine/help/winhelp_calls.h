// The WinHelpA calls the properties program made, as Wine's relay trace of that one function
// writes them to the program's error output (WINEDEBUG=+relay with RelayInclude set to
// "user32.WinHelpA"), and the control-to-context table a "What's this?" call passes, read
// from the program's memory.
//
// Wine 8.0's WinHelpA refuses HELP_WM_HELP and HELP_CONTEXTMENU ("Unknown help command",
// returns FALSE, nothing reaches the viewer), so the viewer never sees the table of such a
// call; the trace and the program's memory are the only places where the call can be seen.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

struct WinHelpCall {
    unsigned long window = 0;
    std::string file;
    unsigned long command = 0;
    unsigned long data = 0;
    bool returned = false;
    unsigned long result = 0;
};

// Every WinHelpA call in the trace file, in order; a missing file gives none.
std::vector<WinHelpCall> readWinHelpCalls(const std::string& tracePath);

// Parses one "Call user32.WinHelpA(...)" line of the trace; false for any other line.
bool parseWinHelpCall(const std::string& line, WinHelpCall& call);

using HelpTable = std::vector<std::pair<DWORD, DWORD>>;

// The control/context pairs at `address` in the process, up to the pair of zeros; false when
// the memory cannot be read or no end is found within 64 pairs.
bool readHelpTable(DWORD process, unsigned long address, HelpTable& table);
