// The driver exports of the engine on a simulated machine chosen per test (a description of
// tests/machines), with our own INF reader, and the helpers their tests share: files on the
// simulated disk, caller buffers that notice a write past 260 bytes, the whole registration
// sequence collected as a setup program would see it, a simulated hvinfnt.dll, PCI functions.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/inf/portable_inf_reader.h"
#include "platform/system.h"
#include "tests/support/machine_test.h"

namespace infdriver_test {

// A caller buffer of 260 bytes, poisoned, with a guard behind it that no call may touch.
struct OutBuffer {
    static constexpr std::size_t kGuard = 64;
    std::array<char, 260 + kGuard> bytes;
    OutBuffer() { poison(); }
    void poison() { bytes.fill(static_cast<char>(0xCC)); }
    char* get() { return bytes.data(); }
    std::string text() const { return std::string(bytes.data(), strnlen(bytes.data(), 260)); }
    bool guardIntact() const;
};

// One value of a registration sequence.
struct RegValue {
    std::uint16_t index = 0;  // as the engine left it
    std::string root;
    std::string subKey;
    std::string name;
    std::string data;  // text; for binary values the bytes after the count byte
    int typeFlags = 0;
};

using RegFunction = int (*)(std::uint16_t*, char*, char*, char*, char*, int*);

class DriverTest : public tunara_test::MachineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the machine with a description (and the engine's state with a fresh one).
    void useMachine(const std::string& description);

    void writeFile(const std::string& path, const std::string& bytes);
    // A file of the host (a built PE fixture) copied onto the simulated disk.
    void copyHostFile(const std::string& hostPath, const std::string& path);
    std::string hostFile(const std::string& hostPath);
    bool fileExists(const std::string& path);
    void setLastWriteTime(const std::string& path, std::uint64_t fileTime);

    // Writes an INF ("$Chicago$" Version section with `version` lines, then `body`) and opens
    // it with the engine.
    void openInf(const std::string& path, const std::string& versionLines, const std::string& body);

    // Runs a registration export from index 0 until it ends (at most `limit` values),
    // checking every buffer's guard; the index after the end goes to *endIndex.
    std::vector<RegValue> runSequence(RegFunction function, std::size_t limit = 400,
                                      std::uint16_t* endIndex = nullptr);
    // Writes the values as a setup program does (text as REG_SZ with its zero, DWORD
    // decimal text as REG_DWORD, binary after its count byte).
    void writeValues(const std::vector<RegValue>& values);

    // Runs EnumDelDriverReg from 0, deleting each key returned when `deleteKeys`.
    std::vector<std::string> runRemoval(bool deleteKeys);

    // Registry helpers below HKEY_LOCAL_MACHINE.
    void createKey(const std::string& key);
    void setString(const std::string& key, const std::string& name, const std::string& value);
    bool keyExists(const std::string& key);
    bool valueExists(const std::string& key, const std::string& name);
    std::string stringValue(const std::string& key, const std::string& name);
    void deleteKey(const std::string& key);

    // A simulated PCI function with these ids (configuration space of 64 bytes).
    void addPciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function,
                        std::uint16_t vendorId, std::uint16_t deviceId, std::uint32_t subsystem = 0,
                        std::uint8_t revision = 0);

    // Registers hvinf.dll and hvinfnt.dll (whose export is the real logic) in `folder`, loads
    // hvinf.dll and makes it the engine's own module. `withHelper` false leaves hvinfnt out.
    void installLibraries(const std::string& folder, bool withHelper = true);

    platform::inf::PortableInfReader reader_;
    platform::HModule engineModule_ = 0;
};

// Where the built PE fixtures are.
std::string peFixture(const std::string& name);

}  // namespace infdriver_test
