// RegKey: the owner of one open registry key, over the machine's Registry back-end.
//
// Move-only; the destructor closes the key. Every operation that can fail returns the Win32
// error code and must be looked at ([[nodiscard]]). In case of error this object and every
// output are unchanged: a failed Open leaves the key that was open before still open.
//
// The readers are defensive. They accept only the value types and sizes they are meant for,
// refuse values larger than their bound before reading them, and never read past the data
// that was stored: an unterminated REG_SZ gives its bytes up to the stored size.
//   wrong type or size   -> ERROR_CANTREAD
//   larger than allowed  -> ERROR_MORE_DATA
//   no key open          -> ERROR_INVALID_HANDLE
//   anything else        -> what the registry answered (ERROR_FILE_NOT_FOUND, ...)
//
// The back-end is the one installed when the key was opened; it is also the one that closes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform {

class RegKey {
public:
    // Largest value the readers accept unless told otherwise. Windows 95/98 keep a value to
    // about 16 KB, so anything larger is not a value this product wrote.
    static constexpr std::uint32_t kDefaultMaxBytes = 64 * 1024;

    RegKey() = default;
    // Takes ownership of an open key (or a predefined root, which is never closed).
    explicit RegKey(HKey key);
    ~RegKey();
    RegKey(RegKey&& other) noexcept;
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // RegCreateKeyEx: opens root\subKey, creating the missing levels. `disposition` may be
    // null; it receives REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY. On success the key
    // held before is closed.
    [[nodiscard]] std::uint32_t Create(HKey root, const char* subKey, std::uint32_t access,
                                       std::uint32_t* disposition = nullptr);
    // RegOpenKeyEx of root\subKey. On success the key held before is closed.
    [[nodiscard]] std::uint32_t Open(HKey root, const char* subKey, std::uint32_t access);
    // Closes the key, if one is open. Closing never fails from the caller's point of view.
    void Close();
    // Gives up ownership: returns the key (0 if none) and leaves this object empty.
    HKey Take();

    HKey handle() const { return key_; }
    bool valid() const { return key_ != 0; }

    // True when the value exists (any type).
    bool hasValue(const char* name) const;

    // REG_SZ or REG_EXPAND_SZ (not expanded), up to maxBytes stored bytes. The text ends at
    // the first zero byte or at the end of the stored data, whichever comes first.
    [[nodiscard]] std::uint32_t readString(const char* name, std::string* out,
                                           std::uint32_t maxBytes = kDefaultMaxBytes) const;
    // REG_MULTI_SZ, up to maxBytes: the strings before the empty one that ends the list; a
    // list or a last string without its terminating zero ends at the stored size.
    [[nodiscard]] std::uint32_t readMultiString(const char* name, std::vector<std::string>* out,
                                                std::uint32_t maxBytes = kDefaultMaxBytes) const;
    // REG_BINARY, up to maxBytes.
    [[nodiscard]] std::uint32_t readBinary(const char* name, std::vector<std::uint8_t>* out,
                                           std::uint32_t maxBytes = kDefaultMaxBytes) const;
    // REG_DWORD of 4 bytes, or REG_BINARY of exactly 4 bytes (little-endian), as setup
    // programs of the time often store numbers; any other type or size is refused.
    [[nodiscard]] std::uint32_t readDword(const char* name, std::uint32_t* out) const;

    // REG_SZ (or `type`, e.g. REG_EXPAND_SZ) stored with its terminating zero.
    [[nodiscard]] std::uint32_t writeString(const char* name, std::string_view value,
                                            std::uint32_t type = REG_SZ);
    // REG_MULTI_SZ: each string with its zero, then the empty string that ends the list.
    [[nodiscard]] std::uint32_t writeMultiString(const char* name,
                                                 const std::vector<std::string>& values);
    [[nodiscard]] std::uint32_t writeBinary(const char* name, const void* data, std::uint32_t size);
    [[nodiscard]] std::uint32_t writeDword(const char* name, std::uint32_t value);

    [[nodiscard]] std::uint32_t deleteValue(const char* name);
    // RegDeleteKeyA of a named sub key (never the key itself): on Windows 95/98 the key goes
    // with everything below it; NT refuses a key that has sub keys (ERROR_ACCESS_DENIED).
    [[nodiscard]] std::uint32_t deleteSubKey(const char* name);

    // The names of the sub keys / values, in the registry's enumeration order.
    [[nodiscard]] std::uint32_t subKeyNames(std::vector<std::string>* out) const;
    [[nodiscard]] std::uint32_t valueNames(std::vector<std::string>* out) const;

private:
    // Reads a value of one of the accepted types whose size is at most maxBytes.
    std::uint32_t readRaw(const char* name, std::uint32_t typeA, std::uint32_t typeB,
                          std::uint32_t maxBytes, std::uint32_t* type,
                          std::vector<std::uint8_t>* data) const;
    std::uint32_t write(const char* name, std::uint32_t type, const void* data, std::uint32_t size);

    HKey key_ = 0;
    Registry* registry_ = nullptr;
};

}  // namespace platform
