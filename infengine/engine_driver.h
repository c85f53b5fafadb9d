// The driver exports of the INF engine: device identity and PCI key names, version and system
// checks, driver registration and removal, installation status. Each is the operation behind
// the hvinf.dll export of the same name, with its arguments and results, so the host tests
// call exactly what a setup program reaches.
//
// Text outputs are caller buffers of at least 260 bytes (MAX_PATH); at most 260 bytes are
// written, terminating zero included. Null outputs are left alone unless said otherwise.
// Requires OpenInfFile where an INF is named.
#pragma once

#include <cstdint>

namespace infengine {

// ---- Device identity and PCI keys (pci_keys.cpp) ------------------------------------------

// The Windows 95/98 hardware key of the PCI function at (bus, deviceNumber, function) of a
// device with these ids (low 16 bits), below HKEY_LOCAL_MACHINE. 1 built; 0 no key for this
// slot (the output is emptied).
int ConstructPCIKey(std::uint32_t vendorId, std::uint32_t deviceId, std::uint32_t bus,
                    std::uint32_t deviceNumber, std::uint32_t function, char* key);

// The same, named as Windows 98 named the installed device (for deleting its key).
int ConstructPCIKeyToDelete(std::uint32_t vendorId, std::uint32_t deviceId, std::uint32_t bus,
                            std::uint32_t deviceNumber, std::uint32_t function, char* key);

// ---- Version and system checks (file_versions.cpp, directx_version.cpp, administrator.cpp) --

// Compares the versions of file A (the package's) and file B (the installed one): the
// comparison is negative when B is older, 0 when equal, positive when B is newer. The version
// texts go to versionA / versionB (either may be null). 0 the version resources were
// compared; 1 one is missing and the last-modification times were compared instead.
int CompareFileVersions(const char* pathA, const char* pathB, char* versionA, char* versionB,
                        std::int32_t* comparison);

// The installed DirectX (5 for DirectX 5, 3 for DirectX 3, ...): the lowest version among
// ddraw, d3drm, dsound, dplayx and dinput in the system folder. 0 all five found; 1 one is
// missing (the output holds the value reached so far).
int DirectXVersionInstalled(std::uint32_t* version);

// 0 the process (or impersonated thread) belongs to the Administrators group; 1 it does not,
// or the check failed; always 1 on Windows 95/98, which have no tokens.
int IsUserAdministrator();

// ---- Driver registration (driver_registration.cpp, preinstall_slots.cpp) ----------------

// One registry value of the driver registration per call, selected by *index: root name
// ("HKLM"), sub key, value name, data and AddReg type flags (0 text, 1 binary with a count
// byte, 0x00010001 DWORD as decimal text). The caller sets *index to 0, then writes each value
// and adds 1 while the result is 0; the engine may move *index itself. 1 ends the sequence
// (the sub key, value name and data are then empty).
int EnumDriverReg(std::uint16_t* index, char* root, char* subKey, char* valueName, char* data,
                  int* typeFlags);

// The Windows 95/98 hardware-key values again, for every slot the card could later be found
// in (bus 0 and 1, devices 0 to 16), so that Windows knows the card without asking for a
// driver. Same convention; 0 may also be an empty step (empty outputs, nothing to write).
int EnumPreinstallDriverReg(std::uint16_t* index, char* root, char* subKey, char* valueName,
                            char* data, int* typeFlags);

// ---- Driver removal (driver_removal.cpp) --------------------------------------------------

// One Windows 95/98 registry key of the card (or an earlier card of its family) to delete per
// call: root ("HKLM") and key. The caller passes 0, 1, 2, ... and deletes each key returned
// before the next call. 1 the removal is over (or no INF is open, or the system is NT).
int EnumDelDriverReg(std::uint16_t index, char* root, char* subKey);

// ---- Installation status (installation_status.cpp) ----------------------------------------

// Whether the INF's device is in the machine. Both outputs (either may be null) are emptied
// first; on success they get the description and the provider (manufacturer on NT).
// 0 present (or a root device); 1 no INF open, or no ids; 2 no PCI model line (and on NT no
// service information); 3 the PCI device is not in the machine.
int DeviceExists(char* description, char* provider);

// Status flags: 1 every file copied, 2 no installed file older than the package's, 4 every
// registry value of the registration present, 8 preinstalled in slots 0 to 15 of bus 0,
// 16 every installed file of the package's version. 0 bits 1, 2 and 4 all set; 1 otherwise.
int DriverInstallationStatus(std::uint16_t* flags);

}  // namespace infengine
