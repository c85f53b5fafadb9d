// Win32 constants shared by the logic and the back-ends, with their Win32 values.
//
// Logic code never sees <windows.h>, yet it reads like Win32 code: it uses ERROR_SUCCESS,
// REG_BINARY, GENERIC_READ and the rest under their own names. Each area lists its constants
// once, as an X-macro table in platform/constants/. Where <windows.h> is already included
// (the win32 back-ends), its macros are used as they are, and platform/win32/constants_check.cpp
// proves at compile time that every value here equals the one in <windows.h>.
//
// Include this header after <windows.h> when a file needs both.
#pragma once

#include <cstdint>

#include "platform/constants/all.h"

#if !defined(_WINDOWS_) && !defined(_WINDOWS_H)
#define PLATFORM_DEFINE_CONSTANT(type, name, value) constexpr type name = value;
PLATFORM_ALL_WIN32_CONSTANTS(PLATFORM_DEFINE_CONSTANT)
#undef PLATFORM_DEFINE_CONSTANT
#endif
