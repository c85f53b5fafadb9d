// The engine on a simulated Windows 98 machine ("win98-maestro2e") with our own INF reader,
// and the helpers its tests share: files and INFs on the simulated disk, 260-byte output
// buffers that notice a write past their end.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/inf/portable_inf_reader.h"
#include "tests/support/machine_test.h"

namespace infengine_test {

// A caller buffer of 260 bytes, poisoned before each call, with a guard behind it that no
// call may touch.
struct OutBuffer {
    static constexpr std::size_t kGuard = 64;
    std::array<char, 260 + kGuard> bytes;
    OutBuffer() { poison(); }
    void poison() { bytes.fill(static_cast<char>(0xCC)); }
    char* get() { return bytes.data(); }
    std::string text() const { return std::string(bytes.data()); }
    bool guardIntact() const {
        for (std::size_t i = 260; i < bytes.size(); ++i) {
            if (bytes[i] != static_cast<char>(0xCC)) return false;
        }
        return true;
    }
};

class InfEngineTest : public tunara_test::MachineTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `bytes` to the Windows path `path` on the simulated disk, making its folders.
    void writeFile(const std::string& path, const std::string& bytes);
    // The content of a file of the simulated disk; empty when it cannot be read.
    std::string readFile(const std::string& path);
    bool fileExists(const std::string& path);

    // Writes an INF (a "$Chicago$" Version section, then `body`) to `path`.
    void writeInf(const std::string& path, const std::string& body);
    // Writes C:\DRIVER\DRIVER.INF and opens it with the engine.
    void openDriverInf(const std::string& body);

    // Sets "SourcePath" of the Setup key.
    void setSourcePath(const std::string& folder);

    platform::inf::PortableInfReader reader_;
};

constexpr char kDriverInf[] = "C:\\DRIVER\\DRIVER.INF";

}  // namespace infengine_test
