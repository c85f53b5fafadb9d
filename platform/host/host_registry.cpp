// The in-memory registry of the simulated machine: handles, lookups and the Reg* operations.
// REGEDIT4 import and export live in host_registry_regedit4.cpp.
#include "platform/host/host_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/host/host_registry_names.h"

namespace platform::host {

namespace {

std::uint32_t valueNameLimit(bool nt) {
    return nt ? kMaxNtValueNameLength : kMaxValueNameLength;
}

}  // namespace

HostRegistry::HostRegistry() {
    for (const RegistryRootName& root : kRegistryRootNames) {
        if (root.key == HKEY_CLASSES_ROOT) continue;
        auto node = std::make_shared<Node>();
        node->name = root.longName;
        roots_[root.key] = node;
    }
    // HKEY_CLASSES_ROOT is a view of HKEY_LOCAL_MACHINE\SOFTWARE\Classes, as on Windows 98.
    auto software = std::make_shared<Node>();
    software->name = "SOFTWARE";
    software->parent = roots_[HKEY_LOCAL_MACHINE];
    software->depth = 1;
    roots_[HKEY_LOCAL_MACHINE]->children.push_back(software);
    classes_ = std::make_shared<Node>();
    classes_->name = "Classes";
    classes_->parent = software;
    classes_->depth = 2;
    software->children.push_back(classes_);
    roots_[HKEY_CLASSES_ROOT] = classes_;
}

HostRegistry::~HostRegistry() = default;

void HostRegistry::setNtSemantics(bool nt) {
    nt_ = nt;
}

bool HostRegistry::ntSemantics() const {
    return nt_;
}

std::size_t HostRegistry::openHandleCount() const {
    return handles_.size();
}

std::vector<std::string> HostRegistry::openHandlePaths() const {
    std::vector<std::string> paths;
    for (const auto& entry : handles_) paths.push_back(entry.second.path);
    return paths;
}

void HostRegistry::addFault(const RegistryFault& fault) {
    faults_.push_back(fault);
    faultMatches_.push_back(0);
}

void HostRegistry::clearFaults() {
    faults_.clear();
    faultMatches_.clear();
}

std::uint32_t HostRegistry::faultsFired() const {
    return faultsFired_;
}

// Every fault counts the calls it matches, whether or not an earlier fault fires for the
// same call, so `nth` always means the n-th matching call.
std::uint32_t HostRegistry::checkFault(RegistryOperation operation, const std::string& path) {
    std::uint32_t result = ERROR_SUCCESS;
    bool fired = false;
    for (std::size_t i = 0; i < faults_.size(); ++i) {
        const RegistryFault& fault = faults_[i];
        if (fault.operation != RegistryOperation::Any && fault.operation != operation) continue;
        if (!containsIgnoringCase(path, fault.pathContains)) continue;
        const std::uint32_t call = ++faultMatches_[i];
        const bool inWindow =
            call >= fault.nth && (fault.count == 0 || call - fault.nth < fault.count);
        if (inWindow && !fired) {
            fired = true;
            result = fault.error;
        }
    }
    if (fired) ++faultsFired_;
    return result;
}

std::shared_ptr<HostRegistry::Node> HostRegistry::nodeOf(HKey key, std::uint32_t* error) const {
    if (isPredefinedRoot(key)) {
        auto root = roots_.find(key);
        if (root != roots_.end()) return root->second;
        *error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    auto handle = handles_.find(key);
    if (handle == handles_.end()) {
        *error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if (handle->second.node->deleted) {
        *error = ERROR_KEY_DELETED;
        return nullptr;
    }
    return handle->second.node;
}

std::string HostRegistry::pathOf(HKey key) const {
    if (const RegistryRootName* root = rootByKey(key)) return root->longName;
    auto handle = handles_.find(key);
    return handle == handles_.end() ? std::string() : handle->second.path;
}

std::shared_ptr<HostRegistry::Node> HostRegistry::findChild(const Node& node,
                                                            std::string_view name) {
    for (const auto& child : node.children) {
        if (equalsIgnoringCase(child->name, name)) return child;
    }
    return nullptr;
}

HostRegistry::Value* HostRegistry::findValue(Node& node, std::string_view name) {
    for (Value& value : node.values) {
        if (equalsIgnoringCase(value.name, name)) return &value;
    }
    return nullptr;
}

bool HostRegistry::containsClasses(const std::shared_ptr<Node>& node) const {
    for (auto walk = classes_; walk; walk = walk->parent.lock()) {
        if (walk == node) return true;
    }
    return false;
}

void HostRegistry::markDeleted(Node& node) {
    node.deleted = true;
    node.parent.reset();
    for (const auto& child : node.children) markDeleted(*child);
}

void HostRegistry::detach(const std::shared_ptr<Node>& node) {
    if (auto parent = node->parent.lock()) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    markDeleted(*node);
}

HKey HostRegistry::issueHandle(const std::shared_ptr<Node>& node, std::string path) {
    const HKey key = nextHandle_;
    nextHandle_ += 4;
    handles_[key] = Handle{node, std::move(path)};
    return key;
}

std::string HostRegistry::joinPath(std::string base, std::string_view subKey) {
    if (!subKey.empty()) {
        base += '\\';
        base.append(subKey.data(), subKey.size());
    }
    return base;
}

std::uint32_t HostRegistry::OpenKeyEx(HKey parent, const char* subKey, std::uint32_t,
                                      HKey* result) {
    const std::string base = pathOf(parent);
    if (std::uint32_t fault =
            checkFault(RegistryOperation::OpenKey, joinPath(base, subKey ? subKey : "")))
        return fault;
    if (!result) return ERROR_INVALID_PARAMETER;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(parent, &error);
    if (!node) return error;
    std::vector<std::string_view> parts;
    if ((error = splitKeyPath(subKey, &parts)) != ERROR_SUCCESS) return error;
    std::string path = base;
    for (std::string_view part : parts) {
        node = findChild(*node, part);
        if (!node) return ERROR_FILE_NOT_FOUND;
        path = joinPath(std::move(path), node->name);
    }
    *result = issueHandle(node, std::move(path));
    return ERROR_SUCCESS;
}

std::uint32_t HostRegistry::CreateKeyEx(HKey parent, const char* subKey, std::uint32_t,
                                        std::uint32_t, HKey* result, std::uint32_t* disposition) {
    const std::string base = pathOf(parent);
    if (std::uint32_t fault =
            checkFault(RegistryOperation::CreateKey, joinPath(base, subKey ? subKey : "")))
        return fault;
    if (!result || !subKey) return ERROR_INVALID_PARAMETER;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(parent, &error);
    if (!node) return error;
    std::vector<std::string_view> parts;
    if ((error = splitKeyPath(subKey, &parts)) != ERROR_SUCCESS) return error;
    // The path is fully checked before the first level is created, so a refusal changes nothing.
    if (node->depth + parts.size() > kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
    bool created = false;
    std::string path = base;
    for (std::string_view part : parts) {
        std::shared_ptr<Node> child = findChild(*node, part);
        if (!child) {
            child = std::make_shared<Node>();
            child->name.assign(part.data(), part.size());
            child->parent = node;
            child->depth = node->depth + 1;
            node->children.push_back(child);
            created = true;
        }
        node = child;
        path = joinPath(std::move(path), node->name);
    }
    *result = issueHandle(node, std::move(path));
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

std::uint32_t HostRegistry::CloseKey(HKey key) {
    if (std::uint32_t fault = checkFault(RegistryOperation::CloseKey, pathOf(key))) return fault;
    if (isPredefinedRoot(key)) return ERROR_SUCCESS;
    return handles_.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::uint32_t HostRegistry::QueryValueEx(HKey key, const char* valueName, std::uint32_t* type,
                                         std::uint8_t* data, std::uint32_t* size) {
    if (std::uint32_t fault = checkFault(RegistryOperation::QueryValue, pathOf(key))) return fault;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(key, &error);
    if (!node) return error;
    if (data && !size) return ERROR_INVALID_PARAMETER;
    const Value* value = findValue(*node, valueName ? valueName : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    const auto stored = static_cast<std::uint32_t>(value->data.size());
    if (data && *size < stored) {
        *size = stored;
        if (type) *type = value->type;
        return ERROR_MORE_DATA;
    }
    if (data && stored) std::memcpy(data, value->data.data(), stored);
    if (size) *size = stored;
    if (type) *type = value->type;
    return ERROR_SUCCESS;
}

std::uint32_t HostRegistry::SetValueEx(HKey key, const char* valueName, std::uint32_t type,
                                       const std::uint8_t* data, std::uint32_t size) {
    if (std::uint32_t fault = checkFault(RegistryOperation::SetValue, pathOf(key))) return fault;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(key, &error);
    if (!node) return error;
    if (!data && size) return ERROR_INVALID_PARAMETER;
    const std::string_view name = valueName ? valueName : "";
    if (name.size() > valueNameLimit(nt_)) return ERROR_INVALID_PARAMETER;
    std::vector<std::uint8_t> bytes(data, data + size);
    if (Value* value = findValue(*node, valueName ? valueName : "")) {
        value->type = type;
        value->data = std::move(bytes);
    } else {
        node->values.push_back(Value{std::string(name), type, std::move(bytes)});
    }
    return ERROR_SUCCESS;
}

std::uint32_t HostRegistry::DeleteValue(HKey key, const char* valueName) {
    if (std::uint32_t fault = checkFault(RegistryOperation::DeleteValue, pathOf(key))) return fault;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(key, &error);
    if (!node) return error;
    Value* value = findValue(*node, valueName ? valueName : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    node->values.erase(node->values.begin() + (value - node->values.data()));
    return ERROR_SUCCESS;
}

std::uint32_t HostRegistry::DeleteKey(HKey key, const char* subKey) {
    if (std::uint32_t fault =
            checkFault(RegistryOperation::DeleteKey, joinPath(pathOf(key), subKey ? subKey : "")))
        return fault;
    if (!subKey) return ERROR_INVALID_PARAMETER;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(key, &error);
    if (!node) return error;
    std::vector<std::string_view> parts;
    if ((error = splitKeyPath(subKey, &parts)) != ERROR_SUCCESS) return error;
    for (std::string_view part : parts) {
        node = findChild(*node, part);
        if (!node) return ERROR_FILE_NOT_FOUND;
    }
    if (node->parent.expired() || containsClasses(node)) return ERROR_ACCESS_DENIED;
    if (nt_ && !node->children.empty()) return ERROR_ACCESS_DENIED;
    detach(node);
    return ERROR_SUCCESS;
}

std::uint32_t HostRegistry::EnumKeyEx(HKey key, std::uint32_t index, char* name,
                                      std::uint32_t* nameSize) {
    if (std::uint32_t fault = checkFault(RegistryOperation::EnumKey, pathOf(key))) return fault;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(key, &error);
    if (!node) return error;
    if (!name || !nameSize) return ERROR_INVALID_PARAMETER;
    if (index >= node->children.size()) return ERROR_NO_MORE_ITEMS;
    const std::string& childName = node->children[index]->name;
    if (childName.size() + 1 > *nameSize) return ERROR_MORE_DATA;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    *nameSize = static_cast<std::uint32_t>(childName.size());
    return ERROR_SUCCESS;
}

std::uint32_t HostRegistry::EnumValue(HKey key, std::uint32_t index, char* name,
                                      std::uint32_t* nameSize, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* dataSize) {
    if (std::uint32_t fault = checkFault(RegistryOperation::EnumValue, pathOf(key))) return fault;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(key, &error);
    if (!node) return error;
    if (!name || !nameSize || (data && !dataSize)) return ERROR_INVALID_PARAMETER;
    if (index >= node->values.size()) return ERROR_NO_MORE_ITEMS;
    const Value& value = node->values[index];
    if (value.name.size() + 1 > *nameSize) return ERROR_MORE_DATA;
    const auto stored = static_cast<std::uint32_t>(value.data.size());
    if (data && *dataSize < stored) {
        *dataSize = stored;
        if (type) *type = value.type;
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    *nameSize = static_cast<std::uint32_t>(value.name.size());
    if (data && stored) std::memcpy(data, value.data.data(), stored);
    if (dataSize) *dataSize = stored;
    if (type) *type = value.type;
    return ERROR_SUCCESS;
}

std::uint32_t HostRegistry::QueryInfoKey(HKey key, std::uint32_t* subKeys,
                                         std::uint32_t* maxSubKeyLength, std::uint32_t* values,
                                         std::uint32_t* maxValueNameLength,
                                         std::uint32_t* maxValueLength) {
    if (std::uint32_t fault = checkFault(RegistryOperation::QueryInfoKey, pathOf(key)))
        return fault;
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(key, &error);
    if (!node) return error;
    std::size_t longestKey = 0, longestName = 0, longestData = 0;
    for (const auto& child : node->children) longestKey = std::max(longestKey, child->name.size());
    for (const Value& value : node->values) {
        longestName = std::max(longestName, value.name.size());
        longestData = std::max(longestData, value.data.size());
    }
    if (subKeys) *subKeys = static_cast<std::uint32_t>(node->children.size());
    if (maxSubKeyLength) *maxSubKeyLength = static_cast<std::uint32_t>(longestKey);
    if (values) *values = static_cast<std::uint32_t>(node->values.size());
    if (maxValueNameLength) *maxValueNameLength = static_cast<std::uint32_t>(longestName);
    if (maxValueLength) *maxValueLength = static_cast<std::uint32_t>(longestData);
    return ERROR_SUCCESS;
}

}  // namespace platform::host
