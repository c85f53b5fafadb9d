#include "settings/setting_values.h"

#include <utility>
#include <vector>

namespace settings {
namespace {

// A REG_BINARY setting holds the two bytes we write, the one byte the driver INF writes for
// some switches ("HKR,Config,MicMute,1,0"), or at most a full 32-bit number.
constexpr std::uint32_t kMinSettingBytes = 1;
constexpr std::uint32_t kMaxSettingBytes = 4;

}  // namespace

bool readSettingNumber(const platform::RegKey& key, const char* name, std::uint32_t* value) {
    *value = 0;
    std::vector<std::uint8_t> data;
    if (key.readBinary(name, &data, kMaxSettingBytes) == ERROR_SUCCESS) {
        if (data.size() < kMinSettingBytes) return false;
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < data.size(); ++i) number |= std::uint32_t{data[i]} << (8 * i);
        *value = number;
        return true;
    }
    // Not a binary of up to four bytes: a REG_DWORD is the only other form a number of ours
    // can take (readDword takes exactly that, or a 4-byte binary, which was handled above).
    std::uint32_t number = 0;
    if (key.readDword(name, &number) == ERROR_SUCCESS) {
        *value = number;
        return true;
    }
    return false;
}

std::uint32_t writeSettingNumber(platform::RegKey& key, const char* name, std::int32_t value) {
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    const std::uint8_t data[2] = {static_cast<std::uint8_t>(bits & 0xFF),
                                  static_cast<std::uint8_t>((bits >> 8) & 0xFF)};
    return key.writeBinary(name, data, sizeof data);
}

bool readKeyNameValue(const platform::RegKey& key, const char* valueName, std::string* name) {
    name->clear();
    std::string text;
    if (key.readString(valueName, &text, kTextBufferSize) != ERROR_SUCCESS) return false;
    if (text.empty() || text.size() >= kTextBufferSize) return false;
    *name = std::move(text);
    return true;
}

}  // namespace settings
