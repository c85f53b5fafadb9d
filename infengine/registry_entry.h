// A registry entry: the tuple the registry exports return (root name, sub key, value name,
// data, INF flags), parsed from one line of an AddReg or DelReg section:
//
//   root, sub key, value name, flags, value(s)
//
// Root names "HKLM", "HKCR", "HKCU", "HKU" are returned in exactly this form, whatever their
// case in the INF. "HKR" (the key of the driver being registered) is resolved:
//   Windows 95/98   "HKLM" and the class key as sub key prefix (none outside driver
//                   registration); the class key is created first, and when that fails the
//                   parsing ends there;
//   Windows NT      during the event-log step: "HKLM" and
//                   "SYSTEM\CurrentControlSet\Services\EventLog\System\<service>"; during the
//                   software-settings step: "HKLM" and
//                   "SYSTEM\CurrentControlSet\Services\<service>\Device0"; otherwise the root
//                   output is left as it was and no prefix applies.
// With a prefix the sub key is prefix + "\" + value 2, or the prefix alone when value 2 is
// empty.
//
// Parsing stops at the first thing missing (an unknown root, no sub key, no value name or no
// flags); the entry is then returned with what was filled so far.
#pragma once

#include "platform/inf_reader.h"

namespace infengine {

// The caller's buffers of one registry export. Any may be null.
struct RegistryOutputs {
    char* root;
    char* subKey;
    char* valueName;
    char* data;
    int* typeFlags;
};

// Empties what every call of a registry export empties first: the sub key, the value name
// and the whole data buffer. The root and the flags are only ever written.
void emptyRegistryOutputs(const RegistryOutputs& out);

// Fills the outputs from a registry line.
void parseRegistryLine(const platform::InfContext& line, const RegistryOutputs& out);

}  // namespace infengine
