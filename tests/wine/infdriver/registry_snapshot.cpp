#include "registry_snapshot.h"

#include <cstdio>

std::string upperName(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

namespace {

void readValues(HKEY key, RegistryKey* into) {
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        into->readable = false;
        return;
    }
    std::vector<char> name(longestName + 2);
    std::vector<BYTE> data(longestData + 2);
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        const LONG result =
            RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS) {
            // The key changed under us or a value is larger than announced: not a picture to
            // compare with.
            into->readable = false;
            break;
        }
        RegistryValue value;
        value.name.assign(name.data(), nameSize);
        value.type = type;
        value.data.assign(reinterpret_cast<const char*>(data.data()), dataSize);
        into->values[upperName(value.name)] = value;
    }
}

void readTree(HKEY parent, const std::string& path, RegistrySnapshot* into) {
    std::vector<std::string> children;
    char name[MAX_PATH];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(parent, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        children.emplace_back(name, size);
    }
    for (const std::string& child : children) {
        const std::string childPath = path.empty() ? child : path + "\\" + child;
        RegistryKey& key = (*into)[upperName(childPath)];
        key.path = childPath;
        HKEY opened = nullptr;
        if (RegOpenKeyExA(parent, child.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
            key.readable = false;
            continue;
        }
        readValues(opened, &key);
        readTree(opened, childPath, into);
        RegCloseKey(opened);
    }
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, c == '\\' ? "\\\\" : "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string hexBytes(const std::string& data) {
    std::string out;
    for (const char c : data) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(c));
        if (!out.empty()) out += ' ';
        out += byte;
    }
    return out.empty() ? "(no bytes)" : out;
}

}  // namespace

RegistrySnapshot snapshotRegistry(HKEY root, const std::vector<std::string>& trees) {
    RegistrySnapshot snapshot;
    for (const std::string& tree : trees) {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(root, tree.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) continue;
        RegistryKey& key = snapshot[upperName(tree)];
        key.path = tree;
        readValues(opened, &key);
        readTree(opened, tree, &snapshot);
        RegCloseKey(opened);
    }
    return snapshot;
}

std::string describeValue(DWORD type, const std::string& data) {
    // Texts are shown with their terminator cut; a text stored without one says so.
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        const bool terminated = !data.empty() && data.back() == '\0';
        return std::string(type == REG_SZ ? "REG_SZ " : "REG_EXPAND_SZ ") +
               quoted(terminated ? data.substr(0, data.size() - 1) : data) +
               (terminated ? "" : " (no terminator)");
    }
    if (type == REG_DWORD && data.size() == 4) {
        const unsigned long value =
            static_cast<unsigned char>(data[0]) | static_cast<unsigned char>(data[1]) << 8 |
            static_cast<unsigned char>(data[2]) << 16 |
            static_cast<unsigned long>(static_cast<unsigned char>(data[3])) << 24;
        char text[40];
        std::snprintf(text, sizeof text, "REG_DWORD 0x%08lX (%lu)", value, value);
        return text;
    }
    if (type == REG_BINARY) return "REG_BINARY " + hexBytes(data);
    return "type " + std::to_string(type) + " " + hexBytes(data);
}
