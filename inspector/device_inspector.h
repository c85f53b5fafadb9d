// deviceInspector: finds the card's device nodes in the Windows 95/98 Configuration Manager
// and turns the resources Windows assigned to them into ten display slots.
//
// Each user builds one, runs inspectAllDevices once, reads the public fields and throws it
// away. The settings object only looks at cardDeviceFound; the legacy page and the advanced
// resources sheet show the slot texts as they are and mark every slot that still reads
// "Resource conflict" (the card expects that resource and Windows did not assign it).
//
// The live device nodes are the sub keys of HKEY_DYN_DATA "Config Manager\Enum", named by
// their 32-bit identifier in hexadecimal; each names its hardware key below
// HKEY_LOCAL_MACHINE "Enum\" in "HardWareKey", which holds the "DeviceDesc". The resources
// come from "\\.\PNPCONF.VXD". On Windows NT neither exists and the walk finds nothing.
//
// Every failure is silent: a node that cannot be read is skipped, a resource never found
// leaves its slot at "Resource conflict".
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "inspector/cm_config.h"
#include "platform/registry_key.h"

namespace inspector {

// Result codes of the look-ups (16-bit, as the Configuration Manager's own).
constexpr std::uint16_t kNodeOk = 0;
// The node names no readable hardware key ("HardWareKey" missing, not a string, or naming a
// key that does not exist under HKEY_LOCAL_MACHINE "Enum\"), or no memory for it.
constexpr std::uint16_t kNodeNoHardwareKey = 1000;
// HKEY_DYN_DATA "Config Manager\Enum" cannot be opened (Windows NT).
constexpr std::uint16_t kNodeEnumUnavailable = 1001;
// No node with that identifier; or the resource query for it failed.
constexpr std::uint16_t kNodeNotFound = 1002;
// The caller's description buffer is too small; the needed size is returned.
constexpr std::uint16_t kNodeBufferTooSmall = 1004;
// The node's hardware key has no "DeviceDesc" (or an empty one, or one that is not a string).
constexpr std::uint16_t kNodeNoDescription = 1005;
// "\\.\PNPCONF.VXD" cannot be opened.
constexpr std::uint16_t kNodePnpConfUnavailable = 1008;

constexpr int kResourceSlotCount = 10;
constexpr const char* kResourceConflict = "Resource conflict";

// The slots (index into deviceInspector::resourceSlots).
enum ResourceSlot : int {
    kSlotFmMemoryOrJoystickIrq = 0,  // memory window of the DOS games/FM device, or IRQ of the gameport
    kSlotFmFirstIo = 1,              // first I/O range of the DOS games/FM device
    kSlotFmLaterIo = 2,              // its second and later I/O ranges (the last one found)
    kSlotFmDma = 3,                  // its DMA channel
    kSlotMainIrq = 4,                // IRQ of the "Device Manager" device
    kSlotMainIo = 5,                 // I/O range of the "Device Manager" device
    kSlotMpu401Io = 6,               // I/O range of the MPU-401 device
    kSlotGameportIo = 7,             // I/O range of the gameport
    kSlotEnumeratorIrq = 8,          // IRQ of the card's enumerator
    kSlotWavetableIrq = 9,           // IRQ of the wavetable synthesiser
};

class deviceInspector {
public:
    // Sets every slot to "Resource conflict", clears both flags and picks joystickName from
    // the language of the Windows installation: the first of the folders "start menu\programs"
    // (English), "Menu D\xE9marrer\Programmes" (French) and "Startmen\xFC\Programme" (German)
    // below the Windows folder that exists becomes the current directory (and stays it).
    // French gives "Port pour manette de jeu", German "Gameport-Joystick", anything else
    // "Gameport Joystick".
    deviceInspector();
    // The same with the joystick's name given, for a caller that already knows the language;
    // the current directory is not touched.
    explicit deviceInspector(std::string joystickNameInLanguage);
    ~deviceInspector();
    deviceInspector(const deviceInspector&) = delete;
    deviceInspector& operator=(const deviceInspector&) = delete;

    // Walks every live device node in enumeration order and inspects each. Meant to run once
    // per instance: a second run keeps the first run's slot values and firstFmIoTaken.
    void inspectAllDevices();

    // ---- Node iterator ---------------------------------------------------------------
    // The number of device nodes the iterator yields.
    int countDeviceNodes();
    // Stores the identifiers in enumeration order, at most `capacity` of them (nodes may be
    // null when capacity is 0), and returns the number of nodes, counting those not stored.
    int listDeviceNodes(std::uint32_t* nodes, int capacity);
    // Opens "Config Manager\Enum" and returns the first node, 0 when there is none.
    std::uint32_t firstDeviceNode();
    // The next node, or 0 at the end of the walk (the key is then closed). A sub key whose
    // name is not 1 to 8 hexadecimal digits, or is zero, is not a node and is passed over.
    std::uint32_t nextDeviceNode();

    // ---- Look-ups --------------------------------------------------------------------
    // The node's "DeviceDesc" into `buffer` (*length bytes). The size a description needs is
    // its stored size, plus one when the stored value does not end in a zero: the text
    // always arrives zero-terminated. kNodeOk: the description is in the buffer and *length
    // is that size (when the value cannot be read after all, *length is 0 and the buffer
    // holds an empty text). kNodeBufferTooSmall: *length is set to the size needed, the
    // buffer is untouched (a null buffer or length counts as a buffer of 0 bytes). Other
    // codes, with both untouched: kNodeEnumUnavailable, kNodeNotFound, kNodeNoHardwareKey,
    // kNodeNoDescription (no "DeviceDesc", an empty one, or one that is not a string).
    std::uint16_t readDeviceDescription(std::uint32_t node, char* buffer, std::uint32_t* length);
    // The node's resources from "\\.\PNPCONF.VXD". kNodeOk fills `record`;
    // kNodePnpConfUnavailable and kNodeNotFound leave it untouched.
    std::uint16_t readNodeResources(std::uint32_t node, CmConfig* record);
    // Reads the node's description; if it names a card device, sets cardDeviceFound and files
    // every resource the node holds (memory windows, I/O ranges, IRQs, DMA channels).
    void inspectDeviceNode(std::uint32_t node);

    // ---- Filing ----------------------------------------------------------------------
    // Each formats the resource and stores the text in every slot whose rule the
    // description matches; a later value for a slot replaces the earlier one.
    void fileMemoryWindow(std::uint32_t node, std::uint32_t base, std::uint32_t length,
                          const char* description);
    void fileIoRange(std::uint32_t node, std::uint16_t base, std::uint16_t length,
                     const char* description);
    void fileIrq(std::uint32_t node, std::uint8_t irq, const char* description);
    void fileDma(std::uint32_t node, std::uint8_t channel, const char* description);

    // True when the slot still reads "Resource conflict" (or the index is out of range).
    bool slotInConflict(int slot) const;

    // ---- Results, read directly by the pages ----------------------------------------
    std::array<std::string, kResourceSlotCount> resourceSlots;
    std::string joystickName;
    bool firstFmIoTaken = false;
    bool cardDeviceFound = false;

private:
    platform::RegKey walkKey_;        // "Config Manager\Enum" while a walk is under way
    std::uint32_t walkIndex_ = 0;     // next sub key index of the walk
};

}  // namespace inspector
