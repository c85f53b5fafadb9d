// EnumDelDriverReg: the Windows 95/98 hardware-tree keys of the card, and of the earlier cards
// of its family, one per call, for the uninstaller to delete.
//
// Stages (keys below HKEY_LOCAL_MACHINE; "search" hands out, one per call, the sub keys whose
// names contain the stage's pattern, "return" hands out the key itself):
//
//    0  search Enum\PCI for "VEN_vvvv&DEV_dddd"
//    1  search Enum\MF\CHILD0000 for the vendor's child pattern (other vendors end here)
//    2  0x12EB: search Enum\VIRTUAL for "PCI_VEN_12EB&DEV_0002"; others: Enum\MF\CHILD0001
//    3  0x12EB: return SOFTWARE\Aureal;                          others: Enum\MF\CHILD0002
//    4  0x12EB: the end;                                         others: Enum\MF\CHILD0003
//    5  return Enum\ZIZEZ
//    6-9  search Config\0001\Enum\MF\CHILD0000 to CHILD0003 for the child pattern
//   10  return Config\0001\Enum\ZIZEZ
//
// The caller's index selects the stage through an offset: a search that finds a key moves the
// offset up, so that the next index comes back to the same stage; a search that finds nothing
// moves it down and goes on with the next stage in the same call. For the Maestro-2E (vendor
// 0x125D) the stage an index selects is remapped (3 -> 5, 4 -> 6, 5 -> 7, 6 -> 8, 7 -> 10,
// 8 and 9 end). A search starts one place before where the last one stopped, because the key
// it returned has normally been deleted; a key the caller did not delete is passed over.
#include <string>

#include "infengine/device_identity.h"
#include "infengine/driver_state.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/id_text.h"
#include "infengine/windows_kind.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "platform/registry_key.h"

namespace infengine {
namespace {

constexpr int kLastStage = 10;
constexpr int kEnd = -1;
constexpr std::uint32_t kNameSize = 256;  // longest key name and its zero
constexpr std::uint32_t kMostSubKeys = 0x10000;

// The multifunction-child pattern of a vendor of the family; null for any other vendor.
const char* childPattern(std::uint16_t vendor) {
    switch (vendor) {
        case 0x1285:
            return "PCI&VEN_1285&DEV_0100";
        case 0x125D:
            return "PCI&VEN_125D&DEV_1978";
        case 0x12EB:
            return "PCI&VEN_12EB&DEV_0002";
        default:
            return nullptr;
    }
}

int remapMaestro2E(int stage) {
    switch (stage) {
        case 3:
            return 5;
        case 4:
            return 6;
        case 5:
            return 7;
        case 6:
            return 8;
        case 7:
            return 10;
        case 8:
        case 9:
            return kEnd;
        default:
            return stage;
    }
}

// What one stage does: search `key` for names containing `pattern`, or return `key`.
struct Stage {
    bool end = false;
    bool search = false;
    std::string key;
    std::string pattern;
};

Stage stageFor(int number) {
    const EngineState& engine = engineState();
    const std::uint16_t vendor = engine.vendorId;
    const char* child = childPattern(vendor);
    const bool aureal = vendor == 0x12EB;
    const std::string mfChild = "Enum\\MF\\CHILD000";
    Stage stage;
    stage.search = true;
    // Past the PCI keys only the vendors of the family have anything to remove.
    if (number >= 1 && child == nullptr) number = kEnd;
    switch (number) {
        case 0:
            stage.key = "Enum\\PCI";
            stage.pattern = "VEN_" + hex4(vendor) + "&DEV_" + hex4(engine.deviceId);
            return stage;
        case 1:
            stage.key = mfChild + "0";
            stage.pattern = child;
            return stage;
        case 2:
            stage.key = aureal ? "Enum\\VIRTUAL" : mfChild + "1";
            stage.pattern = aureal ? "PCI_VEN_12EB&DEV_0002" : child;
            return stage;
        case 3:
            if (aureal) {
                stage.search = false;
                stage.key = "SOFTWARE\\Aureal";
            } else {
                stage.key = mfChild + "2";
                stage.pattern = child;
            }
            return stage;
        case 4:
            if (aureal) break;
            stage.key = mfChild + "3";
            stage.pattern = child;
            return stage;
        case 5:
            stage.search = false;
            stage.key = "Enum\\ZIZEZ";
            return stage;
        case 6:
        case 7:
        case 8:
        case 9:
            stage.key = "Config\\0001\\" + mfChild + static_cast<char>('0' + number - 6);
            stage.pattern = child;
            return stage;
        case 10:
            stage.search = false;
            stage.key = "Config\\0001\\Enum\\ZIZEZ";
            return stage;
        default:
            break;
    }
    stage.end = true;
    return stage;
}

// One step of a search stage. True with the key's full path when a matching sub key is found.
bool searchStage(const Stage& stage, std::string* found) {
    DriverState& driver = driverState();
    platform::RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, stage.key.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        return false;
    }
    if (driver.removalPosition > 0) --driver.removalPosition;
    platform::Registry& registry = *platform::machine().registry;
    for (std::uint32_t at = driver.removalPosition; at < kMostSubKeys; ++at) {
        char name[kNameSize] = {};
        std::uint32_t size = kNameSize;
        const std::uint32_t result = registry.EnumKeyEx(key.handle(), at, name, &size);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) break;
        const std::string subKeyName(name);
        const std::string path = stage.key + "\\" + subKeyName;
        // A key the caller did not delete is not handed out again; and a path too long for
        // the caller's buffer would be cut into the name of another key.
        if (equalNoCase(path, driver.removalLastKey) || path.size() >= kTextSize) continue;
        if (subKeyName.find(stage.pattern) == std::string::npos) continue;
        driver.removalPosition = at + 1;
        ++driver.removalOffset;
        driver.removalLastKey = path;
        *found = path;
        return true;
    }
    return false;
}

}  // namespace

int EnumDelDriverReg(std::uint16_t index, char* root, char* subKey) {
    syncDriverState();
    DriverState& driver = driverState();
    const EngineState& engine = engineState();
    if (windowsKind() == kWindowsNt) return 1;
    if (index == 0) {
        driver.removalOffset = 0;
        driver.removalPosition = 0;
        driver.removalLastKey.clear();
    }
    copyOut(root, "HKLM");
    clearOut(subKey);
    if (engine.inf == platform::kInvalidInf) return 1;
    // Without the card's ids there is nothing of it to find.
    if (!ensureDeviceIdentity() || engine.vendorId == 0) return 1;

    int number = static_cast<int>(index) - driver.removalOffset;
    if (engine.vendorId == 0x125D) number = remapMaestro2E(number);
    if (number < 0) return 1;
    for (; number <= kLastStage; ++number) {
        const Stage stage = stageFor(number);
        if (stage.end) return 1;
        if (!stage.search) {
            copyOut(subKey, stage.key);
            return 0;
        }
        std::string found;
        if (searchStage(stage, &found)) {
            copyOut(subKey, found);
            return 0;
        }
        --driver.removalOffset;
        driver.removalPosition = 0;
    }
    return 1;
}

}  // namespace infengine
