#include "platform/registry_key.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/machine.h"

namespace platform {

namespace {

// Name buffers for enumeration grow up to this many characters (NT's value name limit + 1).
constexpr std::uint32_t kMaxNameBuffer = 16384;

// The first buffer for names of at most `longest` characters, as QueryInfoKey reported it.
std::size_t nameBufferSize(std::uint32_t longest) {
    return std::clamp<std::uint64_t>(std::uint64_t{longest} + 1, 64, kMaxNameBuffer);
}

}  // namespace

RegKey::RegKey(HKey key) : key_(key), registry_(key ? machine().registry : nullptr) {}

RegKey::~RegKey() {
    Close();
}

RegKey::RegKey(RegKey&& other) noexcept
    : key_(std::exchange(other.key_, 0)), registry_(std::exchange(other.registry_, nullptr)) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = std::exchange(other.key_, 0);
        registry_ = std::exchange(other.registry_, nullptr);
    }
    return *this;
}

std::uint32_t RegKey::Create(HKey root, const char* subKey, std::uint32_t access,
                             std::uint32_t* disposition) {
    Registry* registry = machine().registry;
    HKey key = 0;
    std::uint32_t created = 0;
    const std::uint32_t error =
        registry->CreateKeyEx(root, subKey, REG_OPTION_NON_VOLATILE, access, &key, &created);
    if (error != ERROR_SUCCESS) return error;
    Close();
    key_ = key;
    registry_ = registry;
    if (disposition) *disposition = created;
    return ERROR_SUCCESS;
}

std::uint32_t RegKey::Open(HKey root, const char* subKey, std::uint32_t access) {
    Registry* registry = machine().registry;
    HKey key = 0;
    const std::uint32_t error = registry->OpenKeyEx(root, subKey, access, &key);
    if (error != ERROR_SUCCESS) return error;
    Close();
    key_ = key;
    registry_ = registry;
    return ERROR_SUCCESS;
}

void RegKey::Close() {
    if (key_ && registry_) registry_->CloseKey(key_);
    key_ = 0;
    registry_ = nullptr;
}

HKey RegKey::Take() {
    registry_ = nullptr;
    return std::exchange(key_, 0);
}

bool RegKey::hasValue(const char* name) const {
    return key_ && registry_->QueryValueEx(key_, name, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::uint32_t RegKey::readRaw(const char* name, std::uint32_t typeA, std::uint32_t typeB,
                              std::uint32_t maxBytes, std::uint32_t* type,
                              std::vector<std::uint8_t>* data) const {
    if (!key_) return ERROR_INVALID_HANDLE;
    std::uint32_t storedType = 0;
    std::uint32_t size = 0;
    std::uint32_t error = registry_->QueryValueEx(key_, name, &storedType, nullptr, &size);
    if (error != ERROR_SUCCESS) return error;
    if (storedType != typeA && storedType != typeB) return ERROR_CANTREAD;
    if (size > maxBytes) return ERROR_MORE_DATA;
    // One spare byte so a zero-length value still has a buffer to point at.
    std::vector<std::uint8_t> buffer(size + 1, 0);
    std::uint32_t got = size;
    error = registry_->QueryValueEx(key_, name, &storedType, buffer.data(), &got);
    if (error != ERROR_SUCCESS) return error;
    if (storedType != typeA && storedType != typeB) return ERROR_CANTREAD;
    buffer.resize(std::min(got, size));
    *type = storedType;
    *data = std::move(buffer);
    return ERROR_SUCCESS;
}

std::uint32_t RegKey::readString(const char* name, std::string* out, std::uint32_t maxBytes) const {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    const std::uint32_t error = readRaw(name, REG_SZ, REG_EXPAND_SZ, maxBytes, &type, &data);
    if (error != ERROR_SUCCESS) return error;
    const auto end = std::find(data.begin(), data.end(), 0);
    out->assign(data.begin(), end);
    return ERROR_SUCCESS;
}

std::uint32_t RegKey::readMultiString(const char* name, std::vector<std::string>* out,
                                      std::uint32_t maxBytes) const {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    const std::uint32_t error = readRaw(name, REG_MULTI_SZ, REG_MULTI_SZ, maxBytes, &type, &data);
    if (error != ERROR_SUCCESS) return error;
    std::vector<std::string> strings;
    for (auto start = data.begin(); start != data.end();) {
        const auto end = std::find(start, data.end(), 0);
        if (end == start) break;  // the empty string that ends the list
        strings.emplace_back(start, end);
        start = end == data.end() ? end : end + 1;
    }
    *out = std::move(strings);
    return ERROR_SUCCESS;
}

std::uint32_t RegKey::readBinary(const char* name, std::vector<std::uint8_t>* out,
                                 std::uint32_t maxBytes) const {
    std::uint32_t type = 0;
    return readRaw(name, REG_BINARY, REG_BINARY, maxBytes, &type, out);
}

std::uint32_t RegKey::readDword(const char* name, std::uint32_t* out) const {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    std::uint32_t error = readRaw(name, REG_DWORD, REG_BINARY, 4, &type, &data);
    if (error == ERROR_MORE_DATA) return ERROR_CANTREAD;  // longer than a DWORD
    if (error != ERROR_SUCCESS) return error;
    if (data.size() != 4) return ERROR_CANTREAD;
    *out = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    return ERROR_SUCCESS;
}

std::uint32_t RegKey::write(const char* name, std::uint32_t type, const void* data,
                            std::uint32_t size) {
    if (!key_) return ERROR_INVALID_HANDLE;
    return registry_->SetValueEx(key_, name, type, static_cast<const std::uint8_t*>(data), size);
}

std::uint32_t RegKey::writeString(const char* name, std::string_view value, std::uint32_t type) {
    std::string stored(value);
    return write(name, type, stored.c_str(), static_cast<std::uint32_t>(stored.size() + 1));
}

std::uint32_t RegKey::writeMultiString(const char* name, const std::vector<std::string>& values) {
    std::string stored;
    for (const std::string& value : values) {
        stored += value;
        stored += '\0';
    }
    stored += '\0';
    return write(name, REG_MULTI_SZ, stored.data(), static_cast<std::uint32_t>(stored.size()));
}

std::uint32_t RegKey::writeBinary(const char* name, const void* data, std::uint32_t size) {
    return write(name, REG_BINARY, data, size);
}

std::uint32_t RegKey::writeDword(const char* name, std::uint32_t value) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return write(name, REG_DWORD, bytes, sizeof bytes);
}

std::uint32_t RegKey::deleteValue(const char* name) {
    if (!key_) return ERROR_INVALID_HANDLE;
    return registry_->DeleteValue(key_, name);
}

std::uint32_t RegKey::deleteSubKey(const char* name) {
    if (!key_) return ERROR_INVALID_HANDLE;
    if (!name || !*name) return ERROR_INVALID_PARAMETER;  // never the key itself
    // The system's own rule: Windows 95/98 delete the whole branch, NT refuses a key that
    // still has sub keys. Emptying the branch on NT first would delete keys the caller never
    // named (an uninstall INF's DelReg line names one key, not what others put below it).
    return registry_->DeleteKey(key_, name);
}

std::uint32_t RegKey::subKeyNames(std::vector<std::string>* out) const {
    if (!key_) return ERROR_INVALID_HANDLE;
    std::uint32_t longest = 0;
    std::uint32_t error =
        registry_->QueryInfoKey(key_, nullptr, &longest, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) return error;
    std::vector<char> buffer(nameBufferSize(longest));
    std::vector<std::string> names;
    for (std::uint32_t index = 0;;) {
        auto length = static_cast<std::uint32_t>(buffer.size());
        error = registry_->EnumKeyEx(key_, index, buffer.data(), &length);
        if (error == ERROR_NO_MORE_ITEMS) break;
        if (error == ERROR_MORE_DATA && buffer.size() < kMaxNameBuffer) {
            buffer.resize(std::min<std::size_t>(buffer.size() * 2, kMaxNameBuffer));
            continue;
        }
        if (error != ERROR_SUCCESS) return error;
        names.emplace_back(buffer.data(), std::min<std::size_t>(length, buffer.size()));
        ++index;
    }
    *out = std::move(names);
    return ERROR_SUCCESS;
}

std::uint32_t RegKey::valueNames(std::vector<std::string>* out) const {
    if (!key_) return ERROR_INVALID_HANDLE;
    std::uint32_t longest = 0;
    std::uint32_t error =
        registry_->QueryInfoKey(key_, nullptr, nullptr, nullptr, &longest, nullptr);
    if (error != ERROR_SUCCESS) return error;
    std::vector<char> buffer(nameBufferSize(longest));
    std::vector<std::string> names;
    for (std::uint32_t index = 0;;) {
        auto length = static_cast<std::uint32_t>(buffer.size());
        error =
            registry_->EnumValue(key_, index, buffer.data(), &length, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) break;
        if (error == ERROR_MORE_DATA && buffer.size() < kMaxNameBuffer) {
            buffer.resize(std::min<std::size_t>(buffer.size() * 2, kMaxNameBuffer));
            continue;
        }
        if (error != ERROR_SUCCESS) return error;
        names.emplace_back(buffer.data(), std::min<std::size_t>(length, buffer.size()));
        ++index;
    }
    *out = std::move(names);
    return ERROR_SUCCESS;
}

}  // namespace platform
