#include "platform/host/host_file_times.h"

#include <cerrno>

namespace platform::host {

FileTime fileTimeFromTimespec(const timespec& time) {
    // Times before 1601 cannot be written as a FILETIME; they become its zero.
    long long seconds = static_cast<long long>(time.tv_sec);
    long long since1601 = seconds + static_cast<long long>(kUnixEpochAsFileTime / 10000000ull);
    if (since1601 < 0) return 0;
    return static_cast<FileTime>(since1601) * 10000000ull +
           static_cast<FileTime>(time.tv_nsec / 100);
}

timespec timespecFromFileTime(FileTime time) {
    long long units = static_cast<long long>(time / 10000000ull) -
                      static_cast<long long>(kUnixEpochAsFileTime / 10000000ull);
    timespec result{};
    result.tv_sec = static_cast<time_t>(units);
    result.tv_nsec = static_cast<long>((time % 10000000ull) * 100);
    return result;
}

FileTime currentFileTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return fileTimeFromTimespec(now);
}

std::uint32_t win32FromErrno(int error, std::uint32_t fallback) {
    switch (error) {
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        default:
            return fallback;
    }
}

}  // namespace platform::host
