// The registry, as the Win32 Reg*A functions offer it.
//
// Every operation returns the Win32 error code the real call returns (ERROR_SUCCESS on
// success) and leaves its outputs untouched on failure unless said otherwise. Names are
// 8-bit ANSI, compared without regard to case. Keys are opaque handles; the predefined
// roots carry their Win32 values and are never closed.
//
// Results every operation can give besides its own: ERROR_INVALID_HANDLE for a key that is
// not open (closed, never opened, 0), ERROR_KEY_DELETED for a handle whose key was deleted
// meanwhile, and whatever a failing registry reports (ERROR_CANTWRITE, ERROR_REGISTRY_CORRUPT,
// ERROR_NOT_ENOUGH_MEMORY, ...). Callers treat any code but the ones named as "failed, nothing
// changed". A sub key path is names joined by ''; a path that starts with '' or has an
// empty part is refused with ERROR_BAD_PATHNAME, a name over 255 characters with
// ERROR_INVALID_PARAMETER. RegKey (platform/registry_key.h) is the owner to use in logic.
#pragma once

#include <cstdint>

#include "platform/win32_constants.h"

namespace platform {

// An open key, or one of the predefined roots. 0 is never a valid key.
using HKey = std::uintptr_t;

}  // namespace platform

#if !defined(_WINDOWS_) && !defined(_WINDOWS_H)
constexpr platform::HKey HKEY_CLASSES_ROOT = 0x80000000u;
constexpr platform::HKey HKEY_CURRENT_USER = 0x80000001u;
constexpr platform::HKey HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr platform::HKey HKEY_USERS = 0x80000003u;
constexpr platform::HKey HKEY_PERFORMANCE_DATA = 0x80000004u;
constexpr platform::HKey HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr platform::HKey HKEY_DYN_DATA = 0x80000006u;
#else
namespace platform {
// In files that include <windows.h> (the Win32 back-ends and the window shells) the roots are
// HKEY pointers; this gives the same key as a platform value: toHKey(HKEY_LOCAL_MACHINE).
inline HKey toHKey(HKEY key) { return reinterpret_cast<HKey>(key); }
}  // namespace platform
#endif

namespace platform {

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyExA. An empty or null subKey opens a new handle to `parent` itself; every
    // handle returned must be closed with CloseKey. ERROR_FILE_NOT_FOUND when the key does not
    // exist, ERROR_INVALID_PARAMETER for a null `result`.
    virtual std::uint32_t OpenKeyEx(HKey parent, const char* subKey, std::uint32_t samDesired,
                                    HKey* result) = 0;

    // RegCreateKeyExA with no class and default security; creates every missing level, or
    // none when the path is refused. An empty subKey opens a new handle to `parent`; a null
    // one is ERROR_INVALID_PARAMETER. `disposition` may be null; it receives
    // REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
    virtual std::uint32_t CreateKeyEx(HKey parent, const char* subKey, std::uint32_t options,
                                      std::uint32_t samDesired, HKey* result,
                                      std::uint32_t* disposition) = 0;

    // RegCloseKey. Closing a predefined root succeeds and does nothing; closing a handle
    // twice is ERROR_INVALID_HANDLE. A handle to a deleted key closes normally.
    virtual std::uint32_t CloseKey(HKey key) = 0;

    // RegQueryValueExA. `type`, `data` and `size` may each be null. With data: *size is the
    // buffer size in, the stored size out; ERROR_MORE_DATA (and the needed size in *size)
    // when it does not fit; *type is then set too, the buffer is not written). Without data:
    // the stored size in *size. Data without `size` is ERROR_INVALID_PARAMETER. A null or
    // empty name is the key's default value; ERROR_FILE_NOT_FOUND when the value (or the
    // default value) was never set. Strings come back as stored: a REG_SZ need not end in a
    // zero, so readers bound themselves by the size (RegKey::readString does).
    virtual std::uint32_t QueryValueEx(HKey key, const char* valueName, std::uint32_t* type,
                                       std::uint8_t* data, std::uint32_t* size) = 0;

    // RegSetValueExA. Stores exactly `size` bytes with the given type (REG_SZ data is stored
    // as given: callers pass the terminating zero in `size`). A value that exists keeps its
    // name's case and its place in the enumeration. Null data with a size, or a value name
    // over 255 characters (Windows 95/98), is ERROR_INVALID_PARAMETER.
    virtual std::uint32_t SetValueEx(HKey key, const char* valueName, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t size) = 0;

    // RegDeleteValueA. ERROR_FILE_NOT_FOUND when there is no such value.
    virtual std::uint32_t DeleteValue(HKey key, const char* valueName) = 0;

    // RegDeleteKeyA. On the Windows 95/98 family the key goes with all its sub keys; on
    // Windows NT a key that still has sub keys is refused with ERROR_ACCESS_DENIED.
    // ERROR_FILE_NOT_FOUND when the key does
    // not exist; a null subKey is ERROR_INVALID_PARAMETER; an empty one deletes `key` itself.
    // Predefined roots cannot be deleted (ERROR_ACCESS_DENIED). Open handles to the deleted
    // keys answer ERROR_KEY_DELETED from then on.
    virtual std::uint32_t DeleteKey(HKey key, const char* subKey) = 0;

    // RegEnumKeyExA without class or time. *nameSize: buffer size in characters in, the
    // name length without the zero out. ERROR_NO_MORE_ITEMS past the last key,
    // ERROR_MORE_DATA when the name and its zero do not fit (nothing written). The order is
    // stable while nothing changes; callers that delete while enumerating collect the names
    // first.
    virtual std::uint32_t EnumKeyEx(HKey key, std::uint32_t index, char* name,
                                    std::uint32_t* nameSize) = 0;

    // RegEnumValueA. `type`, `data` and `dataSize` may be null. Size rules as QueryValueEx
    // for the data and as EnumKeyEx for the name; when only the data does not fit, the name
    // is not written and *dataSize and *type are.
    virtual std::uint32_t EnumValue(HKey key, std::uint32_t index, char* name,
                                    std::uint32_t* nameSize, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* dataSize) = 0;

    // RegQueryInfoKeyA, the counts and maximum lengths only; any output may be null. Lengths
    // of names are in characters without the zero, of data in bytes.
    virtual std::uint32_t QueryInfoKey(HKey key, std::uint32_t* subKeys,
                                       std::uint32_t* maxSubKeyLength, std::uint32_t* values,
                                       std::uint32_t* maxValueNameLength,
                                       std::uint32_t* maxValueLength) = 0;
};

}  // namespace platform
