// The engine's state: one open INF per process, the device it installs, the directories and
// keys resolved from it, and the cursors of the enumeration exports.
//
// The library is a set of plain functions over this one process-wide object; no handle is
// ever given to the caller. Single-threaded by contract.
//
// Enumeration cursors. Each enumeration export keeps a cursor of its own: the install-section
// line whose values name the sections to walk (the list line), the index of the next value to
// take from it, and whether the last call produced an entry. All cursors share ONE current
// line (the line inside the section being walked), so an enumeration must run to its end, or
// be started again with a section name, before another one is called.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/inf_reader.h"

namespace infengine {

struct SectionListCursor {
    platform::InfContext listLine;  // the install-section line that lists the sections
    std::uint32_t nextValue = 1;    // 1-based index of the next value of the list line
    bool more = false;              // the last call produced an entry
};

// What "HKR" in a registry line stands for (the driver registration steps set it).
enum class HkrTarget {
    ClassKey,         // Windows 95/98: the class key of the driver being registered
    NtEventLog,       // Windows NT: the event-log key of the service
    NtServiceDevice,  // Windows NT: the service's "Device0" key
};

struct EngineState {
    // ---- The open INF ------------------------------------------------------------------
    platform::HInf inf = platform::kInvalidInf;
    std::string infPath;  // as given to OpenInfFile; the INF directory is its folder part

    // ---- The device the INF installs (filled by the device lookup) ---------------------
    std::uint16_t vendorId = 0;  // 0: not yet looked up
    std::uint16_t deviceId = 0;
    std::uint32_t subsystemId = 0;
    std::uint32_t revision = 0;
    std::string deviceDescription;
    std::string installSection;  // of the matched model line
    std::string hardwareIds;     // comma-separated, most specific first
    bool manufacturerLess = false;

    // ---- Directories -------------------------------------------------------------------
    std::string defaultDestinationDirectory;  // resolved once per opened INF
    std::string currentDestinationDirectory;  // of the file-list section being walked
    std::string lastNeededSection;            // the last name EnumNeeds returned

    // ---- Driver registration keys ------------------------------------------------------
    std::string classKey;   // Windows 95/98 class instance key ("System\\...\\MEDIA\\0000")
    std::string deviceKey;  // the device's hardware key under Enum
    std::string serviceName;
    HkrTarget hkrTarget = HkrTarget::ClassKey;

    // ---- File copy ---------------------------------------------------------------------
    std::vector<std::string> layoutFiles;  // the "LayoutFile" names of section "Version"
    std::vector<std::string> knownFiles;   // source paths of the KnownFiles sections

    // ---- Enumerations ------------------------------------------------------------------
    platform::InfContext currentLine;  // shared by every cursor
    SectionListCursor include;
    SectionListCursor needs;
    SectionListCursor copyFiles;
    SectionListCursor knownFilesWalk;
    SectionListCursor delFiles;
    SectionListCursor addReg;
    SectionListCursor delReg;
    SectionListCursor updateInis;
    SectionListCursor updateIniFields;
    SectionListCursor updateAutoBat;
    SectionListCursor updateCfgSys;

    // ---- The library itself ------------------------------------------------------------
    std::uintptr_t module = 0;  // this library's module handle, kept at load
};

// The process-wide state.
EngineState& engineState();

// Puts the state back as the library finds it when it is loaded: no INF open, nothing
// resolved, every cursor idle (the module handle is kept). Does not close an open INF.
void resetEngine();

// Makes every cursor idle: after the INF changes, no cursor may go on with a line of a file
// that is no longer open (the system's SetupAPI would read freed memory).
void stopEnumerations();

// The Windows directory and the system directory, as the system reports them.
std::string windowsDirectory();
std::string systemDirectory();

}  // namespace infengine
