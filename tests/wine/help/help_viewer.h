// Reading the help viewer's window from outside, as a user reads the screen.
//
// Wine 8.0's viewer (winhlp32) shows a topic in its main window, class "MS_WINHELP" with a
// caption bar, and puts the whole topic, title first, into the rich edit control 0x701 of that
// window; both are read here with the window messages any program may send. Its caption is
// worked out once per viewer process, from the first file it opened: "<file title> Wine Help -
// <path>" (a later file keeps that caption), so only the first topic of a viewer tells the
// file by its caption.
#pragma once

#include <windows.h>

#include <string>

#include "help_sources.h"

struct ViewerView {
    HWND main = nullptr;
    DWORD process = 0;
    std::string caption;
    std::string text;  // collapsed (collapseSpaces)
};

// The viewer's visible main window and what it shows; `main` is null when none is open.
ViewerView readViewer();

// True when the viewer shows the entry: a topic's title heads the text, then the start of its
// first paragraph; a popup's text starts with its first paragraph.
bool viewerShows(const ViewerView& view, const HelpEntry& entry);

// The first `length` characters of the viewer's text, for messages.
std::string viewerExcerpt(const ViewerView& view, std::size_t length = 90);

// A message box the viewer shows (for example that it cannot find a file): its window, null
// when there is none, and its caption and text.
struct ViewerMessage {
    HWND box = nullptr;
    std::string text;
};
ViewerMessage viewerMessage();

// Every window of class "MS_WINHELP" with its style, caption and text, one per line, for a
// failure report.
std::string describeViewerWindows();
