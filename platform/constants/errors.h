// Win32 error codes, as GetLastError and the registry functions return them.
#pragma once
#include <cstdint>

#define PLATFORM_ERROR_CONSTANTS(X)                          \
    X(std::uint32_t, ERROR_SUCCESS, 0)                       \
    X(std::uint32_t, ERROR_INVALID_FUNCTION, 1)              \
    X(std::uint32_t, ERROR_FILE_NOT_FOUND, 2)                \
    X(std::uint32_t, ERROR_PATH_NOT_FOUND, 3)                \
    X(std::uint32_t, ERROR_TOO_MANY_OPEN_FILES, 4)           \
    X(std::uint32_t, ERROR_ACCESS_DENIED, 5)                 \
    X(std::uint32_t, ERROR_INVALID_HANDLE, 6)                \
    X(std::uint32_t, ERROR_NOT_ENOUGH_MEMORY, 8)             \
    X(std::uint32_t, ERROR_INVALID_DRIVE, 15)                \
    X(std::uint32_t, ERROR_NO_MORE_FILES, 18)                \
    X(std::uint32_t, ERROR_WRITE_FAULT, 29)                  \
    X(std::uint32_t, ERROR_READ_FAULT, 30)                   \
    X(std::uint32_t, ERROR_GEN_FAILURE, 31)                  \
    X(std::uint32_t, ERROR_SHARING_VIOLATION, 32)            \
    X(std::uint32_t, ERROR_HANDLE_EOF, 38)                   \
    X(std::uint32_t, ERROR_NOT_SUPPORTED, 50)                \
    X(std::uint32_t, ERROR_FILE_EXISTS, 80)                  \
    X(std::uint32_t, ERROR_INVALID_PARAMETER, 87)            \
    X(std::uint32_t, ERROR_BROKEN_PIPE, 109)                 \
    X(std::uint32_t, ERROR_DISK_FULL, 112)                   \
    X(std::uint32_t, ERROR_CALL_NOT_IMPLEMENTED, 120)        \
    X(std::uint32_t, ERROR_INSUFFICIENT_BUFFER, 122)         \
    X(std::uint32_t, ERROR_INVALID_NAME, 123)                \
    X(std::uint32_t, ERROR_MOD_NOT_FOUND, 126)               \
    X(std::uint32_t, ERROR_PROC_NOT_FOUND, 127)              \
    X(std::uint32_t, ERROR_DIR_NOT_EMPTY, 145)               \
    X(std::uint32_t, ERROR_BAD_PATHNAME, 161)                \
    X(std::uint32_t, ERROR_ALREADY_EXISTS, 183)              \
    X(std::uint32_t, ERROR_BAD_EXE_FORMAT, 193)              \
    X(std::uint32_t, ERROR_FILENAME_EXCED_RANGE, 206)        \
    X(std::uint32_t, ERROR_MORE_DATA, 234)                   \
    X(std::uint32_t, ERROR_NO_MORE_ITEMS, 259)               \
    X(std::uint32_t, ERROR_RESOURCE_DATA_NOT_FOUND, 1812)    \
    X(std::uint32_t, ERROR_RESOURCE_TYPE_NOT_FOUND, 1813)    \
    X(std::uint32_t, ERROR_RESOURCE_NAME_NOT_FOUND, 1814)    \
    X(std::uint32_t, ERROR_CANTOPEN, 1011)                   \
    X(std::uint32_t, ERROR_CANTREAD, 1012)                   \
    X(std::uint32_t, ERROR_CANTWRITE, 1013)                  \
    X(std::uint32_t, ERROR_REGISTRY_CORRUPT, 1015)           \
    X(std::uint32_t, ERROR_KEY_DELETED, 1018)                \
    X(std::uint32_t, ERROR_CHILD_MUST_BE_VOLATILE, 1021)     \
    X(std::uint32_t, ERROR_NO_TOKEN, 1008)                   \
    X(std::uint32_t, ERROR_DLL_INIT_FAILED, 1114)            \
    X(std::uint32_t, ERROR_NONE_MAPPED, 1332)                \
    X(std::uint32_t, ERROR_BADKEY, 1010) \
    X(std::uint32_t, ERROR_CURRENT_DIRECTORY, 16) \
    X(std::uint32_t, ERROR_NOT_SAME_DEVICE, 17) \
    X(std::uint32_t, ERROR_NOT_READY, 21) \
    X(std::uint32_t, ERROR_NEGATIVE_SEEK, 131) \
    X(std::uint32_t, ERROR_DIRECTORY, 267)
