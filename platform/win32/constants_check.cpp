// Proves at compile time that every constant the logic uses has its <windows.h> value.
//
// The tables are expanded twice: first into copies made before <windows.h> is seen, then
// compared with the windows.h macros of the same names.
#include <cstdint>

#include "platform/constants/all.h"

#define PLATFORM_COPY_CONSTANT(type, name, value) constexpr type copy_of_##name = value;
namespace constants_check {
PLATFORM_ALL_WIN32_CONSTANTS(PLATFORM_COPY_CONSTANT)
}
#undef PLATFORM_COPY_CONSTANT

#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <dsound.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winioctl.h>

#define PLATFORM_CHECK_CONSTANT(type, name, value) \
    static_assert(constants_check::copy_of_##name == static_cast<type>(name), #name);
PLATFORM_ALL_WIN32_CONSTANTS(PLATFORM_CHECK_CONSTANT)
#undef PLATFORM_CHECK_CONSTANT
