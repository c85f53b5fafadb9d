// The registry of the simulated Windows 98 machine: an in-memory tree behind the Registry
// interface, with the Win32 roots, handles, error codes and deletion rules of the real one,
// fault injection for tests, and REGEDIT4 import/export for machine descriptions.
//
// Roots. HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_USER, HKEY_CURRENT_CONFIG and
// HKEY_DYN_DATA are independent trees. HKEY_CLASSES_ROOT is, as on Windows 98, a view of
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes (which exists from the start): a change through one is
// seen through the other. HKEY_CURRENT_USER and HKEY_CURRENT_CONFIG are kept as roots of their
// own rather than as views of HKEY_USERS\<user> and HKEY_LOCAL_MACHINE\Config\0001, so a machine
// description states each of them explicitly and nothing appears in two places by surprise.
// HKEY_PERFORMANCE_DATA does not exist on Windows 98: every use answers ERROR_INVALID_HANDLE.
// A fresh registry holds only the roots and HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
//
// Names. Key and value names are compared without regard to ASCII case; a name keeps the case
// it was created with. Key names are 1 to 255 characters without '\'. Value names are 0 to 255
// characters (16383 with NT semantics); the empty (or null) name is the key's default value.
// Sub key paths are split at '\'; one trailing '\' is accepted.
//   - a path that starts with '\' or has an empty part ("a\\b")  -> ERROR_BAD_PATHNAME
//     (as Windows NT answers; Windows 98 is more lenient here, the product relies on neither)
//   - a path part longer than 255 characters                     -> ERROR_INVALID_PARAMETER
//   - a value name over the limit (SetValueEx)                    -> ERROR_INVALID_PARAMETER
//   - a key more than 512 levels below its root (CreateKeyEx)     -> ERROR_INVALID_PARAMETER
// Access masks are accepted and not checked (Windows 98 keys have no security).
//
// Values are stored with their type and their exact bytes; nothing is added or converted.
//
// Enumeration. Sub keys and values are enumerated in the order they were created. Changing a
// value's data keeps its place; deleting an item closes the gap and creating it again puts it
// last. So an index walk is stable across changes to other keys and values.
//
// Handles. Every successful open or create returns a new handle, never reused. A closed or
// never issued handle answers ERROR_INVALID_HANDLE; a handle whose key was deleted (directly or
// with an ancestor) answers ERROR_KEY_DELETED to everything but CloseKey, which closes it.
// openHandleCount() lets a test teardown check that nothing leaked.
//
// Deletion. DeleteKey removes the key with all its sub keys (Windows 95/98). With
// setNtSemantics(true) a key that has sub keys is refused with ERROR_ACCESS_DENIED, as on
// Windows NT. An empty sub key deletes the key the handle refers to, a null one is
// ERROR_INVALID_PARAMETER (as is a null sub key for CreateKeyEx). The predefined roots
// and HKEY_LOCAL_MACHINE\SOFTWARE\Classes (the key behind HKEY_CLASSES_ROOT), and any key that
// contains it, are refused with ERROR_ACCESS_DENIED.
//
// Not thread-safe: the product runs on one thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform::host {

// The operations a fault can be attached to.
enum class RegistryOperation {
    Any,
    OpenKey,
    CreateKey,
    CloseKey,
    QueryValue,
    SetValue,
    DeleteValue,
    DeleteKey,
    EnumKey,
    EnumValue,
    QueryInfoKey,
};

// A planned failure. Calls of `operation` whose key path contains `pathContains` (ASCII case
// ignored; empty matches every key) are counted from 1; the call numbered `nth` and the
// `count` - 1 matching calls after it (count 0: every one after it) fail with `error` before
// they touch anything, so the registry and every output stay as they were.
//
// The key path of a call is the long root name the handle was reached through, then the key's
// path as created, then the call's sub key as the caller wrote it, joined by '\', e.g.
// "HKEY_LOCAL_MACHINE\Software\Tunara\Config". Value operations match on the key's path only.
struct RegistryFault {
    RegistryOperation operation = RegistryOperation::Any;
    std::string pathContains;
    std::uint32_t nth = 1;
    std::uint32_t count = 1;
    std::uint32_t error = 0;
};

class HostRegistry : public Registry {
public:
    HostRegistry();
    ~HostRegistry() override;
    HostRegistry(const HostRegistry&) = delete;
    HostRegistry& operator=(const HostRegistry&) = delete;

    std::uint32_t OpenKeyEx(HKey parent, const char* subKey, std::uint32_t samDesired,
                            HKey* result) override;
    std::uint32_t CreateKeyEx(HKey parent, const char* subKey, std::uint32_t options,
                              std::uint32_t samDesired, HKey* result,
                              std::uint32_t* disposition) override;
    std::uint32_t CloseKey(HKey key) override;
    std::uint32_t QueryValueEx(HKey key, const char* valueName, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) override;
    std::uint32_t SetValueEx(HKey key, const char* valueName, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) override;
    std::uint32_t DeleteValue(HKey key, const char* valueName) override;
    std::uint32_t DeleteKey(HKey key, const char* subKey) override;
    std::uint32_t EnumKeyEx(HKey key, std::uint32_t index, char* name,
                            std::uint32_t* nameSize) override;
    std::uint32_t EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                            std::uint32_t* type, std::uint8_t* data,
                            std::uint32_t* dataSize) override;
    std::uint32_t QueryInfoKey(HKey key, std::uint32_t* subKeys, std::uint32_t* maxSubKeyLength,
                               std::uint32_t* values, std::uint32_t* maxValueNameLength,
                               std::uint32_t* maxValueLength) override;

    // Windows NT rules instead of Windows 95/98 ones: DeleteKey refuses keys with sub keys,
    // value names may be up to 16383 characters. Off by default.
    void setNtSemantics(bool nt);
    bool ntSemantics() const;

    // Handles issued and not yet closed (handles to deleted keys included).
    std::size_t openHandleCount() const;
    // The key paths of the open handles, for a leak message.
    std::vector<std::string> openHandlePaths() const;

    // Adds a planned failure; faults are checked in the order added, the first that fires wins.
    void addFault(const RegistryFault& fault);
    // Drops every planned failure.
    void clearFaults();
    // How many calls have failed through planned failures so far.
    std::uint32_t faultsFired() const;

    // Carries out a REGEDIT4 text: "REGEDIT4" on the first line, then [key] sections,
    // [-key] deletions and value lines ("name"="text", @=..., dword:, hex:, hex(n):, "name"=-).
    // The whole text is checked before anything changes: on a malformed line nothing is
    // changed, false is returned and *error (may be null) says "line N: what is wrong".
    // Imports bypass planned failures, take no handles and delete keys recursively whatever
    // the semantics (regedit does). Data bytes are kept as they are (Windows-1252).
    bool importRegedit4(std::string_view text, std::string* error);

    // The key root\subKey (null or empty: root itself) and everything below it as REGEDIT4
    // text, CRLF line ends, sections named with the long root names, in enumeration order.
    // `root` may be a predefined root or an open handle. A key that does not exist, or a bad
    // handle, gives the header alone. importRegedit4 of the result reproduces names, types
    // and bytes exactly.
    std::string exportRegedit4(HKey root, const char* subKey) const;

private:
    struct Value {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    struct Node {
        std::string name;
        std::weak_ptr<Node> parent;                   // empty for a root and for a deleted key
        std::vector<std::shared_ptr<Node>> children;  // in creation order
        std::vector<Value> values;                    // in creation order
        std::uint32_t depth = 0;                      // levels below its root
        bool deleted = false;
    };
    struct Handle {
        std::shared_ptr<Node> node;  // kept alive so a deleted key still answers
        std::string path;            // long root name and key names, for faults and leaks
    };

    // The key behind a root or handle; null with ERROR_INVALID_HANDLE or ERROR_KEY_DELETED.
    std::shared_ptr<Node> nodeOf(HKey key, std::uint32_t* error) const;
    // The path a root or handle was reached by; empty for an unknown handle.
    std::string pathOf(HKey key) const;
    // The error of the planned failure this call runs into, or ERROR_SUCCESS.
    std::uint32_t checkFault(RegistryOperation operation, const std::string& path);
    HKey issueHandle(const std::shared_ptr<Node>& node, std::string path);
    // True when `node` is the key behind HKEY_CLASSES_ROOT or one of its ancestors.
    bool containsClasses(const std::shared_ptr<Node>& node) const;

    static std::shared_ptr<Node> findChild(const Node& node, std::string_view name);
    static Value* findValue(Node& node, std::string_view name);
    static void markDeleted(Node& node);
    // Unlinks `node` from its parent and marks it and everything below it deleted.
    static void detach(const std::shared_ptr<Node>& node);
    static std::string joinPath(std::string base, std::string_view subKey);

    std::map<HKey, std::shared_ptr<Node>> roots_;
    std::shared_ptr<Node> classes_;
    std::map<HKey, Handle> handles_;
    HKey nextHandle_ = 0x1000;
    bool nt_ = false;
    std::vector<RegistryFault> faults_;
    std::vector<std::uint32_t> faultMatches_;
    std::uint32_t faultsFired_ = 0;
};

}  // namespace platform::host
