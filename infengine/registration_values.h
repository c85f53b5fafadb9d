// How a driver registration value reaches the caller: the registry entry of the AddReg
// exports (registry_entry.h), with root "HKLM" and data by type:
//
//   text    type flags 0           the text
//   DWORD   type flags 0x00010001  the number as decimal text
//   binary  type flags 1           a count byte, then that many bytes
//
// A value is only handed out with a usable sub key: an empty one would make the caller write
// at the root of HKEY_LOCAL_MACHINE, and one of 260 characters or more would be cut into the
// name of another key. Such a value ends the sequence instead (result 1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "infengine/registry_entry.h"

namespace infengine {

constexpr int kRegistryText = 0;
constexpr int kRegistryDword = 0x00010001;

// What every call of a registration export does first: the sub key, value name and data are
// emptied, the root becomes "HKLM" and the type flags 0.
void startRegistrationCall(const RegistryOutputs& out);

// True when `subKey` can be handed to the caller.
bool usableSubKey(const std::string& subKey);

// Fill the outputs; 0 done, 1 the sub key is not usable (outputs left empty).
int putText(const RegistryOutputs& out, const std::string& subKey, const char* valueName,
            const std::string& data);
int putDword(const RegistryOutputs& out, const std::string& subKey, const char* valueName,
             std::uint32_t value);
int putBinary(const RegistryOutputs& out, const std::string& subKey, const char* valueName,
              const unsigned char* bytes, std::size_t count);

}  // namespace infengine
