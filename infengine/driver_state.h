// What the driver exports keep between calls, beside the engine state they share with the
// rest of the library (engine_state.h: the open INF, the device ids, the install section, the
// device and class keys, the service name and what "HKR" stands for).
//
// Most of it belongs to the open INF: the matched model line, the class and its compatible
// ids, the NT service being registered, the cursors of the sub-walks. It is forgotten as soon
// as the engine's INF is no longer the one it was built from (syncDriverState). The preinstall
// stop flag outlives every INF: once a slot key cannot be built, preinstalling stays off until
// the library is loaded again.
#pragma once

#include <cstdint>
#include <string>

#include "infengine/engine_state.h"
#include "platform/inf_reader.h"

namespace infengine {

// A PCI function's place on the bus.
struct PciSlot {
    std::uint32_t bus = 0;
    std::uint32_t device = 0;
    std::uint32_t function = 0;
};

// The service an NT registration is working on: one "AddService" line of the install
// section's ".Services" section and what the INF says about it.
struct NtServiceRecord {
    bool first = true;                    // the next read takes the first "AddService" line
    platform::InfContext addServiceLine;  // the line read last
    std::string provider;                 // "Provider" of section "Version"
    std::string classGuid;                // "ClassGUID" of section "Version"
    std::string className;                // "Class" of section "Version"
    std::string manufacturer;             // key of the first "Manufacturer" line
    std::string modelSection;             // its value 1
    std::string description;              // key of the model section's first line
    std::string installSection;           // its value 1
    std::string serviceName;              // AddService value 1
    std::int32_t serviceFlags = 0;        // value 2
    std::string serviceInstallSection;    // value 3
    std::string eventLogSection;          // value 4
    std::int32_t serviceType = 0;
    std::int32_t startType = 0;
    std::int32_t errorControl = 0;
    std::string loadOrderGroup;
    std::string serviceBinary;  // from its first "System32" on
};

// The data of the device-key values that the preinstall replays under every slot key.
struct PreinstallReplay {
    std::string className;
    std::string driver;
    std::string deviceDescription;
    std::string compatibleIds;
    std::string hardwareIds;
    std::string manufacturer;
    unsigned char configFlags[5] = {};  // count byte and four bytes
};

struct DriverState {
    // ---- The INF this state was built from ------------------------------------------------
    platform::HInf inf = platform::kInvalidInf;
    std::string infPath;

    // ---- Device identity and where the device sits ------------------------------------------
    std::string modelLine;      // text of the matched model line
    bool foundOnBus = false;    // the registration found the device on the bus
    bool preinstall = false;    // set while EnumPreinstallDriverReg runs: no bus scans
    bool deleteLookup = false;  // set while keys of an installed device are looked up

    // ---- Windows 95/98 registration ------------------------------------------------------------
    std::string className;      // "Class" of section "Version"
    std::string compatibleIds;  // the class's compatible-id list

    // ---- Windows NT registration ---------------------------------------------------------------
    NtServiceRecord service;
    std::string ntClassKey;  // SYSTEM\CurrentControlSet\Control\Class\{guid}\nnnn
    std::string serviceKey;  // SYSTEM\CurrentControlSet\Services\<service>
    std::string legacyKey;   // SYSTEM\CurrentControlSet\Enum\Root\LEGACY_<SERVICE>\0000
    int activeSubWalk = 0;   // the registration index whose AddReg walk is running, or 0
    SectionListCursor subWalk;

    // ---- Preinstall ------------------------------------------------------------------------
    bool preinstallStopped = false;  // a slot key could not be built: no more preinstalling
    PreinstallReplay replay;

    // ---- Removal ------------------------------------------------------------------------
    int removalOffset = 0;              // caller's index minus the stage it selects
    std::uint32_t removalPosition = 0;  // enumeration position in the key being searched
    std::string removalLastKey;         // full path of the key returned last

    // ---- Installation status ---------------------------------------------------------------
    SectionListCursor statusFiles;
};

// The process-wide state.
DriverState& driverState();

// Forgets what belongs to an INF that is no longer the engine's open INF. Called at the start
// of every driver export.
void syncDriverState();

// Puts everything back as a freshly loaded library has it (the preinstall stop flag too).
void resetDriverState();

// Sets a flag of the driver state for the life of a scope and clears it after.
class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
};

}  // namespace infengine
