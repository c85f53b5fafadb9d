// Small registry readers and writers shared by the simulated card's back-ends. Each opens
// the key, does its one thing and closes the key again, so no handle outlives a call and a
// change made by another process is seen by the next call.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/registry.h"

namespace platform::sim {

// True when HKEY_LOCAL_MACHINE\<keyPath> exists.
bool simKeyExists(Registry& registry, const char* keyPath);

// A REG_DWORD of exactly four bytes; false (and *value untouched) when the key or value is
// missing or of another type or size.
bool readSimDword(Registry& registry, const char* keyPath, const char* valueName,
                  std::uint32_t* value);

// `valueName` of the existing key `keyPath` := value (REG_DWORD). Never creates the key.
std::uint32_t writeSimDword(Registry& registry, const char* keyPath, const char* valueName,
                            std::uint32_t value);

// The data of a value of type `expectedType`, whatever its size; false (and *data untouched)
// when the key or value is missing or of another type.
bool readSimBlob(Registry& registry, const char* keyPath, const char* valueName,
                 std::uint32_t expectedType, std::vector<std::uint8_t>* data);

// ASCII letters compared without regard to case; both strings must be non-null.
bool simEqualNoCase(const char* a, const char* b);

}  // namespace platform::sim
