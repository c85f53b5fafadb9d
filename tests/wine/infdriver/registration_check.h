// What a driver registration must leave in HKEY_LOCAL_MACHINE, and the comparison of that
// with what changed on the machine between two pictures of the registry.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "registry_snapshot.h"

struct ExpectedValue {
    std::string key;  // below HKEY_LOCAL_MACHINE
    std::string name;
    DWORD type;
    std::string data;  // the stored bytes, a text with its terminator
};

struct ExpectedRegistration {
    // The parts of HKEY_LOCAL_MACHINE a registration writes to, compared whole. Wine's own
    // device manager writes elsewhere (display and device-interface keys) while a program
    // runs, so the rest of the registry cannot be held still.
    std::vector<std::string> trees;
    // Keys that did not exist before; each one's own name must be spelt exactly so (the
    // names above it were there already, or are keys of this list).
    std::vector<std::string> newKeys;
    // In the order the registration hands them out.
    std::vector<ExpectedValue> values;
};

ExpectedValue textValue(const std::string& key, const std::string& name, const std::string& text);
ExpectedValue expandTextValue(const std::string& key, const std::string& name,
                              const std::string& text);
ExpectedValue dwordValue(const std::string& key, const std::string& name, DWORD value);
ExpectedValue binaryValue(const std::string& key, const std::string& name,
                          const std::string& bytes);

// One line per check: passed or not, and what was looked at.
using CheckReport = std::function<void(bool, const std::string&)>;

// Compares the change from `before` to `after` (pictures of `expected.trees`) with `expected`,
// exactly: every expected value with its name, type and bytes, every expected key new, and
// nothing else added, changed or removed in those trees. Returns true when all of it holds.
bool compareRegistration(const RegistrySnapshot& before, const RegistrySnapshot& after,
                         const ExpectedRegistration& expected, const CheckReport& report);

struct WrittenEntry {
    std::string subKey;
    std::string name;
};

// The entries the engine handed out, in its order, against the expected values' order (which
// also catches a value handed out twice).
void compareOrder(const std::vector<WrittenEntry>& written, const ExpectedRegistration& expected,
                  const CheckReport& report);
