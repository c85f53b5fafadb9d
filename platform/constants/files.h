// File, folder, drive and version-resource constants with their Win32 values
// (see platform/win32_constants.h).
//
// The few error codes at the end are the ones only the file functions answer with; the
// general ones live in platform/constants/errors.h.
#pragma once
#include <cstdint>

#define PLATFORM_FILE_CONSTANTS(X)                                   \
    X(std::uint32_t, MAX_PATH, 260)                                  \
    X(std::uint32_t, GENERIC_READ, 0x80000000u)                      \
    X(std::uint32_t, GENERIC_WRITE, 0x40000000u)                     \
    X(std::uint32_t, GENERIC_EXECUTE, 0x20000000u)                   \
    X(std::uint32_t, GENERIC_ALL, 0x10000000u)                       \
    X(std::uint32_t, FILE_READ_DATA, 0x0001)                         \
    X(std::uint32_t, FILE_WRITE_DATA, 0x0002)                        \
    X(std::uint32_t, FILE_APPEND_DATA, 0x0004)                       \
    X(std::uint32_t, FILE_SHARE_READ, 0x0001)                        \
    X(std::uint32_t, FILE_SHARE_WRITE, 0x0002)                       \
    X(std::uint32_t, FILE_SHARE_DELETE, 0x0004)                      \
    X(std::uint32_t, CREATE_NEW, 1)                                  \
    X(std::uint32_t, CREATE_ALWAYS, 2)                               \
    X(std::uint32_t, OPEN_EXISTING, 3)                               \
    X(std::uint32_t, OPEN_ALWAYS, 4)                                 \
    X(std::uint32_t, TRUNCATE_EXISTING, 5)                           \
    X(std::uint32_t, FILE_ATTRIBUTE_READONLY, 0x0001)                \
    X(std::uint32_t, FILE_ATTRIBUTE_HIDDEN, 0x0002)                  \
    X(std::uint32_t, FILE_ATTRIBUTE_SYSTEM, 0x0004)                  \
    X(std::uint32_t, FILE_ATTRIBUTE_DIRECTORY, 0x0010)               \
    X(std::uint32_t, FILE_ATTRIBUTE_ARCHIVE, 0x0020)                 \
    X(std::uint32_t, FILE_ATTRIBUTE_NORMAL, 0x0080)                  \
    X(std::uint32_t, FILE_ATTRIBUTE_TEMPORARY, 0x0100)               \
    X(std::uint32_t, FILE_FLAG_WRITE_THROUGH, 0x80000000u)           \
    X(std::uint32_t, FILE_FLAG_OVERLAPPED, 0x40000000u)              \
    X(std::uint32_t, FILE_FLAG_NO_BUFFERING, 0x20000000u)            \
    X(std::uint32_t, FILE_FLAG_RANDOM_ACCESS, 0x10000000u)           \
    X(std::uint32_t, FILE_FLAG_SEQUENTIAL_SCAN, 0x08000000u)         \
    X(std::uint32_t, FILE_FLAG_DELETE_ON_CLOSE, 0x04000000u)         \
    X(std::uint32_t, FILE_FLAG_BACKUP_SEMANTICS, 0x02000000u)        \
    X(std::uint32_t, FILE_BEGIN, 0)                                  \
    X(std::uint32_t, FILE_CURRENT, 1)                                \
    X(std::uint32_t, FILE_END, 2)                                    \
    X(std::uint32_t, INVALID_FILE_SIZE, 0xFFFFFFFFu)                 \
    X(std::uint32_t, INVALID_SET_FILE_POINTER, 0xFFFFFFFFu)          \
    X(std::uint32_t, INVALID_FILE_ATTRIBUTES, 0xFFFFFFFFu)           \
    X(std::uint32_t, MOVEFILE_REPLACE_EXISTING, 0x0001)              \
    X(std::uint32_t, MOVEFILE_COPY_ALLOWED, 0x0002)                  \
    X(std::uint32_t, MOVEFILE_DELAY_UNTIL_REBOOT, 0x0004)            \
    X(std::uint32_t, MOVEFILE_WRITE_THROUGH, 0x0008)                 \
    X(std::uint32_t, DRIVE_UNKNOWN, 0)                               \
    X(std::uint32_t, DRIVE_NO_ROOT_DIR, 1)                           \
    X(std::uint32_t, DRIVE_REMOVABLE, 2)                             \
    X(std::uint32_t, DRIVE_FIXED, 3)                                 \
    X(std::uint32_t, DRIVE_REMOTE, 4)                                \
    X(std::uint32_t, DRIVE_CDROM, 5)                                 \
    X(std::uint32_t, DRIVE_RAMDISK, 6)                               \
    X(std::uint32_t, VS_FFI_SIGNATURE, 0xFEEF04BDu)                  \
    X(std::uint32_t, VS_FF_DEBUG, 0x0001)                            \
    X(std::uint32_t, VS_FF_PRERELEASE, 0x0002)                       \
    X(std::uint32_t, VS_FF_PATCHED, 0x0004)                          \
    X(std::uint32_t, VS_FF_PRIVATEBUILD, 0x0008)                     \
    X(std::uint32_t, VS_FF_INFOINFERRED, 0x0010)                     \
    X(std::uint32_t, VS_FF_SPECIALBUILD, 0x0020)                     \
    X(std::uint32_t, VOS__WINDOWS32, 0x0004)                         \
    X(std::uint32_t, VOS_NT_WINDOWS32, 0x00040004u)                  \
    X(std::uint32_t, VFT_UNKNOWN, 0)                                 \
    X(std::uint32_t, VFT_APP, 1)                                     \
    X(std::uint32_t, VFT_DLL, 2)                                     \
    X(std::uint32_t, VFT_DRV, 3)                                     \
    X(std::uint32_t, VFT_FONT, 4)                                    \
    X(std::uint32_t, VFT_VXD, 5)                                     \
    X(std::uint32_t, VFT_STATIC_LIB, 7)
