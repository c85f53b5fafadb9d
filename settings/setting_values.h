// How the card software keeps its switches and numbers in the registry.
//
// Every switch and number under the driver's Config key and the PCI function's class key is a
// REG_BINARY of two bytes, the low 16 bits of the number, little-endian, as the driver INF
// writes them ("HKR,Config,HwAcceleration,1,01,00"). They are read into a zeroed 32-bit
// number, so a two-byte value fills its low half and a one-byte switch of the driver INF
// ("HKR,Config,MicMute,1,0") its low byte. Key names that other keys point at ("Driver")
// are strings that must fit a 260-byte buffer with their terminating zero.
//
// The readers accept only what this layout can hold and treat anything else as absent: a
// value of another type, an empty binary or one of more than 4 bytes, a name that is empty
// or longer than 259 characters. Such a value was not written by the driver or by us, and reading
// it "as far as it goes" would give a number or a key nobody meant.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry_key.h"

namespace settings {

// The size of the text buffers of the card settings: a path or key name with its zero.
constexpr std::uint32_t kTextBufferSize = 260;

// The number stored under `name`: REG_BINARY of 1 to 4 bytes (little-endian), or a REG_DWORD.
// True and *value set when such a value exists; false and *value = 0 otherwise (absent,
// another type or size, no key).
bool readSettingNumber(const platform::RegKey& key, const char* name, std::uint32_t* value);

// Stores the low 16 bits of `value` under `name` as a two-byte REG_BINARY. Returns the
// registry's result.
std::uint32_t writeSettingNumber(platform::RegKey& key, const char* name, std::int32_t value);

// A REG_SZ that names a key: true with the text in *name when it is 1 to 259 characters long
// (up to the first zero, or the stored size when there is none); false with *name empty
// otherwise.
bool readKeyNameValue(const platform::RegKey& key, const char* valueName, std::string* name);

}  // namespace settings
