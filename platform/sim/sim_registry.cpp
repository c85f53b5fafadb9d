#include "platform/sim/sim_registry.h"

#include <utility>

namespace platform::sim {
namespace {

// Closes the key when the reader leaves, whichever way.
class OpenKey {
public:
    OpenKey(Registry& registry, const char* path, std::uint32_t access) : registry_(registry) {
        error_ = registry_.OpenKeyEx(HKEY_LOCAL_MACHINE, path, access, &key_);
    }
    ~OpenKey() {
        if (error_ == ERROR_SUCCESS) registry_.CloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    std::uint32_t error() const { return error_; }
    HKey key() const { return key_; }

private:
    Registry& registry_;
    HKey key_ = 0;
    std::uint32_t error_ = ERROR_INVALID_HANDLE;
};

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool simKeyExists(Registry& registry, const char* keyPath) {
    OpenKey key(registry, keyPath, KEY_QUERY_VALUE);
    return key.error() == ERROR_SUCCESS;
}

bool readSimDword(Registry& registry, const char* keyPath, const char* valueName,
                  std::uint32_t* value) {
    OpenKey key(registry, keyPath, KEY_QUERY_VALUE);
    if (key.error() != ERROR_SUCCESS) return false;
    std::uint8_t data[4] = {};
    std::uint32_t type = REG_NONE;
    std::uint32_t size = sizeof data;
    if (registry.QueryValueEx(key.key(), valueName, &type, data, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data) {
        return false;
    }
    *value = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
             static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    return true;
}

std::uint32_t writeSimDword(Registry& registry, const char* keyPath, const char* valueName,
                            std::uint32_t value) {
    OpenKey key(registry, keyPath, KEY_SET_VALUE);
    if (key.error() != ERROR_SUCCESS) return key.error();
    const std::uint8_t data[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return registry.SetValueEx(key.key(), valueName, REG_DWORD, data, sizeof data);
}

bool readSimBlob(Registry& registry, const char* keyPath, const char* valueName,
                 std::uint32_t expectedType, std::vector<std::uint8_t>* data) {
    OpenKey key(registry, keyPath, KEY_QUERY_VALUE);
    if (key.error() != ERROR_SUCCESS) return false;
    std::uint32_t type = REG_NONE;
    std::uint32_t size = 0;
    if (registry.QueryValueEx(key.key(), valueName, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != expectedType) {
        return false;
    }
    std::vector<std::uint8_t> bytes(size);
    if (size != 0 &&
        (registry.QueryValueEx(key.key(), valueName, &type, bytes.data(), &size) != ERROR_SUCCESS ||
         type != expectedType)) {
        return false;
    }
    bytes.resize(size);
    *data = std::move(bytes);
    return true;
}

bool simEqualNoCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (foldAscii(*a) != foldAscii(*b)) return false;
    }
    return *a == *b;
}

}  // namespace platform::sim
