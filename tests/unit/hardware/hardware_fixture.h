// A fresh simulated machine per test: an empty registry that a test fills with the
// SimulatedHardware keys it needs, and a teardown that checks no registry handle was left open.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "platform/host/host_registry.h"
#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_notification.h"

namespace tunara_test {

// A window message as a simulated device delivered it.
struct Notification {
    std::uintptr_t window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Notification& other) const {
        return std::tie(window, message, wParam, lParam) ==
               std::tie(other.window, other.message, other.wParam, other.lParam);
    }
};

inline void PrintTo(const Notification& n, std::ostream* os) {
    *os << "{window " << n.window << ", message 0x" << std::hex << n.message << ", wParam 0x"
        << n.wParam << ", lParam 0x" << n.lParam << std::dec << "}";
}

class HardwareTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(registry.openHandleCount(), 0u) << "registry handles left open";
    }

    // Carries out REGEDIT4 value lines (the header is added here).
    void load(const std::string& body) {
        std::string error;
        ASSERT_TRUE(registry.importRegedit4("REGEDIT4\n\n" + body, &error)) << error;
    }

    // HKEY_LOCAL_MACHINE\<path>\<name> := bytes of `type`, creating the key.
    void setValue(const std::string& path, const char* name, std::uint32_t type,
                  const std::vector<std::uint8_t>& bytes) {
        platform::HKey key = 0;
        ASSERT_EQ(registry.CreateKeyEx(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key,
                                       nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(registry.SetValueEx(key, name, type, bytes.data(),
                                      static_cast<std::uint32_t>(bytes.size())),
                  ERROR_SUCCESS);
        registry.CloseKey(key);
    }

    void setDword(const std::string& path, const char* name, std::uint32_t value) {
        setValue(path, name, REG_DWORD,
                 {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                  static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
    }

    // The stored bytes and type of a value; empty and REG_NONE when it is missing.
    std::vector<std::uint8_t> rawValue(const std::string& path, const char* name,
                                       std::uint32_t* type = nullptr) {
        std::vector<std::uint8_t> data;
        std::uint32_t storedType = REG_NONE;
        platform::HKey key = 0;
        if (registry.OpenKeyEx(HKEY_LOCAL_MACHINE, path.c_str(), KEY_QUERY_VALUE, &key) ==
            ERROR_SUCCESS) {
            std::uint32_t size = 0;
            if (registry.QueryValueEx(key, name, &storedType, nullptr, &size) == ERROR_SUCCESS) {
                data.resize(size);
                registry.QueryValueEx(key, name, &storedType, data.data(), &size);
            }
            registry.CloseKey(key);
        }
        if (type != nullptr) *type = storedType;
        return data;
    }

    // A REG_DWORD as stored, or `missing` when there is none.
    std::uint32_t dwordValue(const std::string& path, const char* name,
                             std::uint32_t missing = 0xDEADBEEF) {
        std::uint32_t type = REG_NONE;
        const std::vector<std::uint8_t> data = rawValue(path, name, &type);
        if (type != REG_DWORD || data.size() != 4) return missing;
        return data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    }

    // A sink that records what the devices send.
    platform::sim::NotificationSink recorder() {
        return [this](std::uintptr_t window, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) {
            sent.push_back({window, message, wParam, lParam});
        };
    }

    platform::host::HostRegistry registry;
    std::vector<Notification> sent;
};

}  // namespace tunara_test
