#include "winhelp_calls.h"

#include <cstdlib>
#include <fstream>

namespace {

// A hexadecimal number at `pos`; moves past it. False when there is none.
bool hexAt(const std::string& line, std::size_t& pos, unsigned long& value) {
    const char* start = line.c_str() + pos;
    char* end = nullptr;
    value = std::strtoul(start, &end, 16);
    if (end == start) return false;
    pos += static_cast<std::size_t>(end - start);
    return true;
}

bool expect(const std::string& line, std::size_t& pos, char c) {
    if (pos >= line.size() || line[pos] != c) return false;
    ++pos;
    return true;
}

}  // namespace

// The trace writes the file name after its address as a C string: 0032fd68 "C:\\windows\\..".
bool parseWinHelpCall(const std::string& line, WinHelpCall& call) {
    static const std::string kCall = "Call user32.WinHelpA(";
    std::size_t pos = line.find(kCall);
    if (pos == std::string::npos) return false;
    pos += kCall.size();
    call = WinHelpCall();
    unsigned long fileAddress = 0;
    if (!hexAt(line, pos, call.window) || !expect(line, pos, ',')) return false;
    if (!hexAt(line, pos, fileAddress)) return false;
    if (pos < line.size() && line[pos] == ' ') {
        if (!expect(line, ++pos, '"')) return false;
        while (pos < line.size() && line[pos] != '"') {
            if (line[pos] == '\\' && pos + 1 < line.size()) ++pos;
            call.file += line[pos++];
        }
        if (!expect(line, pos, '"')) return false;
    }
    return expect(line, pos, ',') && hexAt(line, pos, call.command) && expect(line, pos, ',') &&
           hexAt(line, pos, call.data) && expect(line, pos, ')');
}

std::vector<WinHelpCall> readWinHelpCalls(const std::string& tracePath) {
    std::vector<WinHelpCall> calls;
    std::ifstream in(tracePath, std::ios::binary);
    std::string line;
    static const std::string kReturn = "Ret  user32.WinHelpA() retval=";
    while (std::getline(in, line)) {
        WinHelpCall call;
        if (parseWinHelpCall(line, call)) {
            calls.push_back(call);
            continue;
        }
        std::size_t pos = line.find(kReturn);
        if (pos == std::string::npos || calls.empty() || calls.back().returned) continue;
        pos += kReturn.size();
        calls.back().returned = hexAt(line, pos, calls.back().result);
    }
    return calls;
}

bool readHelpTable(DWORD process, unsigned long address, HelpTable& table) {
    table.clear();
    HANDLE handle = OpenProcess(PROCESS_VM_READ, FALSE, process);
    if (handle == nullptr) return false;
    bool ended = false;
    for (int i = 0; i < 64 && !ended; ++i) {
        DWORD pair[2] = {};
        SIZE_T got = 0;
        const auto* at = reinterpret_cast<const BYTE*>(address) + i * sizeof pair;
        if (!ReadProcessMemory(handle, at, pair, sizeof pair, &got) || got != sizeof pair) break;
        if (pair[0] == 0 && pair[1] == 0)
            ended = true;
        else
            table.emplace_back(pair[0], pair[1]);
    }
    CloseHandle(handle);
    return ended;
}
