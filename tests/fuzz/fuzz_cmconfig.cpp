// Fuzzes the device inspector's handling of what the Configuration Manager hands it: the
// packed CMCONFIG record alone, and one device node end to end (its "DeviceDesc" of any type
// and bytes, its record) through the look-ups, the name matching and the filing.
//
// Input: byte 0 selects the DeviceDesc type (bits 0-1: REG_SZ, REG_EXPAND_SZ, REG_BINARY,
// REG_DWORD), the French joystick name (bit 2) and whether the node has a record (bit 3);
// byte 1 is the size of a caller's description buffer; then the 216-byte record (when the
// node has one) and the DeviceDesc bytes to the end.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "inspector/cm_config.h"
#include "inspector/device_inspector.h"
#include "platform/host/host_registry.h"
#include "platform/machine.h"
#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_pnp_config.h"

namespace {

constexpr std::uint32_t kNode = 0xC29A3BDC;
constexpr const char* kHardwareKey = "FUZZ\\NODE\\0000";

void check(bool condition) {
    if (!condition) std::abort();
}

// An exact-size heap copy, so that a read past its end is caught.
std::unique_ptr<std::uint8_t[]> exactCopy(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size ? size : 1]);
    if (size) std::memcpy(copy.get(), data, size);
    return copy;
}

void setValue(platform::Registry& reg, platform::HKey root, const std::string& path,
              const char* name, std::uint32_t type, const std::uint8_t* data, std::size_t size) {
    platform::HKey key = 0;
    check(reg.CreateKeyEx(root, path.c_str(), 0, KEY_ALL_ACCESS, &key, nullptr) == ERROR_SUCCESS);
    check(reg.SetValueEx(key, name, type, data, static_cast<std::uint32_t>(size)) == ERROR_SUCCESS);
    reg.CloseKey(key);
}

void setText(platform::Registry& reg, platform::HKey root, const std::string& path,
             const char* name, const char* text) {
    setValue(reg, root, path, name, REG_SZ, reinterpret_cast<const std::uint8_t*>(text),
             std::strlen(text) + 1);
}

void checkDecoded(const std::uint8_t* data, std::size_t size) {
    inspector::CmConfig r;
    const bool decoded = inspector::decodeCmConfig(data, size, &r);
    check(decoded == (size >= inspector::kCmConfigBytes));
    check(r.memoryCount <= inspector::kMaxMemoryWindows && r.ioCount <= inspector::kMaxIoRanges);
    check(r.irqCount <= inspector::kMaxIrqs && r.dmaCount <= inspector::kMaxDmaChannels);
    for (std::size_t i = r.ioCount; i < inspector::kMaxIoRanges; ++i) {
        check(r.ioBase[i] == 0 && r.ioLength[i] == 0);
    }
    for (std::size_t i = r.dmaCount; i < inspector::kMaxDmaChannels; ++i) {
        check(r.dma[i] == 0 && r.dmaAttributes[i] == 0);
    }
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "XXXX-XXXX" with `digits` hexadecimal digits on each side.
bool isRange(const std::string& text, std::size_t digits) {
    if (text.size() != 2 * digits + 1 || text[digits] != '-') return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != digits && !isHex(text[i])) return false;
    }
    return true;
}

bool isChannel(const std::string& text) {
    return (text.size() == 2 || text.size() == 3) && isDigit(text[0]) && isDigit(text[1]) &&
           (text.size() == 2 || isDigit(text[2]));
}

void checkSlots(const inspector::deviceInspector& inspector) {
    bool anyFilled = false;
    for (int slot = 0; slot < inspector::kResourceSlotCount; ++slot) {
        const std::string& text = inspector.resourceSlots[static_cast<std::size_t>(slot)];
        if (text == inspector::kResourceConflict) continue;
        anyFilled = true;
        switch (slot) {
        case 0: check(isRange(text, 8) || isChannel(text)); break;
        case 1: case 2: case 5: case 6: case 7: check(isRange(text, 4)); break;
        default: check(isChannel(text)); break;
        }
    }
    check(!anyFilled || inspector.cardDeviceFound);
    check(!inspector.firstFmIoTaken || inspector.resourceSlots[1] != inspector::kResourceConflict);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = exactCopy(data, size);
    checkDecoded(input.get(), size);
    if (size < 2) return 0;

    static const std::uint32_t kTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD};
    const std::uint32_t descriptionType = kTypes[input[0] & 3];
    const bool french = (input[0] & 4) != 0;
    const bool hasRecord = (input[0] & 8) != 0 && size >= 2 + inspector::kCmConfigBytes;
    const std::size_t bufferSize = input[1];
    const std::size_t descriptionAt = 2 + (hasRecord ? inspector::kCmConfigBytes : 0);
    const std::size_t descriptionSize = size - std::min(size, descriptionAt);
    const auto description = exactCopy(input.get() + std::min(size, descriptionAt), descriptionSize);

    platform::host::HostRegistry reg;
    platform::sim::SimPnpConfig pnp(reg);
    platform::Machine machine;
    machine.registry = &reg;
    machine.pnp = &pnp;
    const platform::Machine previous = platform::installMachine(machine);

    char name[16];
    std::snprintf(name, sizeof name, "%08X", static_cast<unsigned>(kNode));
    setText(reg, HKEY_DYN_DATA, std::string("Config Manager\\Enum\\") + name, "HardWareKey",
            kHardwareKey);
    setValue(reg, HKEY_LOCAL_MACHINE, std::string("Enum\\") + kHardwareKey, "DeviceDesc",
             descriptionType, description.get(), descriptionSize);
    const std::uint8_t present[4] = {1, 0, 0, 0};
    setValue(reg, HKEY_LOCAL_MACHINE, platform::sim::kSimPnpConfKey, "Present", REG_DWORD, present,
             sizeof present);
    if (hasRecord) {
        setValue(reg, HKEY_LOCAL_MACHINE, platform::sim::simPnpNodeKey(kNode), "Config", REG_BINARY,
                 input.get() + 2, inspector::kCmConfigBytes);
    }

    {
        inspector::deviceInspector inspector(french ? "Port pour manette de jeu"
                                                    : "Gameport Joystick");
        inspector.inspectAllDevices();
        checkSlots(inspector);

        // A caller's buffer of any size: never written past, always terminated on success.
        std::unique_ptr<char[]> buffer(new char[bufferSize ? bufferSize : 1]);
        std::uint32_t length = static_cast<std::uint32_t>(bufferSize);
        const std::uint16_t code = inspector.readDeviceDescription(kNode, buffer.get(), &length);
        if (code == inspector::kNodeOk && length > 0) {
            check(length <= bufferSize && buffer[length - 1] == '\0');
            check(std::strlen(buffer.get()) < length);
        } else if (code == inspector::kNodeBufferTooSmall) {
            check(length > bufferSize);
        }
    }

    platform::installMachine(previous);
    check(reg.openHandleCount() == 0 && pnp.openHandleCount() == 0);
    return 0;
}
