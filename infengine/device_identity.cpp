#include "infengine/device_identity.h"

#include <utility>
#include <vector>

#include "infengine/driver_state.h"
#include "infengine/engine_state.h"
#include "infengine/engine_text.h"
#include "infengine/id_text.h"
#include "infengine/inf_lines.h"
#include "infengine/pci_scan.h"

namespace infengine {
namespace {

// Position just past `marker` + `digits` hex digits: the first place at or after `from`
// where the marker is followed by that many hex digits. npos when there is none.
std::size_t findHexField(std::string_view text, std::size_t from, std::string_view marker,
                         std::size_t digits, std::uint32_t* value) {
    for (std::size_t at = text.find(marker, from); at != std::string_view::npos;
         at = text.find(marker, at + 1)) {
        if (readHexDigits(text, at + marker.size(), digits, value)) {
            return at + marker.size() + digits;
        }
    }
    return std::string_view::npos;
}

std::string fieldOrEmpty(const platform::InfContext& line, std::uint32_t index) {
    std::string text;
    if (!readField(line, index, &text)) text.clear();
    return text;
}

}  // namespace

bool parseModelIds(std::string_view text, ModelIds* ids) {
    std::uint32_t vendor = 0;
    std::uint32_t device = 0;
    std::size_t at = findHexField(text, 0, "VEN_", 4, &vendor);
    if (at == std::string_view::npos) return false;
    at = findHexField(text, at, "&DEV_", 4, &device);
    if (at == std::string_view::npos || vendor == 0 || device == 0) return false;

    ModelIds result;
    result.vendor = static_cast<std::uint16_t>(vendor);
    result.device = static_cast<std::uint16_t>(device);
    const std::size_t afterSubsystem = findHexField(text, at, "&SUBSYS_", 8, &result.subsystem);
    result.hasSubsystem = afterSubsystem != std::string_view::npos;
    if (result.hasSubsystem) at = afterSubsystem;
    result.hasRevision =
        findHexField(text, at, "REV_", 2, &result.revision) != std::string_view::npos;
    if (!result.hasSubsystem) result.subsystem = 0;
    if (!result.hasRevision) result.revision = 0;
    *ids = result;
    return true;
}

DefaultIdentity defaultIdentity(std::uint16_t deviceId) {
    switch (deviceId) {
        case 0x0100:
            return {0xFFFF1285u, 0x10};  // Maestro-1
        case 0x8A01:
            return {0x8A015333u, 0x01};
        case 0x3208:
            return {0, 0x70};
        case 0x5631:
            return {0, 0x06};
        default:
            return {0, 0x01};
    }
}

std::string hardwareIdList(std::uint16_t vendor, std::uint16_t device, std::uint32_t subsystem,
                           std::uint32_t revision) {
    const std::string id = "PCI\\VEN_" + hex4(vendor) + "&DEV_" + hex4(device);
    const std::string subsys = "&SUBSYS_" + hex8(subsystem);
    const std::string rev = "&REV_" + hex2(revision);
    return id + subsys + rev + "," + id + subsys + "," + id + rev + "," + id;
}

bool lookUpDevice() {
    EngineState& engine = engineState();
    DriverState& driver = driverState();
    platform::InfContext line;
    std::string modelSection;
    if (!findLine(engine.inf, "Manufacturer", nullptr, &line) ||
        !readField(line, 1, &modelSection) ||
        !findLine(engine.inf, modelSection.c_str(), nullptr, &line)) {
        return false;
    }

    // Many lines of one INF name the same device: scan the bus once per pair of ids.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> notOnBus;
    bool gaveIds = false;
    for (;;) {
        const std::string install = fieldOrEmpty(line, 1);
        std::string text;
        if (!readLineText(line, &text)) text.clear();
        ModelIds ids;
        if (parseModelIds(text, &ids)) {
            gaveIds = true;
            engine.vendorId = ids.vendor;
            engine.deviceId = ids.device;
            engine.installSection = install;
            engine.deviceDescription = fieldOrEmpty(line, 0);
            driver.modelLine = text;

            const auto pair = std::make_pair(ids.vendor, ids.device);
            PciSlot slot;
            bool tried = false;
            for (const auto& known : notOnBus) tried = tried || known == pair;
            if (!driver.preinstall && !tried && findPciDevice(ids.vendor, ids.device, &slot)) {
                engine.revision = pciRevision(slot);
                engine.subsystemId = pciSubsystem(slot);
                engine.hardwareIds =
                    hardwareIdList(ids.vendor, ids.device, engine.subsystemId, engine.revision);
                break;
            }
            if (!tried) notOnBus.push_back(pair);
            const DefaultIdentity defaults = defaultIdentity(ids.device);
            engine.subsystemId = ids.subsystem != 0 ? ids.subsystem : defaults.subsystem;
            engine.revision = ids.revision != 0 ? ids.revision : defaults.revision;
            engine.hardwareIds =
                hardwareIdList(ids.vendor, ids.device, engine.subsystemId, engine.revision);
        }
        if (!engine.lastNeededSection.empty() && equalNoCase(install, engine.lastNeededSection)) {
            break;
        }
        if (!nextLine(&line)) break;
    }

    if (!gaveIds) {
        engine.manufacturerLess = true;
        engine.vendorId = 0;
        engine.deviceId = 0;
        engine.installSection = fieldOrEmpty(line, 1);
        engine.hardwareIds = fieldOrEmpty(line, 2);
        engine.deviceDescription = fieldOrEmpty(line, 0);
    }
    return true;
}

bool ensureDeviceIdentity() {
    const EngineState& engine = engineState();
    if (engine.inf == platform::kInvalidInf) return false;
    if (engine.vendorId != 0 || engine.manufacturerLess) return true;
    return lookUpDevice();
}

}  // namespace infengine
