#include "platform/host/host_registry_names.h"

namespace platform::host {

const RegistryRootName kRegistryRootNames[6] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"},
    {HKEY_USERS, "HKEY_USERS", "HKU"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "HKCC"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA", "HKDD"},
};

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool isPredefinedRoot(HKey key) {
    return key >= HKEY_CLASSES_ROOT && key <= HKEY_DYN_DATA;
}

const RegistryRootName* rootByKey(HKey key) {
    for (const RegistryRootName& root : kRegistryRootNames) {
        if (root.key == key) return &root;
    }
    return nullptr;
}

const RegistryRootName* rootByName(std::string_view name) {
    for (const RegistryRootName& root : kRegistryRootNames) {
        if (equalsIgnoringCase(name, root.longName) || equalsIgnoringCase(name, root.shortName))
            return &root;
    }
    return nullptr;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool containsIgnoringCase(std::string_view haystack, std::string_view needle) {
    if (needle.size() > haystack.size()) return false;
    for (std::size_t start = 0; start + needle.size() <= haystack.size(); ++start) {
        if (equalsIgnoringCase(haystack.substr(start, needle.size()), needle)) return true;
    }
    return false;
}

std::uint32_t splitKeyPath(std::string_view path, std::vector<std::string_view>* parts) {
    std::vector<std::string_view> result;
    if (!path.empty()) {
        if (path.front() == '\\') return ERROR_BAD_PATHNAME;
        if (path.back() == '\\') path.remove_suffix(1);
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = path.find('\\', start);
            const std::string_view part =
                path.substr(start, end == path.npos ? path.npos : end - start);
            if (part.empty()) return ERROR_BAD_PATHNAME;
            if (part.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
            result.push_back(part);
            if (end == path.npos) break;
            start = end + 1;
        }
    }
    *parts = std::move(result);
    return ERROR_SUCCESS;
}

std::uint32_t splitKeyPath(const char* path, std::vector<std::string_view>* parts) {
    return splitKeyPath(std::string_view(path ? path : ""), parts);
}

}  // namespace platform::host
