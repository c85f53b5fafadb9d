// A picture of a registry tree, taken before and after a setup step, so that the step's
// writes can be read back from the machine itself rather than from what the engine said.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct RegistryValue {
    std::string name;  // as the registry spells it
    DWORD type = REG_NONE;
    std::string data;  // the stored bytes, terminators included
};

struct RegistryKey {
    std::string path;  // below the root, as the registry spells each name
    bool readable = true;
    std::map<std::string, RegistryValue> values;  // by upper-cased name
};

// Keys by upper-cased path: the registry compares key and value names without regard to case.
using RegistrySnapshot = std::map<std::string, RegistryKey>;

std::string upperName(const std::string& name);

// The keys `trees` name below `root`, each with everything below it, and all their values.
RegistrySnapshot snapshotRegistry(HKEY root, const std::vector<std::string>& trees);

// "REG_SZ \"MEDIA\"", "REG_DWORD 0x00000001 (1)", "REG_BINARY 00 00 00 00", ...
std::string describeValue(DWORD type, const std::string& data);
