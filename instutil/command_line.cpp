#include "instutil/command_line.h"

#include <cstring>

namespace instutil {

namespace {

constexpr std::string_view kShutdownFlag = "-shutdown";

bool isSeparator(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string_view skipProgramName(std::string_view commandLine) {
    // Double quotes switch quoting on and off, so "C:\Program Files\Setup\hvinutil.exe"
    // and C:\"Program Files"\Setup\hvinutil.exe are both one name.
    std::size_t pos = 0;
    bool quoted = false;
    for (; pos < commandLine.size(); ++pos) {
        const char c = commandLine[pos];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && isSeparator(c)) {
            break;
        }
    }
    while (pos < commandLine.size() && isSeparator(commandLine[pos])) ++pos;
    commandLine.remove_prefix(pos);
    return commandLine;
}

Arguments readArguments(std::string_view arguments) {
    Arguments result;
    const std::size_t at = arguments.find(kShutdownFlag);
    if (at == std::string_view::npos) return result;
    result.shutdown = true;

    // The notice needs a blank right after the flag and something after that blank.
    const std::size_t blank = at + kShutdownFlag.size();
    if (blank + 1 < arguments.size() && arguments[blank] == ' ') {
        const char* notice = arguments.data() + blank + 1;
        std::size_t length = arguments.size() - (blank + 1);
        if (length > kMaxNoticeLength) length = kMaxNoticeLength;
        std::memcpy(result.notice, notice, length);
        result.notice[length] = '\0';
    }
    return result;
}

}  // namespace instutil
