// REGEDIT4 import and export of the simulated registry (the text format is in regedit4.h).
#include "platform/host/host_registry.h"
#include "platform/host/host_registry_names.h"
#include "platform/host/regedit4.h"

namespace platform::host {

bool HostRegistry::importRegedit4(std::string_view text, std::string* error) {
    const std::uint32_t nameLimit = nt_ ? kMaxNtValueNameLength : kMaxValueNameLength;
    std::vector<Regedit4Change> changes;
    if (!parseRegedit4(text, nameLimit, &changes, error)) return false;

    // Every change below is valid by construction, so the import cannot stop half-way.
    std::shared_ptr<Node> key;
    for (Regedit4Change& change : changes) {
        switch (change.kind) {
            case Regedit4Change::Kind::OpenKey: {
                key = roots_.at(change.root);
                for (const std::string& name : change.path) {
                    std::shared_ptr<Node> child = findChild(*key, name);
                    if (!child) {
                        child = std::make_shared<Node>();
                        child->name = name;
                        child->parent = key;
                        child->depth = key->depth + 1;
                        key->children.push_back(child);
                    }
                    key = child;
                }
                break;
            }
            case Regedit4Change::Kind::DeleteKey: {
                std::shared_ptr<Node> node = roots_.at(change.root);
                for (const std::string& name : change.path) {
                    if (!node) break;
                    node = findChild(*node, name);
                }
                if (node) detach(node);
                key.reset();
                break;
            }
            case Regedit4Change::Kind::SetValue:
                if (Value* value = findValue(*key, change.name)) {
                    value->type = change.type;
                    value->data = std::move(change.data);
                } else {
                    key->values.push_back(
                        Value{std::move(change.name), change.type, std::move(change.data)});
                }
                break;
            case Regedit4Change::Kind::DeleteValue:
                if (Value* value = findValue(*key, change.name))
                    key->values.erase(key->values.begin() + (value - key->values.data()));
                break;
        }
    }
    return true;
}

namespace {

template <typename NodeT>
void exportNode(const NodeT& node, const std::string& path, std::string* out) {
    *out += "[" + path + "]\r\n";
    for (const auto& value : node.values)
        *out += formatRegedit4Value(value.name, value.type, value.data);
    *out += "\r\n";
    for (const auto& child : node.children) exportNode(*child, path + "\\" + child->name, out);
}

}  // namespace

std::string HostRegistry::exportRegedit4(HKey root, const char* subKey) const {
    std::string out = regedit4Header();
    std::uint32_t error = ERROR_SUCCESS;
    std::shared_ptr<Node> node = nodeOf(root, &error);
    std::vector<std::string_view> parts;
    if (!node || splitKeyPath(subKey, &parts) != ERROR_SUCCESS) return out;
    std::string path = pathOf(root);
    for (std::string_view part : parts) {
        node = findChild(*node, part);
        if (!node) return out;
        path = joinPath(std::move(path), node->name);
    }
    exportNode(*node, path, &out);
    return out;
}

}  // namespace platform::host
