// clang-format off
// <windows.h> first, so the platform headers use its macros instead of defining the constants.
#include <windows.h>
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_machine.h"
// clang-format on

namespace platform::win32 {

static_assert(sizeof(HKEY) == sizeof(platform::HKey), "registry handles are 32-bit values");

namespace {

HKEY toWin32(platform::HKey key) {
    return reinterpret_cast<HKEY>(key);
}

// An optional in/out DWORD argument: DWORD and std::uint32_t are distinct types, so the value
// goes through a local and is copied back only when the call says it is meaningful.
class DwordArg {
  public:
    explicit DwordArg(std::uint32_t* target) : target_(target), value_(target ? *target : 0) {}
    DWORD* get() { return target_ ? &value_ : nullptr; }
    void commit() {
        if (target_) *target_ = value_;
    }

  private:
    std::uint32_t* target_;
    DWORD value_;
};

}  // namespace

std::uint32_t Win32Registry::OpenKeyEx(HKey parent, const char* subKey, std::uint32_t samDesired,
                                       HKey* result) {
    HKEY key = nullptr;
    const LONG error = RegOpenKeyExA(toWin32(parent), subKey, 0, samDesired, &key);
    if (error == ERROR_SUCCESS && result) *result = toHKey(key);
    return static_cast<std::uint32_t>(error);
}

std::uint32_t Win32Registry::CreateKeyEx(HKey parent, const char* subKey, std::uint32_t options,
                                         std::uint32_t samDesired, HKey* result,
                                         std::uint32_t* disposition) {
    if (!subKey) return ERROR_INVALID_PARAMETER;  // the same answer on every Windows
    HKEY key = nullptr;
    DwordArg created(disposition);
    const LONG error = RegCreateKeyExA(toWin32(parent), subKey, 0, nullptr, options, samDesired,
                                       nullptr, &key, created.get());
    if (error == ERROR_SUCCESS) {
        if (result) *result = toHKey(key);
        created.commit();
    }
    return static_cast<std::uint32_t>(error);
}

std::uint32_t Win32Registry::CloseKey(HKey key) {
    return static_cast<std::uint32_t>(RegCloseKey(toWin32(key)));
}

std::uint32_t Win32Registry::QueryValueEx(HKey key, const char* valueName, std::uint32_t* type,
                                          std::uint8_t* data, std::uint32_t* size) {
    DwordArg storedType(type), storedSize(size);
    const LONG error = RegQueryValueExA(toWin32(key), valueName, nullptr, storedType.get(), data,
                                        storedSize.get());
    if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
        storedType.commit();
        storedSize.commit();
    }
    return static_cast<std::uint32_t>(error);
}

std::uint32_t Win32Registry::SetValueEx(HKey key, const char* valueName, std::uint32_t type,
                                        const std::uint8_t* data, std::uint32_t size) {
    return static_cast<std::uint32_t>(RegSetValueExA(toWin32(key), valueName, 0, type, data, size));
}

std::uint32_t Win32Registry::DeleteValue(HKey key, const char* valueName) {
    return static_cast<std::uint32_t>(RegDeleteValueA(toWin32(key), valueName));
}

std::uint32_t Win32Registry::DeleteKey(HKey key, const char* subKey) {
    if (!subKey) return ERROR_INVALID_PARAMETER;
    return static_cast<std::uint32_t>(RegDeleteKeyA(toWin32(key), subKey));
}

std::uint32_t Win32Registry::EnumKeyEx(HKey key, std::uint32_t index, char* name,
                                       std::uint32_t* nameSize) {
    DwordArg length(nameSize);
    const LONG error =
        RegEnumKeyExA(toWin32(key), index, name, length.get(), nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_SUCCESS) length.commit();
    return static_cast<std::uint32_t>(error);
}

std::uint32_t Win32Registry::EnumValue(HKey key, std::uint32_t index, char* name,
                                       std::uint32_t* nameSize, std::uint32_t* type,
                                       std::uint8_t* data, std::uint32_t* dataSize) {
    DwordArg length(nameSize), storedType(type), storedSize(dataSize);
    const LONG error = RegEnumValueA(toWin32(key), index, name, length.get(), nullptr,
                                     storedType.get(), data, storedSize.get());
    if (error == ERROR_SUCCESS) length.commit();
    if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
        storedType.commit();
        storedSize.commit();
    }
    return static_cast<std::uint32_t>(error);
}

std::uint32_t Win32Registry::QueryInfoKey(HKey key, std::uint32_t* subKeys,
                                          std::uint32_t* maxSubKeyLength, std::uint32_t* values,
                                          std::uint32_t* maxValueNameLength,
                                          std::uint32_t* maxValueLength) {
    DwordArg keys(subKeys), keyLength(maxSubKeyLength), count(values),
        nameLength(maxValueNameLength), dataLength(maxValueLength);
    const LONG error = RegQueryInfoKeyA(toWin32(key), nullptr, nullptr, nullptr, keys.get(),
                                        keyLength.get(), nullptr, count.get(), nameLength.get(),
                                        dataLength.get(), nullptr, nullptr);
    if (error == ERROR_SUCCESS) {
        keys.commit();
        keyLength.commit();
        count.commit();
        nameLength.commit();
        dataLength.commit();
    }
    return static_cast<std::uint32_t>(error);
}

std::unique_ptr<MachinePart> registryPart() {
    return makeBackendPart<Win32Registry, Registry, &Machine::registry>();
}

}  // namespace platform::win32
