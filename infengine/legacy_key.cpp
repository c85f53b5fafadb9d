#include "infengine/legacy_key.h"

#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/id_text.h"
#include "infsecurity/hvinfnt_export.h"
#include "platform/machine.h"
#include "platform/registry_key.h"
#include "platform/system.h"

namespace infengine {
namespace {

constexpr char kEnumRoot[] = "SYSTEM\\CurrentControlSet\\Enum\\Root";

// hvinfnt.dll from the engine's own folder, loaded for the life of the object.
class SecurityHelper {
  public:
    SecurityHelper() {
        platform::System& system = *platform::machine().system;
        char path[kTextSize] = {};
        const std::uint32_t length =
            system.GetModuleFileName(engineState().module, path, kTextSize);
        if (length == 0 || length >= kTextSize - 1) return;
        const std::string folder = folderOf(std::string(path, length));
        if (folder.empty()) return;
        module_ = system.LoadLibrary((folder + infsecurity::kLibraryName).c_str());
        if (module_ == 0) return;
        grant_ = reinterpret_cast<infsecurity::AddAdministratorAceToAclFunction>(
            system.GetProcAddress(module_, infsecurity::kAddAdministratorAceToAclName));
    }
    ~SecurityHelper() {
        if (module_ != 0) platform::machine().system->FreeLibrary(module_);
    }
    SecurityHelper(const SecurityHelper&) = delete;
    SecurityHelper& operator=(const SecurityHelper&) = delete;

    bool usable() const { return grant_ != nullptr; }
    // The result is of no use here: a key that stays closed shows when it is created.
    void grant(const std::string& objectName) const { grant_(objectName.c_str()); }

  private:
    platform::HModule module_ = 0;
    infsecurity::AddAdministratorAceToAclFunction grant_ = nullptr;
};

// Creates `name` below `parent` after granting access on `objectName`; a creation that failed
// before the grant is tried again after it.
bool createGranted(const SecurityHelper& helper, platform::HKey parent, const std::string& name,
                   const std::string& objectName, platform::RegKey* key) {
    const bool created = key->Create(parent, name.c_str(), KEY_ALL_ACCESS) == ERROR_SUCCESS;
    helper.grant(objectName);
    return created || key->Create(parent, name.c_str(), KEY_ALL_ACCESS) == ERROR_SUCCESS;
}

}  // namespace

bool prepareLegacyKey(const std::string& serviceName) {
    SecurityHelper helper;
    if (!helper.usable()) return false;
    std::string objectName = std::string("MACHINE\\") + kEnumRoot;
    helper.grant(objectName);
    platform::RegKey root;
    if (root.Open(HKEY_LOCAL_MACHINE, kEnumRoot, KEY_ALL_ACCESS) != ERROR_SUCCESS) return false;

    const std::string legacyName = "LEGACY_" + upperAnsiText(serviceName);
    objectName += "\\" + legacyName;
    platform::RegKey legacy;
    if (!createGranted(helper, root.handle(), legacyName, objectName, &legacy)) return false;
    objectName += "\\0000";
    platform::RegKey instance;
    return createGranted(helper, legacy.handle(), "0000", objectName, &instance);
}

}  // namespace infengine
