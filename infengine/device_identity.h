// Which PCI device the open INF installs: the device lookup over the INF's "Manufacturer"
// section and its model section, and the identity texts built from it.
//
// Lookup: the first "Manufacturer" line names the model section. Each model line whose text
// holds "VEN_" + 4 hex digits and, after it, "&DEV_" + 4 hex digits (both non-zero) is a
// candidate: it gives the ids, its install section (value 1) and its description (the key).
// Unless the engine is preinstalling, the bus is scanned for the ids, and a device found
// there ends the lookup with its own revision and subsystem. Otherwise subsystem and revision
// come from "&SUBSYS_" + 8 and "REV_" + 2 hex digits further on in the line, or from the
// defaults of the device id, and the next line is tried: the last candidate wins. The line
// whose install section is the last section EnumNeeds returned ends the lookup as well. A
// model section without any candidate makes the INF manufacturer-less: the last line read
// gives the install section (value 1), the hardware id list (value 2) and the description.
//
// The results go to the engine state (vendor and device ids, subsystem, revision,
// description, install section, hardware id list, manufacturer-less flag) and stay there
// until the next OpenInfFile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace infengine {

// The ids a model line's text carries.
struct ModelIds {
    std::uint16_t vendor = 0;
    std::uint16_t device = 0;
    bool hasSubsystem = false;
    std::uint32_t subsystem = 0;
    bool hasRevision = false;
    std::uint32_t revision = 0;
};

// False when the text holds no usable vendor and device id.
bool parseModelIds(std::string_view text, ModelIds* ids);

// Subsystem and revision of a device that is neither on the bus nor described by its line.
struct DefaultIdentity {
    std::uint32_t subsystem;
    std::uint32_t revision;
};
DefaultIdentity defaultIdentity(std::uint16_t deviceId);

// "PCI\VEN_v&DEV_d&SUBSYS_s&REV_r,PCI\VEN_v&DEV_d&SUBSYS_s,PCI\VEN_v&DEV_d&REV_r,
// PCI\VEN_v&DEV_d": most specific first.
std::string hardwareIdList(std::uint16_t vendor, std::uint16_t device, std::uint32_t subsystem,
                           std::uint32_t revision);

// Runs the lookup. False when the INF has no "Manufacturer" line or no model line.
bool lookUpDevice();

// Runs the lookup unless the engine already knows the device (ids, or manufacturer-less).
bool ensureDeviceIdentity();

}  // namespace infengine
