// Helpers of the settings tests: the description's facts and quick edits of the simulated
// machine's registry (card settings, PCI functions, mixer lines).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry_key.h"
#include "tests/support/machine_test.h"

namespace tunara_test {

class SettingsTest : public MachineTest {
  protected:
    std::string fact(const char* key) { return machine().descriptionFact("facts", key); }
    bool factOn(const char* key) { return fact(key) == "1" || fact(key) == "on"; }

    // "00:0A.0" -> "BUS_00&DEV_0A&FUNC_00".
    static std::string locationText(const std::string& pci);

    // Writes a value of any type and bytes under HKLM\<key>, creating the key.
    static void setValue(const std::string& key, const char* name, std::uint32_t type,
                         const std::vector<std::uint8_t>& data);
    static void setString(const std::string& key, const char* name, const std::string& text);
    // The bytes and type of HKLM\<key> <name>; empty and REG_NONE when absent.
    static std::vector<std::uint8_t> valueBytes(const std::string& key, const char* name,
                                                std::uint32_t* type = nullptr);
    static bool hasValue(const std::string& key, const char* name);
    static void deleteKey(const std::string& key);

    // A PCI function whose register 0 reads `id` (device << 16 | vendor).
    static void addPciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function,
                               std::uint32_t id);
    static void removePciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function);
    // A mixer line of the simulated card (source -1: the destination line itself).
    static void setMixerSource(std::uint32_t destination, std::uint32_t source,
                               std::uint32_t componentType, std::uint32_t controls,
                               std::uint32_t value);
    static std::uint32_t mixerSourceValue(std::uint32_t destination, std::uint32_t source);

    // Whether the debug channel received exactly this text.
    bool debugSaid(const std::string& text);
};

}  // namespace tunara_test
