// Every table of Win32 constants, as one X-macro list (see platform/win32_constants.h).
#pragma once

#include "platform/constants/errors.h"
#include "platform/constants/files.h"
#include "platform/constants/hardware.h"
#include "platform/constants/registry.h"
#include "platform/constants/system.h"
#include "platform/constants/ui.h"

#define PLATFORM_ALL_WIN32_CONSTANTS(X) \
    PLATFORM_ERROR_CONSTANTS(X)         \
    PLATFORM_REGISTRY_CONSTANTS(X)      \
    PLATFORM_FILE_CONSTANTS(X)          \
    PLATFORM_SYSTEM_CONSTANTS(X)        \
    PLATFORM_UI_CONSTANTS(X)            \
    PLATFORM_HARDWARE_CONSTANTS(X)
