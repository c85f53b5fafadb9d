// The entry point of the Windows programs (linked with --entry=_tunaraProgramStart): the
// static constructors, WinMain with the command line after the program's name, the exit
// list and static destructors, then ExitProcess with WinMain's result.
//
// WinMain runs under no recovery point: a failed allocation that no boundary of the program
// took ends the process where it happened, with ERROR_NOT_ENOUGH_MEMORY as its exit code,
// rather than cutting the stack back across the system's frames (a window procedure's
// caller, say).
#include <windows.h>

#include "platform/win32/runtime/module_lifetime.h"

namespace {

// The command line without the program's name (quoted or not) and the blanks after it.
LPSTR commandTail() {
    char* text = ::GetCommandLineA();
    if (text == nullptr) return const_cast<char*>("");
    if (*text == '"') {
        ++text;
        while (*text != '\0' && *text != '"') ++text;
        if (*text == '"') ++text;
    } else {
        while (*text != '\0' && *text != ' ' && *text != '\t') ++text;
    }
    while (*text == ' ' || *text == '\t') ++text;
    return text;
}

int showCommand() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

// The stack is realigned: the loader enters with whatever alignment it had.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void tunaraProgramStart() {
    runtime::runConstructors();
    const int exitCode =
        WinMain(::GetModuleHandleA(nullptr), nullptr, commandTail(), showCommand());
    runtime::runDestructors();
    ::ExitProcess(static_cast<UINT>(exitCode));
}
