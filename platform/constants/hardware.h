// Win32 constants of this area, with their Win32 values (see platform/win32_constants.h).
#pragma once
#include <cstdint>

#define PLATFORM_HARDWARE_CONSTANTS(X)
