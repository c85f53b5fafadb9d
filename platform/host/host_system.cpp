// HostSystem: version, folders, environment, locales, clock, debug channel and shutdown.
// Modules and processes are in host_system_modules.cpp and host_system_processes.cpp.
#include "platform/host/host_system.h"

#include <cstdio>
#include <cstring>

#include "platform/host/host_locales.h"
#include "platform/host/host_system_text.h"

namespace platform::host {

using namespace systext;
namespace {

constexpr std::uint64_t kTicksPerMs = 10000;
constexpr std::uint64_t kTicksPerDay = 86400ull * 1000 * kTicksPerMs;
// Days from 1 January 1601 to 1 January 1970.
constexpr std::int64_t kDays1601To1970 = 134774;

// Days since 1 January 1970 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(std::int64_t days, std::int64_t* year, unsigned* month, unsigned* day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    *day = static_cast<unsigned>(dayOfYear - (153 * mp + 2) / 5 + 1);
    *month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

bool isLeapYear(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned daysInMonth(unsigned year, unsigned month) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool toFileTime(const SystemTime& time, std::uint64_t* fileTime) {
    if (time.year < 1601 || time.year > 30827 || time.month < 1 || time.month > 12 ||
        time.day < 1 || time.day > daysInMonth(time.year, time.month) || time.hour > 23 ||
        time.minute > 59 || time.second > 59 || time.milliseconds > 999)
        return false;
    const std::int64_t days = daysFromCivil(time.year, time.month, time.day) + kDays1601To1970;
    const std::uint64_t ms =
        ((time.hour * 60ull + time.minute) * 60ull + time.second) * 1000ull + time.milliseconds;
    *fileTime = static_cast<std::uint64_t>(days) * kTicksPerDay + ms * kTicksPerMs;
    return true;
}

void toSystemTime(std::uint64_t fileTime, SystemTime* time) {
    const std::int64_t days = static_cast<std::int64_t>(fileTime / kTicksPerDay);
    std::uint64_t ms = (fileTime % kTicksPerDay) / kTicksPerMs;
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days - kDays1601To1970, &year, &month, &day);
    time->year = static_cast<std::uint16_t>(year);
    time->month = static_cast<std::uint16_t>(month);
    time->day = static_cast<std::uint16_t>(day);
    // 1 January 1601 was a Monday.
    time->dayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);
    time->milliseconds = static_cast<std::uint16_t>(ms % 1000);
    ms /= 1000;
    time->second = static_cast<std::uint16_t>(ms % 60);
    ms /= 60;
    time->minute = static_cast<std::uint16_t>(ms % 60);
    time->hour = static_cast<std::uint16_t>(ms / 60);
}

OsVersionInfo makeVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                          std::uint32_t platformId, const char* csd) {
    OsVersionInfo info;
    info.majorVersion = major;
    info.minorVersion = minor;
    info.platformId = platformId;
    // The 95/98 family repeats major and minor version in the high word of the build.
    info.buildNumber =
        platformId == VER_PLATFORM_WIN32_WINDOWS ? (major << 24) | (minor << 16) | build : build;
    std::snprintf(info.csdVersion, sizeof info.csdVersion, "%s", csd);
    return info;
}

}  // namespace

ReleaseFacts releaseFacts(WindowsRelease release) {
    const std::uint32_t win9x = VER_PLATFORM_WIN32_WINDOWS;
    switch (release) {
        case WindowsRelease::Windows95:
            return {makeVersion(4, 0, 950, win9x, ""), "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM",
                    "C:\\WINDOWS\\TEMP\\"};
        case WindowsRelease::Windows95Osr2:
            return {makeVersion(4, 0, 1111, win9x, " B"), "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM",
                    "C:\\WINDOWS\\TEMP\\"};
        case WindowsRelease::Windows98:
            return {makeVersion(4, 10, 1998, win9x, ""), "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM",
                    "C:\\WINDOWS\\TEMP\\"};
        case WindowsRelease::Windows98SE:
            return {makeVersion(4, 10, 2222, win9x, " A "), "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM",
                    "C:\\WINDOWS\\TEMP\\"};
        case WindowsRelease::WindowsNT4:
            return {makeVersion(4, 0, 1381, VER_PLATFORM_WIN32_NT, "Service Pack 6"), "C:\\WINNT",
                    "C:\\WINNT\\system32", "C:\\TEMP\\"};
    }
    return releaseFacts(WindowsRelease::Windows98);
}

HostSystem::HostSystem(WindowsRelease release) {
    setRelease(release);
    SystemTime start;
    start.year = 1999;
    start.month = 6;
    start.day = 15;
    start.hour = 12;
    setSystemTime(start);
    tickBase_ = 120000;  // two minutes after start-up
    programPath_ = systemDirectory_ + "\\PROGRAM.EXE";
    commandLine_ = programPath_;
}

HostSystem::~HostSystem() = default;

std::uint32_t HostSystem::fail(std::uint32_t error) {
    lastError_ = error;
    return error;
}

std::uint32_t HostSystem::copyOut(const std::string& text, char* buffer, std::uint32_t size) {
    const std::uint32_t length = static_cast<std::uint32_t>(text.size());
    if (buffer == nullptr || size < length + 1) return length + 1;
    std::memcpy(buffer, text.c_str(), length + 1);
    return length;
}

std::uint32_t HostSystem::GetLastError() {
    return lastError_;
}

void HostSystem::SetLastError(std::uint32_t error) {
    lastError_ = error;
}

bool HostSystem::GetVersionEx(OsVersionInfo* info) {
    if (info == nullptr) return fail(ERROR_INVALID_PARAMETER), false;
    if (versionFails_) return fail(ERROR_GEN_FAILURE), false;
    *info = version_;
    return true;
}

std::uint32_t HostSystem::GetWindowsDirectory(char* buffer, std::uint32_t size) {
    return copyOut(windowsDirectory_, buffer, size);
}

std::uint32_t HostSystem::GetSystemDirectory(char* buffer, std::uint32_t size) {
    return copyOut(systemDirectory_, buffer, size);
}

std::uint32_t HostSystem::GetTempPath(std::uint32_t size, char* buffer) {
    std::string path = environment("TMP");
    if (path.empty()) path = environment("TEMP");
    if (path.empty()) path = windowsDirectory_;
    if (path.empty() || path.back() != '\\') path += '\\';
    return copyOut(path, buffer, size);
}

std::uint32_t HostSystem::GetEnvironmentVariable(const char* name, char* buffer,
                                                 std::uint32_t size) {
    if (name == nullptr) return fail(ERROR_ENVVAR_NOT_FOUND), 0;
    const auto found = environment_.find(upperCase(name));
    if (found == environment_.end()) return fail(ERROR_ENVVAR_NOT_FOUND), 0;
    return copyOut(found->second, buffer, size);
}

std::string HostSystem::environment(const std::string& name) const {
    const auto found = environment_.find(upperCase(name));
    return found == environment_.end() ? std::string() : found->second;
}

std::uint64_t HostSystem::nowUtcFileTime() const {
    return utcBase_ + elapsedMs_ * kTicksPerMs;
}

void HostSystem::GetSystemTime(SystemTime* time) {
    if (time != nullptr) toSystemTime(nowUtcFileTime(), time);
}

void HostSystem::GetLocalTime(SystemTime* time) {
    FileTime local = 0;
    const FileTime utc = nowUtcFileTime();
    FileTimeToLocalFileTime(&utc, &local);
    if (time != nullptr) toSystemTime(local, time);
}

bool HostSystem::FileTimeToSystemTime(const FileTime* fileTime, SystemTime* systemTime) {
    if (fileTime == nullptr || systemTime == nullptr || *fileTime >= (1ull << 63))
        return fail(ERROR_INVALID_PARAMETER), false;
    toSystemTime(*fileTime, systemTime);
    return true;
}

bool HostSystem::SystemTimeToFileTime(const SystemTime* systemTime, FileTime* fileTime) {
    std::uint64_t value = 0;
    if (systemTime == nullptr || fileTime == nullptr || !toFileTime(*systemTime, &value))
        return fail(ERROR_INVALID_PARAMETER), false;
    *fileTime = value;
    return true;
}

bool HostSystem::FileTimeToLocalFileTime(const FileTime* fileTime, FileTime* localFileTime) {
    if (fileTime == nullptr || localFileTime == nullptr)
        return fail(ERROR_INVALID_PARAMETER), false;
    const std::int64_t shift = -static_cast<std::int64_t>(biasMinutes_) * 60 * 1000 *
                               static_cast<std::int64_t>(kTicksPerMs);
    if (shift < 0 && *fileTime < static_cast<std::uint64_t>(-shift))
        return fail(ERROR_INVALID_PARAMETER), false;
    *localFileTime = *fileTime + static_cast<std::uint64_t>(shift);
    return true;
}

std::uint32_t HostSystem::GetTickCount() {
    return static_cast<std::uint32_t>(tickBase_ + elapsedMs_);
}

void HostSystem::Sleep(std::uint32_t milliseconds) {
    advanceClock(milliseconds);
}

void HostSystem::OutputDebugString(const char* text) {
    if (text == nullptr) return;
    debugOutput_.emplace_back(text);
    if (debugEcho_) std::fprintf(stderr, "[debug] %s", text);
}

bool HostSystem::ExitWindowsEx(std::uint32_t flags, std::uint32_t /*reserved*/) {
    if (exitWindowsError_ != ERROR_SUCCESS) return fail(exitWindowsError_), false;
    exitRequests_.push_back(flags);
    return true;
}

Lcid HostSystem::resolveLocale(Lcid locale) const {
    Lcid language = locale & 0xFFFF;  // a sort order keeps the language's texts
    if (language == 0 || language == LOCALE_USER_DEFAULT) return userLocale_;
    if (language == LOCALE_SYSTEM_DEFAULT) return systemLocale_;
    // A neutral sub-language means the language's default one.
    if ((language >> 10) == 0) language |= 0x0400;
    return language;
}

Lcid HostSystem::GetThreadLocale() {
    return threadLocale_;
}

bool HostSystem::SetThreadLocale(Lcid locale) {
    const Lcid resolved = resolveLocale(locale);
    if (findLocale(resolved) == nullptr) return fail(ERROR_INVALID_PARAMETER), false;
    threadLocale_ = resolved;
    return true;
}

Lcid HostSystem::GetUserDefaultLCID() {
    return userLocale_;
}

Lcid HostSystem::GetSystemDefaultLCID() {
    return systemLocale_;
}

int HostSystem::GetLocaleInfo(Lcid locale, std::uint32_t type, char* data, int size) {
    const LocaleFacts* facts = findLocale(resolveLocale(locale));
    if (facts == nullptr || size < 0 || (size > 0 && data == nullptr))
        return fail(ERROR_INVALID_PARAMETER), 0;
    char scratch[8];
    const char* text = localeText(*facts, type, scratch);
    if (text == nullptr) return fail(ERROR_INVALID_FLAGS), 0;
    const int needed = static_cast<int>(std::strlen(text)) + 1;
    if (size == 0) return needed;
    if (size < needed) return fail(ERROR_INSUFFICIENT_BUFFER), 0;
    std::memcpy(data, text, static_cast<std::size_t>(needed));
    return needed;
}

const char* HostSystem::GetCommandLine() {
    return commandLine_.c_str();
}

// ---- Settings of the simulated machine ---------------------------------------------------

void HostSystem::setRelease(WindowsRelease release) {
    const ReleaseFacts facts = releaseFacts(release);
    version_ = facts.version;
    windowsDirectory_ = facts.windowsDirectory;
    systemDirectory_ = facts.systemDirectory;
    setEnvironmentVariable("windir", windowsDirectory_);
    setTempPath(facts.tempDirectory);
    if (isNt()) {
        setEnvironmentVariable("PATH", systemDirectory_ + ";" + windowsDirectory_);
        setEnvironmentVariable("COMSPEC", systemDirectory_ + "\\cmd.exe");
    } else {
        setEnvironmentVariable("PATH", windowsDirectory_ + ";" + windowsDirectory_ + "\\COMMAND");
        setEnvironmentVariable("COMSPEC", windowsDirectory_ + "\\COMMAND.COM");
    }
}

void HostSystem::setVersion(const OsVersionInfo& version) {
    version_ = version;
}

void HostSystem::setVersionQueryFails(bool fails) {
    versionFails_ = fails;
}

bool HostSystem::isNt() const {
    return version_.platformId == VER_PLATFORM_WIN32_NT;
}

void HostSystem::setWindowsDirectory(const std::string& path) {
    windowsDirectory_ = path;
    setEnvironmentVariable("windir", path);
}

void HostSystem::setSystemDirectory(const std::string& path) {
    systemDirectory_ = path;
}

void HostSystem::setTempPath(const std::string& path) {
    // Windows 95/98 set both, without the trailing backslash.
    std::string value = path;
    if (value.size() > 3 && value.back() == '\\') value.pop_back();
    setEnvironmentVariable("TEMP", value);
    setEnvironmentVariable("TMP", value);
}

void HostSystem::setEnvironmentVariable(const std::string& name, const std::string& value) {
    environment_[upperCase(name)] = value;
}

void HostSystem::removeEnvironmentVariable(const std::string& name) {
    environment_.erase(upperCase(name));
}

void HostSystem::setProgramPath(const std::string& path) {
    programPath_ = path;
    if (!commandLineSet_) commandLine_ = path;
}

void HostSystem::setCommandLine(const std::string& commandLine) {
    commandLine_ = commandLine;
    commandLineSet_ = true;
}

bool HostSystem::setUserDefaultLCID(Lcid locale) {
    if (findLocale(locale) == nullptr) return false;
    userLocale_ = locale;
    threadLocale_ = locale;
    return true;
}

bool HostSystem::setSystemDefaultLCID(Lcid locale) {
    if (findLocale(locale) == nullptr) return false;
    systemLocale_ = locale;
    return true;
}

void HostSystem::setSystemTime(const SystemTime& utc) {
    std::uint64_t value = 0;
    if (toFileTime(utc, &value)) {
        tickBase_ = GetTickCount();
        utcBase_ = value;
        elapsedMs_ = 0;
    }
}

void HostSystem::setTimeZoneBias(int minutes) {
    biasMinutes_ = minutes;
}

void HostSystem::setTickCount(std::uint32_t ticks) {
    utcBase_ = nowUtcFileTime();
    elapsedMs_ = 0;
    tickBase_ = ticks;
}

void HostSystem::advanceClock(std::uint32_t milliseconds) {
    elapsedMs_ += milliseconds;
}

}  // namespace platform::host
