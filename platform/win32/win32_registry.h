// The real registry: the Registry interface over the advapi32 Reg*A functions.
//
// Each call is the Win32 function of the same name with the same arguments; results are the
// Win32 results unchanged. platform::HKey and HKEY are the same value (32-bit builds only).
#pragma once

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry : public Registry {
public:
    std::uint32_t OpenKeyEx(HKey parent, const char* subKey, std::uint32_t samDesired,
                            HKey* result) override;
    std::uint32_t CreateKeyEx(HKey parent, const char* subKey, std::uint32_t options,
                              std::uint32_t samDesired, HKey* result,
                              std::uint32_t* disposition) override;
    std::uint32_t CloseKey(HKey key) override;
    std::uint32_t QueryValueEx(HKey key, const char* valueName, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override;
    std::uint32_t SetValueEx(HKey key, const char* valueName, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) override;
    std::uint32_t DeleteValue(HKey key, const char* valueName) override;
    std::uint32_t DeleteKey(HKey key, const char* subKey) override;
    std::uint32_t EnumKeyEx(HKey key, std::uint32_t index, char* name,
                            std::uint32_t* nameSize) override;
    std::uint32_t EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                            std::uint32_t* type, std::uint8_t* data,
                            std::uint32_t* dataSize) override;
    std::uint32_t QueryInfoKey(HKey key, std::uint32_t* subKeys, std::uint32_t* maxSubKeyLength,
                               std::uint32_t* values, std::uint32_t* maxValueNameLength,
                               std::uint32_t* maxValueLength) override;
};

}  // namespace platform::win32
