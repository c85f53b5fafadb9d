// Registry constants with their Win32 values (see platform/win32_constants.h).
#pragma once
#include <cstdint>

#define PLATFORM_REGISTRY_CONSTANTS(X)                     \
    X(std::uint32_t, REG_NONE, 0)                          \
    X(std::uint32_t, REG_SZ, 1)                            \
    X(std::uint32_t, REG_EXPAND_SZ, 2)                     \
    X(std::uint32_t, REG_BINARY, 3)                        \
    X(std::uint32_t, REG_DWORD, 4)                         \
    X(std::uint32_t, REG_DWORD_BIG_ENDIAN, 5)              \
    X(std::uint32_t, REG_LINK, 6)                          \
    X(std::uint32_t, REG_MULTI_SZ, 7)                      \
    X(std::uint32_t, REG_CREATED_NEW_KEY, 1)               \
    X(std::uint32_t, REG_OPENED_EXISTING_KEY, 2)           \
    X(std::uint32_t, REG_OPTION_NON_VOLATILE, 0)           \
    X(std::uint32_t, REG_OPTION_VOLATILE, 1)               \
    X(std::uint32_t, KEY_QUERY_VALUE, 0x0001)              \
    X(std::uint32_t, KEY_SET_VALUE, 0x0002)                \
    X(std::uint32_t, KEY_CREATE_SUB_KEY, 0x0004)           \
    X(std::uint32_t, KEY_ENUMERATE_SUB_KEYS, 0x0008)       \
    X(std::uint32_t, KEY_NOTIFY, 0x0010)                   \
    X(std::uint32_t, KEY_CREATE_LINK, 0x0020)              \
    X(std::uint32_t, KEY_READ, 0x20019)                    \
    X(std::uint32_t, KEY_WRITE, 0x20006)                   \
    X(std::uint32_t, KEY_EXECUTE, 0x20019)                 \
    X(std::uint32_t, KEY_ALL_ACCESS, 0xF003F)
