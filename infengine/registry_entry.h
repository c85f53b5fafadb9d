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
// flags); the entry is then returned with what was filled so far. A sub key (prefix
// included) of 260 characters or more does not fit the caller's buffer: such an entry is
// not handed out at all, since a cut key names another key.
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

// Fills the outputs from a registry line. False, with no output written, when the line's
// sub key would have to be cut; the caller skips such a line.
bool parseRegistryLine(const platform::InfContext& line, const RegistryOutputs& out);

}  // namespace infengine
