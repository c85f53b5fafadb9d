#include "inspector/device_inspector.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "inspector/device_names.h"
#include "inspector/joystick_name.h"
#include "platform/machine.h"
#include "platform/out_of_memory.h"
#include "platform/pnp_config.h"

namespace inspector {

static_assert(kCmConfigBytes == platform::kCmConfigSize, "one CMCONFIG size for both sides");

namespace {

// The live device nodes of the Configuration Manager, below HKEY_DYN_DATA.
constexpr const char* kConfigManagerEnum = "Config Manager\\Enum";
// Below HKEY_LOCAL_MACHINE: the hardware keys that the nodes' "HardWareKey" values name.
constexpr const char* kEnumKeyPrefix = "Enum\\";
constexpr const char* kHardwareKeyValue = "HardWareKey";
constexpr const char* kDeviceDescValue = "DeviceDesc";

// Key names are at most 255 characters.
constexpr std::uint32_t kKeyNameBuffer = 256;
// The description buffer of one inspected node: a description of 256 bytes or more is not
// the card's.
constexpr std::uint32_t kDescriptionBuffer = 256;

// A node's key name is its identifier in hexadecimal, 8 digits as Windows writes it (fewer
// are read as well). Anything else, and identifier 0, is not a node.
bool parseNodeName(const char* name, std::uint32_t* node) {
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; name[digits] != '\0'; ++digits) {
        const char c = name[digits];
        std::uint32_t digit;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else return false;
        if (digits == 8) return false;
        value = value << 4 | digit;
    }
    if (digits == 0 || value == 0) return false;
    *node = value;
    return true;
}

}  // namespace

deviceInspector::deviceInspector() : deviceInspector(joystickNameForWindowsLanguage()) {}

deviceInspector::deviceInspector(std::string joystickNameInLanguage)
    : joystickName(std::move(joystickNameInLanguage)) {
    resourceSlots.fill(kResourceConflict);
}

deviceInspector::~deviceInspector() = default;

void deviceInspector::inspectAllDevices() {
    const int count = countDeviceNodes();
    if (count <= 0) return;
    std::vector<std::uint32_t> nodes;
    if (!platform::completesInMemory([&] { nodes.resize(static_cast<std::size_t>(count)); }))
        return;
    // The tree may change between the two walks; only what was stored is inspected.
    const int listed = std::min(listDeviceNodes(nodes.data(), count), count);
    for (int i = 0; i < listed; ++i) inspectDeviceNode(nodes[static_cast<std::size_t>(i)]);
}

// ---- Node iterator ----------------------------------------------------------------------

int deviceInspector::countDeviceNodes() {
    return listDeviceNodes(nullptr, 0);
}

int deviceInspector::listDeviceNodes(std::uint32_t* nodes, int capacity) {
    int count = 0;
    for (std::uint32_t node = firstDeviceNode(); node != 0; node = nextDeviceNode()) {
        if (nodes != nullptr && count < capacity) nodes[count] = node;
        ++count;
    }
    return count;
}

std::uint32_t deviceInspector::firstDeviceNode() {
    walkKey_.Close();
    walkIndex_ = 0;
    if (walkKey_.Open(HKEY_DYN_DATA, kConfigManagerEnum, KEY_READ) != ERROR_SUCCESS) return 0;
    return nextDeviceNode();
}

std::uint32_t deviceInspector::nextDeviceNode() {
    while (walkKey_.valid()) {
        char name[kKeyNameBuffer];
        std::uint32_t size = kKeyNameBuffer;
        if (platform::machine().registry->EnumKeyEx(walkKey_.handle(), walkIndex_++, name,
                                                    &size) != ERROR_SUCCESS) {
            break;
        }
        name[std::min(size, kKeyNameBuffer - 1)] = '\0';
        std::uint32_t node = 0;
        if (parseNodeName(name, &node)) return node;
    }
    walkKey_.Close();
    return 0;
}

// ---- Look-ups ---------------------------------------------------------------------------

std::uint16_t deviceInspector::readDeviceDescription(std::uint32_t node, char* buffer,
                                                     std::uint32_t* length) {
    platform::Registry& registry = *platform::machine().registry;

    platform::RegKey enumKey;
    if (enumKey.Open(HKEY_DYN_DATA, kConfigManagerEnum, KEY_READ) != ERROR_SUCCESS) {
        return kNodeEnumUnavailable;
    }
    // Find the node's key by its identifier, read the same way the walk reads it.
    char name[kKeyNameBuffer];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t size = kKeyNameBuffer;
        if (registry.EnumKeyEx(enumKey.handle(), index, name, &size) != ERROR_SUCCESS) {
            return kNodeNotFound;
        }
        name[std::min(size, kKeyNameBuffer - 1)] = '\0';
        std::uint32_t found = 0;
        if (parseNodeName(name, &found) && found == node) break;
    }

    std::string hardwareKey;
    {
        // Out here, so that the key is closed even when an allocation fails while reading.
        platform::RegKey nodeKey;
        const std::uint16_t read = platform::unlessOutOfMemory(kNodeNoHardwareKey, [&] {
            if (nodeKey.Open(enumKey.handle(), name, KEY_QUERY_VALUE) != ERROR_SUCCESS) {
                return kNodeNotFound;
            }
            if (nodeKey.readString(kHardwareKeyValue, &hardwareKey) != ERROR_SUCCESS ||
                hardwareKey.empty()) {
                return kNodeNoHardwareKey;
            }
            hardwareKey.insert(0, kEnumKeyPrefix);
            return kNodeOk;
        });
        if (read != kNodeOk) return read;
    }

    platform::RegKey deviceKey;
    if (deviceKey.Open(HKEY_LOCAL_MACHINE, hardwareKey.c_str(), KEY_QUERY_VALUE) !=
        ERROR_SUCCESS) {
        return kNodeNoHardwareKey;
    }
    std::uint32_t type = 0;
    std::uint32_t stored = 0;
    if (registry.QueryValueEx(deviceKey.handle(), kDeviceDescValue, &type, nullptr, &stored) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || stored == 0) {
        return kNodeNoDescription;
    }

    const std::uint32_t available = (buffer != nullptr && length != nullptr) ? *length : 0;
    // Far larger than any description: refused without reading it.
    if (stored > platform::RegKey::kDefaultMaxBytes) {
        if (length != nullptr) *length = stored + 1;
        return kNodeBufferTooSmall;
    }
    std::vector<std::uint8_t> data;
    std::uint32_t got = stored;
    std::uint32_t error = ERROR_NOT_ENOUGH_MEMORY;
    // A failed allocation leaves `error` at ERROR_NOT_ENOUGH_MEMORY.
    (void)platform::completesInMemory([&] {
        data.resize(stored);
        error = registry.QueryValueEx(deviceKey.handle(), kDeviceDescValue, &type, data.data(),
                                      &got);
    });
    if (error != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        // It was there a moment ago: the node is reported with an empty description.
        if (available > 0) buffer[0] = '\0';
        if (length != nullptr) *length = 0;
        return kNodeOk;
    }
    data.resize(std::min(got, stored));
    const bool terminated = !data.empty() && data.back() == 0;
    const std::uint32_t needed = static_cast<std::uint32_t>(data.size()) + (terminated ? 0 : 1);
    if (needed > available) {
        if (length != nullptr) *length = needed;
        return kNodeBufferTooSmall;
    }
    std::copy(data.begin(), data.end(), reinterpret_cast<std::uint8_t*>(buffer));
    buffer[needed - 1] = '\0';
    *length = needed;
    return kNodeOk;
}

std::uint16_t deviceInspector::readNodeResources(std::uint32_t node, CmConfig* record) {
    platform::PnpConfig& pnp = *platform::machine().pnp;
    platform::HDevice device = 0;
    if (pnp.CreateFile(platform::kPnpConfDevicePath, 0, 0, 0, FILE_FLAG_DELETE_ON_CLOSE,
                       &device) != ERROR_SUCCESS) {
        return kNodePnpConfUnavailable;
    }
    const std::uint8_t in[4] = {
        static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(node >> 8),
        static_cast<std::uint8_t>(node >> 16), static_cast<std::uint8_t>(node >> 24)};
    // Cleared first: the device need not fill the record's reserved tail.
    std::uint8_t out[kCmConfigBytes] = {};
    std::uint32_t returned = 0;
    const std::uint32_t error = pnp.DeviceIoControl(device, platform::kPnpConfGetConfig, in,
                                                    sizeof in, out, sizeof out, &returned);
    pnp.CloseHandle(device);
    if (error != ERROR_SUCCESS) return kNodeNotFound;
    if (record != nullptr) decodeCmConfig(out, sizeof out, record);
    return kNodeOk;
}

void deviceInspector::inspectDeviceNode(std::uint32_t node) {
    char description[kDescriptionBuffer] = {};
    std::uint32_t length = kDescriptionBuffer;
    if (readDeviceDescription(node, description, &length) != kNodeOk) return;
    if (!isCardDescription(description, joystickName)) return;
    cardDeviceFound = true;

    // With the device missing the record stays empty: the node counts as the card's but
    // holds nothing that could be shown.
    CmConfig record;
    if (readNodeResources(node, &record) == kNodeNotFound) return;

    for (std::size_t i = 0; i < record.memoryCount; ++i) {
        fileMemoryWindow(node, record.memoryBase[i], record.memoryLength[i], description);
    }
    for (std::size_t i = 0; i < record.ioCount; ++i) {
        fileIoRange(node, record.ioBase[i], record.ioLength[i], description);
    }
    for (std::size_t i = 0; i < record.irqCount; ++i) fileIrq(node, record.irq[i], description);
    for (std::size_t i = 0; i < record.dmaCount; ++i) fileDma(node, record.dma[i], description);
}

bool deviceInspector::slotInConflict(int slot) const {
    if (slot < 0 || slot >= kResourceSlotCount) return true;
    return resourceSlots[static_cast<std::size_t>(slot)] == kResourceConflict;
}

}  // namespace inspector
