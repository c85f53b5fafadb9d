// A fresh simulated registry per test; teardown fails the test when a handle was left open.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/host_registry.h"

namespace registry_test {

class HostRegistryTest : public ::testing::Test {
protected:
    void TearDown() override {
        std::string leaked;
        for (const std::string& path : reg.openHandlePaths()) leaked += " " + path;
        EXPECT_EQ(reg.openHandleCount(), 0u) << "open handles:" << leaked;
    }

    // Creates root\path and closes it again.
    void createKey(platform::HKey root, const char* path) {
        platform::HKey key = 0;
        ASSERT_EQ(reg.CreateKeyEx(root, path, 0, KEY_ALL_ACCESS, &key, nullptr), ERROR_SUCCESS)
            << path;
        reg.CloseKey(key);
    }

    void setValue(platform::HKey key, const char* name, std::uint32_t type,
                  const std::string& bytes) {
        ASSERT_EQ(
            reg.SetValueEx(key, name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           static_cast<std::uint32_t>(bytes.size())),
            ERROR_SUCCESS);
    }

    // The stored bytes of a value, or a text naming the error.
    std::string valueBytes(platform::HKey root, const char* path, const char* name,
                           std::uint32_t* type = nullptr) {
        platform::HKey key = 0;
        std::uint32_t error = reg.OpenKeyEx(root, path, KEY_READ, &key);
        if (error != ERROR_SUCCESS) return "<open error " + std::to_string(error) + ">";
        std::vector<std::uint8_t> data(70000);
        auto size = static_cast<std::uint32_t>(data.size());
        error = reg.QueryValueEx(key, name, type, data.data(), &size);
        reg.CloseKey(key);
        if (error != ERROR_SUCCESS) return "<query error " + std::to_string(error) + ">";
        return std::string(data.begin(), data.begin() + size);
    }

    std::vector<std::string> subKeys(platform::HKey key) {
        std::vector<std::string> names;
        char name[300];
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t size = sizeof name;
            if (reg.EnumKeyEx(key, i, name, &size) != ERROR_SUCCESS) break;
            names.emplace_back(name, size);
        }
        return names;
    }

    std::vector<std::string> valueNames(platform::HKey key) {
        std::vector<std::string> names;
        char name[300];
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t size = sizeof name;
            if (reg.EnumValue(key, i, name, &size, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, size);
        }
        return names;
    }

    // Everything in the registry, for "nothing changed" checks.
    std::string snapshot() const {
        std::string all;
        for (platform::HKey root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS,
                                    HKEY_CURRENT_CONFIG, HKEY_DYN_DATA})
            all += reg.exportRegedit4(root, nullptr);
        return all;
    }

    platform::host::HostRegistry reg;
};

}  // namespace registry_test
