#include "instsupport/setup_utilities.h"

#include <cstdio>
#include <string>

#include "instsupport/text_buffer.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/ui.h"

namespace instsupport {
namespace {

const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

// Days from 1 January 1970 to the given civil date (proleptic Gregorian).
std::int64_t daysSinceEpoch(int year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

}  // namespace

int getVersionString(char* text) {
    copyToBuffer(text, kLibraryVersion);
    return static_cast<int>(sizeof kLibraryVersion);
}

void getHexString(std::uint32_t value, char* text) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned>(value));
    std::string all(digits);
    copyToBuffer(text, "0x" + all.substr(all.size() - 2));
}

int getDateTimeString(char* text, std::uint32_t* timeValue) {
    platform::System& system = *platform::machine().system;
    platform::SystemTime local;
    system.GetLocalTime(&local);
    // The C runtime's long form ("%#c") in the "C" locale a setup script runs in.
    char formatted[128];
    std::snprintf(formatted, sizeof formatted, "%s, %s %02u, %04u %02u:%02u:%02u",
                  kDayNames[local.dayOfWeek % 7], kMonthNames[(local.month + 11) % 12],
                  static_cast<unsigned>(local.day), static_cast<unsigned>(local.year),
                  static_cast<unsigned>(local.hour), static_cast<unsigned>(local.minute),
                  static_cast<unsigned>(local.second));
    copyToBuffer(text, formatted);

    platform::SystemTime utc;
    system.GetSystemTime(&utc);
    std::int64_t seconds = daysSinceEpoch(utc.year, utc.month, utc.day) * 86400 + utc.hour * 3600 +
                           utc.minute * 60 + utc.second;
    if (timeValue) *timeValue = static_cast<std::uint32_t>(seconds);
    return 1;
}

int getOs() {
    platform::OsVersionInfo version;
    if (!platform::machine().system->GetVersionEx(&version)) return 0;
    if (version.platformId == VER_PLATFORM_WIN32_WINDOWS) {
        const std::uint32_t build = version.buildNumber & 0xFFFFu;
        if (version.minorVersion >= 1) return 1002;
        if (build < 1110) return 1000;
        if (build < 1400) return 1001;
        return 0;
    }
    if (version.platformId == VER_PLATFORM_WIN32_NT) {
        if (version.majorVersion == 3) return 2000;
        if (version.majorVersion == 4) return 2001;
        if (version.majorVersion >= 5) return 2002;
    }
    return 0;
}

int getDocApp(const char* documentPath, char* programPath) {
    char answer[kTextBufferSize] = {};
    std::uintptr_t result = platform::machine().shell->FindExecutable(
        documentPath ? documentPath : "", nullptr, answer);
    answer[kTextBufferSize - 1] = '\0';
    copyToBuffer(programPath, answer);
    return result > 32 ? 1 : 0;
}

int selectFileDialog(const char* initialFolder, const char* filter, char* selectedPath) {
    platform::OpenFileRequest request;
    // The dialog framework's filter form: '|' between the parts becomes the zero byte the
    // dialog wants, and the list ends with an extra zero.
    if (filter) {
        request.filter = filter;
        for (char& c : request.filter)
            if (c == '|') c = '\0';
        if (!request.filter.empty() && request.filter.back() != '\0')
            request.filter.push_back('\0');
        request.filter.push_back('\0');
    }
    if (initialFolder) request.initialDirectory = initialFolder;
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    std::string path;
    if (!platform::machine().ui->GetOpenFileName(request, &path)) return 0;
    copyToBuffer(selectedPath, path);
    std::uint32_t attributes = 0;
    if (platform::machine().files->GetFileAttributes(path.c_str(), &attributes) != ERROR_SUCCESS)
        return 0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
}

}  // namespace instsupport
