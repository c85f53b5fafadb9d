// Application object of the dialog framework: the one place that knows where the program's
// dialog templates, strings and help come from.
//
// The framework is small on purpose: an application, modeless property sheets, property
// pages, modal dialogs, command tables for control notifications, check-box binding and
// context-help tables, which is what the properties program's windows use. It wraps Win32
// and comctl32 directly (ANSI), on one thread; a message whose handling runs out of memory
// ends at its window procedure.
#pragma once

#include <windows.h>

#include <string>

#include "props/logic/command_table.h"

namespace fw {

class App {
  public:
    App();
    virtual ~App() = default;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The module every template, string, icon and bitmap is loaded from (the language
    // module). Null until the entry sets it.
    HMODULE resourceModule() const { return resourceModule_; }
    void setResourceModule(HMODULE module) { resourceModule_ = module; }

    // The WinHelp file, at most 99 characters (an empty path stays empty: help then finds
    // nothing rather than some other file).
    const char* helpFilePath() const { return helpFilePath_; }
    void setHelpFilePath(const std::string& path);

    // WinHelpA with the application's help file. Nothing happens while the path is empty.
    void winHelp(HWND window, UINT command, ULONG_PTR data) const;
    // HELP_CONTEXT for a topic number, owned by `window`.
    void helpContext(HWND window, DWORD context) const { winHelp(window, HELP_CONTEXT, context); }

    // A string of the resource module (at most 259 characters; empty when missing).
    std::string loadString(UINT id) const;

    // The application's command table, the last stop of a WM_COMMAND that the window it was
    // sent to left unhandled. True when it ran a handler.
    bool routeCommand(WPARAM wParam) const {
        return commands_.route(LOWORD(wParam), HIWORD(wParam));
    }

  protected:
    // The framework's default help, for the standard Help command: the help file's contents,
    // owned by the active window.
    virtual void onHelp();

  private:
    props::CommandTable commands_;
    HMODULE resourceModule_ = nullptr;
    char helpFilePath_[100] = {};
};

}  // namespace fw
