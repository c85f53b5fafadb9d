// One line per check for the tray's drivers: "ok: ..." or "FAIL: ...", and the count of
// failures that decides the exit code.
#pragma once

#include <cstdio>
#include <string>

namespace traycheck {

inline int failures = 0;

inline bool check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) ++failures;
    return passed;
}

inline std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out + "\"";
}

}  // namespace traycheck
