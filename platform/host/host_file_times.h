// Small conversions shared by the host file back-end: host times as FILETIMEs and host
// error numbers as Win32 codes.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/files.h"

namespace platform::host {

// 100-ns units between 1 January 1601 and 1 January 1970.
constexpr std::uint64_t kUnixEpochAsFileTime = 116444736000000000ull;

FileTime fileTimeFromTimespec(const timespec& time);
timespec timespecFromFileTime(FileTime time);
FileTime currentFileTime();

// The Win32 code for a failed host call's errno; `fallback` for an unexpected one.
std::uint32_t win32FromErrno(int error, std::uint32_t fallback);

}  // namespace platform::host
