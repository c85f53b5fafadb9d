// Win32 constants of the operating-system, process and security area, with their Win32
// values (see platform/win32_constants.h).
#pragma once
#include <cstdint>

#define PLATFORM_SYSTEM_CONSTANTS(X)                        \
    X(std::uint32_t, ERROR_BAD_FORMAT, 11)                  \
    X(std::uint32_t, ERROR_ENVVAR_NOT_FOUND, 203)           \
    X(std::uint32_t, ERROR_INVALID_FLAGS, 1004)             \
    X(std::uint32_t, ERROR_DLL_NOT_FOUND, 1157)             \
    X(std::uint32_t, VER_PLATFORM_WIN32s, 0)                \
    X(std::uint32_t, VER_PLATFORM_WIN32_WINDOWS, 1)         \
    X(std::uint32_t, VER_PLATFORM_WIN32_NT, 2)              \
    X(std::uint32_t, EWX_LOGOFF, 0)                         \
    X(std::uint32_t, EWX_SHUTDOWN, 1)                       \
    X(std::uint32_t, EWX_REBOOT, 2)                         \
    X(std::uint32_t, EWX_FORCE, 4)                          \
    X(std::uint32_t, EWX_POWEROFF, 8)                       \
    X(std::uint32_t, LANG_NEUTRAL, 0x00)                    \
    X(std::uint32_t, LANG_GERMAN, 0x07)                     \
    X(std::uint32_t, LANG_ENGLISH, 0x09)                    \
    X(std::uint32_t, LANG_SPANISH, 0x0A)                    \
    X(std::uint32_t, LANG_FRENCH, 0x0C)                     \
    X(std::uint32_t, LANG_ITALIAN, 0x10)                    \
    X(std::uint32_t, LANG_JAPANESE, 0x11)                   \
    X(std::uint32_t, LANG_DUTCH, 0x13)                      \
    X(std::uint32_t, LANG_SWEDISH, 0x1D)                    \
    X(std::uint32_t, LOCALE_USER_DEFAULT, 0x0400)           \
    X(std::uint32_t, LOCALE_SYSTEM_DEFAULT, 0x0800)         \
    X(std::uint32_t, LOCALE_NOUSEROVERRIDE, 0x80000000u)    \
    X(std::uint32_t, LOCALE_ILANGUAGE, 0x0001)              \
    X(std::uint32_t, LOCALE_SLANGUAGE, 0x0002)              \
    X(std::uint32_t, LOCALE_SABBREVLANGNAME, 0x0003)        \
    X(std::uint32_t, LOCALE_SNATIVELANGNAME, 0x0004)        \
    X(std::uint32_t, LOCALE_ICOUNTRY, 0x0005)               \
    X(std::uint32_t, LOCALE_SCOUNTRY, 0x0006)               \
    X(std::uint32_t, LOCALE_SABBREVCTRYNAME, 0x0007)        \
    X(std::uint32_t, LOCALE_IDEFAULTCODEPAGE, 0x000B)       \
    X(std::uint32_t, LOCALE_SENGLANGUAGE, 0x1001)           \
    X(std::uint32_t, LOCALE_SENGCOUNTRY, 0x1002)            \
    X(std::uint32_t, LOCALE_IDEFAULTANSICODEPAGE, 0x1004)   \
    X(std::uint32_t, INFINITE, 0xFFFFFFFFu)                 \
    X(std::uint32_t, WAIT_OBJECT_0, 0)                      \
    X(std::uint32_t, WAIT_TIMEOUT, 258)                     \
    X(std::uint32_t, WAIT_FAILED, 0xFFFFFFFFu)              \
    X(std::uint32_t, STILL_ACTIVE, 259)                     \
    X(std::uint32_t, STARTF_USESHOWWINDOW, 0x00000001)      \
    X(std::uint32_t, CREATE_NEW_CONSOLE, 0x00000010)        \
    X(std::uint32_t, NORMAL_PRIORITY_CLASS, 0x00000020)     \
    X(std::uint32_t, CREATE_DEFAULT_ERROR_MODE, 0x04000000) \
    X(std::uint32_t, TOKEN_QUERY, 0x0008)                   \
    X(std::uint32_t, DACL_SECURITY_INFORMATION, 0x00000004) \
    X(std::uint32_t, NO_INHERITANCE, 0)                     \
    X(std::uint32_t, OBJECT_INHERIT_ACE, 0x1)               \
    X(std::uint32_t, CONTAINER_INHERIT_ACE, 0x2)            \
    X(std::uint32_t, SUB_CONTAINERS_AND_OBJECTS_INHERIT, 0x3)
