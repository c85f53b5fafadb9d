#include "registration_check.h"

#include <map>
#include <set>
#include <utility>

ExpectedValue textValue(const std::string& key, const std::string& name, const std::string& text) {
    return ExpectedValue{key, name, REG_SZ, text + '\0'};
}

ExpectedValue expandTextValue(const std::string& key, const std::string& name,
                              const std::string& text) {
    return ExpectedValue{key, name, REG_EXPAND_SZ, text + '\0'};
}

ExpectedValue dwordValue(const std::string& key, const std::string& name, DWORD value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(value >> shift & 0xFF);
    return ExpectedValue{key, name, REG_DWORD, bytes};
}

ExpectedValue binaryValue(const std::string& key, const std::string& name,
                          const std::string& bytes) {
    return ExpectedValue{key, name, REG_BINARY, bytes};
}

namespace {

std::string lastName(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string where(const std::string& key, const std::string& name) {
    return "HKLM\\" + key + " [" + name + "]";
}

using ValueId = std::pair<std::string, std::string>;  // upper-cased key path and value name

const RegistryValue* findValue(const RegistrySnapshot& snapshot, const ValueId& id) {
    const auto key = snapshot.find(id.first);
    if (key == snapshot.end()) return nullptr;
    const auto value = key->second.values.find(id.second);
    return value == key->second.values.end() ? nullptr : &value->second;
}

bool sameValue(const RegistryValue& a, const RegistryValue& b) {
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

bool compareKeys(const RegistrySnapshot& before, const RegistrySnapshot& after,
                 const ExpectedRegistration& expected, const CheckReport& report) {
    bool same = true;
    std::map<std::string, std::string> wanted;  // upper-cased path -> spelling
    for (const std::string& key : expected.newKeys) wanted[upperName(key)] = key;
    for (const auto& entry : after) {
        const auto old = before.find(entry.first);
        // A key that could not be read either time is not compared (Wine makes the values of
        // Perflib\009 on demand, and they cannot be enumerated); one the registration made
        // unreadable is a fault.
        if (!entry.second.readable && (old == before.end() || old->second.readable)) {
            report(false, "HKLM\\" + entry.second.path + " cannot be read back");
            same = false;
        }
        if (old != before.end()) continue;
        const auto spelling = wanted.find(entry.first);
        if (spelling == wanted.end()) {
            report(false, "unexpected new key HKLM\\" + entry.second.path);
            same = false;
        } else if (lastName(entry.second.path) != lastName(spelling->second)) {
            report(false, "new key HKLM\\" + entry.second.path + " is not spelt " +
                              lastName(spelling->second));
            same = false;
        } else {
            report(true, "new key HKLM\\" + entry.second.path);
        }
    }
    for (const auto& entry : before) {
        if (after.count(entry.first) == 0) {
            report(false, "key removed: HKLM\\" + entry.second.path);
            same = false;
        }
    }
    for (const auto& spelling : wanted) {
        if (after.count(spelling.first) == 0) {
            report(false, "missing key HKLM\\" + spelling.second);
            same = false;
        } else if (before.count(spelling.first) != 0) {
            report(false, "HKLM\\" + spelling.second + " was there before the registration");
            same = false;
        }
    }
    return same;
}

}  // namespace

bool compareRegistration(const RegistrySnapshot& before, const RegistrySnapshot& after,
                         const ExpectedRegistration& expected, const CheckReport& report) {
    bool same = compareKeys(before, after, expected, report);

    std::map<ValueId, const ExpectedValue*> wanted;
    for (const ExpectedValue& value : expected.values) {
        const ValueId id{upperName(value.key), upperName(value.name)};
        if (!wanted.emplace(id, &value).second) {
            report(false, "the expected table names " + where(value.key, value.name) + " twice");
            same = false;
        }
    }

    // Every value that is new or different after the registration must be an expected one,
    // with exactly the expected name, type and bytes.
    std::set<ValueId> seen;
    for (const auto& key : after) {
        const auto was = before.find(key.first);
        if (!key.second.readable && was != before.end() && !was->second.readable) continue;
        for (const auto& entry : key.second.values) {
            const ValueId id{key.first, entry.first};
            const RegistryValue& now = entry.second;
            const RegistryValue* old = findValue(before, id);
            if (old != nullptr && sameValue(*old, now)) continue;
            const auto expectation = wanted.find(id);
            if (expectation == wanted.end()) {
                report(false, std::string(old == nullptr ? "unexpected value " : "changed value ") +
                                  where(key.second.path, now.name) + " = " +
                                  describeValue(now.type, now.data));
                same = false;
                continue;
            }
            seen.insert(id);
            const ExpectedValue& value = *expectation->second;
            const bool exact =
                now.name == value.name && now.type == value.type && now.data == value.data;
            std::string line =
                where(key.second.path, now.name) + " = " + describeValue(now.type, now.data);
            if (!exact) {
                line += ", expected " + where(value.key, value.name) + " = " +
                        describeValue(value.type, value.data);
            }
            report(exact, line);
            same = same && exact;
        }
    }
    for (const auto& key : before) {
        const auto now = after.find(key.first);
        if (now == after.end()) continue;                             // reported with the keys
        if (!key.second.readable || !now->second.readable) continue;  // see compareKeys
        for (const auto& entry : key.second.values) {
            if (now->second.values.count(entry.first) == 0) {
                report(false, "value removed: " + where(key.second.path, entry.second.name));
                same = false;
            }
        }
    }
    for (const ExpectedValue& value : expected.values) {
        const ValueId id{upperName(value.key), upperName(value.name)};
        if (seen.count(id) != 0) continue;
        const bool wasThere = findValue(before, id) != nullptr;
        report(false, (wasThere ? "unchanged since before the registration: " : "missing value ") +
                          where(value.key, value.name) + ", expected " +
                          describeValue(value.type, value.data));
        same = false;
    }
    return same;
}

void compareOrder(const std::vector<WrittenEntry>& written, const ExpectedRegistration& expected,
                  const CheckReport& report) {
    const std::size_t count = expected.values.size();
    for (std::size_t i = 0; i < written.size() || i < count; ++i) {
        if (i >= written.size()) {
            report(false, "the registration ended after " + std::to_string(written.size()) +
                              " values, before " +
                              where(expected.values[i].key, expected.values[i].name));
            return;
        }
        if (i >= count) {
            report(false, "the registration went on after " + std::to_string(count) +
                              " values with " + where(written[i].subKey, written[i].name));
            return;
        }
        const ExpectedValue& value = expected.values[i];
        if (upperName(written[i].subKey) != upperName(value.key) || written[i].name != value.name) {
            report(false, "value " + std::to_string(i) + " was " +
                              where(written[i].subKey, written[i].name) + ", expected " +
                              where(value.key, value.name));
            return;
        }
    }
    report(true, std::to_string(count) + " values handed out in the registration's order");
}
