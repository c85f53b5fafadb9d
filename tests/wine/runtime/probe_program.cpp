// A program on the deliverables' own runtime, for the runtime's Wine test:
//
//   runtime_probe.exe LOG EXIT-CODE [out-of-memory]
//
// It logs what the start-up did (command line, static constructor), uses the containers and
// the formatter compiled for the Pentium, registers exit work, and returns EXIT-CODE; the
// log then shows the exit list and destructors in the order the language requires. With
// "out-of-memory" a failed allocation is first recovered at a recovery point, then one with
// no recovery point ends the program with ERROR_NOT_ENOUGH_MEMORY, running no destructors.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "platform/out_of_memory.h"
#include "tests/wine/runtime/probe_log.h"

namespace {

struct Global {
    Global() : value(42) {}
    ~Global() { probeLog("global destructor"); }
    int value;
};
Global g_global;

struct Local {
    ~Local() { probeLog("local static destructor"); }
};

void atExitFunction() {
    probeLog("atexit function");
}

// Kept in a volatile so the compiler cannot drop the allocation.
char* volatile g_block;

// The next blank-separated word of text, copied into word.
const char* nextWord(const char* text, char (&word)[MAX_PATH]) {
    while (*text == ' ') ++text;
    std::size_t length = 0;
    while (*text != '\0' && *text != ' ' && length + 1 < sizeof word) word[length++] = *text++;
    word[length] = '\0';
    return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char exitCode[MAX_PATH];
    char mode[MAX_PATH];
    const char* rest = nextWord(commandLine, g_probeLog);
    rest = nextWord(rest, exitCode);
    nextWord(rest, mode);

    std::string line = "command line: ";
    line += commandLine;
    probeLog(line.c_str());
    probeLog(g_global.value == 42 ? "global constructed" : "global not constructed");

    static Local local;
    std::atexit(atExitFunction);

    std::map<std::string, int> numbers;
    for (int i = 0; i < 200; ++i) numbers[std::to_string(i)] = i;
    for (int i = 0; i < 200; i += 2) numbers.erase(std::to_string(i));
    int sum = 0;
    for (const auto& entry : numbers) sum += entry.second;
    probeLog(numbers.size() == 100 && sum == 10000 ? "map ok" : "map wrong");

    char text[64];
    std::snprintf(text, sizeof text, "%s %05d %X %lu", "format", 42, 0xBEEFu, 4294967295ul);
    probeLog(text);

    if (std::strcmp(mode, "out-of-memory") == 0) {
        const bool completed = platform::completesInMemory([] { g_block = new char[0x7FFFFFF0u]; });
        probeLog(completed ? "not recovered" : "recovered");
        g_block = new char[0x7FFFFFF0u];
        probeLog("still running");
    }
    int code = 0;
    for (const char* digit = exitCode; *digit >= '0' && *digit <= '9'; ++digit) {
        code = code * 10 + (*digit - '0');
    }
    return code;
}
