#include "tests/unit/settings/settings_fixture.h"

#include <algorithm>
#include <cstdio>

#include "platform/host/host_system.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "platform/sim/sim_layout.h"

namespace tunara_test {

std::string SettingsTest::locationText(const std::string& pci) {
    unsigned bus = 0, device = 0, function = 0;
    EXPECT_EQ(std::sscanf(pci.c_str(), "%x:%x.%x", &bus, &device, &function), 3) << pci;
    char text[64];
    std::snprintf(text, sizeof text, "BUS_%02X&DEV_%02X&FUNC_%02X", bus, device, function);
    return text;
}

void SettingsTest::setValue(const std::string& key, const char* name, std::uint32_t type,
                            const std::vector<std::uint8_t>& data) {
    platform::RegKey k;
    ASSERT_EQ(k.Create(HKEY_LOCAL_MACHINE, key.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS) << key;
    ASSERT_EQ(platform::machine().registry->SetValueEx(k.handle(), name, type, data.data(),
                                                       static_cast<std::uint32_t>(data.size())),
              ERROR_SUCCESS);
}

void SettingsTest::setString(const std::string& key, const char* name, const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    setValue(key, name, REG_SZ, data);
}

std::vector<std::uint8_t> SettingsTest::valueBytes(const std::string& key, const char* name,
                                                   std::uint32_t* type) {
    if (type) *type = REG_NONE;
    platform::RegKey k;
    if (k.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS) return {};
    std::uint32_t size = 0;
    std::uint32_t stored = REG_NONE;
    platform::Registry& registry = *platform::machine().registry;
    if (registry.QueryValueEx(k.handle(), name, &stored, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<std::uint8_t> data(size);
    if (registry.QueryValueEx(k.handle(), name, &stored, data.data(), &size) != ERROR_SUCCESS)
        return {};
    if (type) *type = stored;
    return data;
}

bool SettingsTest::hasValue(const std::string& key, const char* name) {
    platform::RegKey k;
    return k.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           k.hasValue(name);
}

void SettingsTest::deleteKey(const std::string& key) {
    platform::RegKey root(HKEY_LOCAL_MACHINE);
    (void)root.deleteSubKey(key.c_str());
}

void SettingsTest::addPciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function,
                                  std::uint32_t id) {
    std::vector<std::uint8_t> config(64, 0);
    for (int i = 0; i < 4; ++i) config[i] = static_cast<std::uint8_t>(id >> (8 * i));
    setValue(platform::sim::simPciFunctionKey(bus, device, function), "Config", REG_BINARY, config);
}

void SettingsTest::removePciFunction(std::uint32_t bus, std::uint32_t device,
                                     std::uint32_t function) {
    deleteKey(platform::sim::simPciFunctionKey(bus, device, function));
}

void SettingsTest::setMixerSource(std::uint32_t destination, std::uint32_t source,
                                  std::uint32_t componentType, std::uint32_t controls,
                                  std::uint32_t value) {
    const std::string key = platform::sim::simMixerSourceKey(destination, source);
    auto dword = [](std::uint32_t v) {
        return std::vector<std::uint8_t>{
            static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    };
    setValue(key, "ComponentType", REG_DWORD, dword(componentType));
    setValue(key, "Controls", REG_DWORD, dword(controls));
    setValue(key, "Value", REG_DWORD, dword(value));
}

std::uint32_t SettingsTest::mixerSourceValue(std::uint32_t destination, std::uint32_t source) {
    platform::RegKey k;
    std::uint32_t value = 0xDEADBEEF;
    if (k.Open(HKEY_LOCAL_MACHINE, platform::sim::simMixerSourceKey(destination, source).c_str(),
               KEY_QUERY_VALUE) == ERROR_SUCCESS)
        (void)k.readDword("Value", &value);
    return value;
}

bool SettingsTest::debugSaid(const std::string& text) {
    const auto& output = machine().system().debugOutput();
    return std::find(output.begin(), output.end(), text) != output.end();
}

}  // namespace tunara_test
