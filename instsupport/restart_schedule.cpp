#include "instsupport/restart_schedule.h"

#include <vector>

#include "instsupport/file_rewrite.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/system.h"

namespace instsupport {
namespace {

constexpr char kSectionHeader[] = "[Rename]\r\n";
constexpr char kSectionHeaderLower[] = "[rename]\r\n";
constexpr char kDeletionTarget[] = "NUL";

}  // namespace

std::string insertRenameLine(const std::string& contents, const std::string& line) {
    std::size_t header = contents.find(kSectionHeader);
    if (header == std::string::npos) header = contents.find(kSectionHeaderLower);
    if (header != std::string::npos) {
        std::string result = contents;
        result.insert(header + sizeof kSectionHeader - 1, line);
        return result;
    }
    std::string result = contents;
    // A last line without its end would otherwise run into the new header.
    if (!result.empty() && result.back() != '\n') result += "\r\n";
    result += kSectionHeader;
    result += line;
    return result;
}

int scheduleAtRestart(const char* existingPath, const char* newPath) {
    if (existingPath == nullptr) return 0;
    platform::Machine& m = platform::machine();
    if (m.files->MoveFileEx(existingPath, newPath, MOVEFILE_DELAY_UNTIL_REBOOT) == ERROR_SUCCESS)
        return 1;

    std::string line =
        std::string(newPath ? newPath : kDeletionTarget) + "=" + existingPath + "\r\n";

    char windows[261] = {};
    std::uint32_t length = m.system->GetWindowsDirectory(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return 0;
    const std::string iniPath = std::string(windows) + "\\WinInit.Ini";

    // Written as the start-up files are: the new text goes to a file of its own and only
    // then takes WinInit.ini's place, so a failure leaves the old text whole (Windows runs
    // what it finds there before anything else at the next start).
    std::string contents;
    const std::uint32_t readError = readTextFile(iniPath, &contents);
    if (readError != ERROR_SUCCESS && readError != ERROR_FILE_NOT_FOUND) return 0;
    std::string tempPath;
    if (m.files->GetTempFileName(windows, "hvw", 0, &tempPath, nullptr) != ERROR_SUCCESS) return 0;
    return replaceTextFile(iniPath, tempPath, insertRenameLine(contents, line),
                           readError == ERROR_SUCCESS)
               ? 1
               : 0;
}

}  // namespace instsupport
