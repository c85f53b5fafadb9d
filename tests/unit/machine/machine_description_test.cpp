// Every machine description must load into the simulated machine and hold what its
// [facts] promise: the chip on the bus, the driver's keys, the device nodes and their
// resource records. The product's tests rely on these facts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/host/simulated_machine.h"
#include "platform/machine.h"
#include "platform/pci_config.h"
#include "platform/pnp_config.h"
#include "platform/registry.h"
#include "tests/support/test_paths.h"

namespace {

std::vector<std::string> descriptionNames() {
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(tunara_test::sourcePath("tests/machines"))) {
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (!item.empty()) items.push_back(item);
    }
    return items;
}

bool keyExists(platform::HKey root, const std::string& path) {
    platform::HKey key = 0;
    if (platform::machine().registry->OpenKeyEx(root, path.c_str(), KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    platform::machine().registry->CloseKey(key);
    return true;
}

// Reads the device node's record through PNPCONF.VXD the way the inspector will.
std::uint32_t queryNodeRecord(const std::string& node, std::uint32_t* returned) {
    platform::PnpConfig& pnp = *platform::machine().pnp;
    platform::HDevice device = 0;
    std::uint32_t error = pnp.CreateFile("\\\\.\\PNPCONF.VXD", 0, 0, 0, 0, &device);
    if (error != ERROR_SUCCESS) return error;
    const std::uint32_t devnode =
        static_cast<std::uint32_t>(std::strtoul(node.c_str(), nullptr, 16));
    unsigned char record[216 + 16] = {};
    error = pnp.DeviceIoControl(device, 2 /* get the node's configuration */, &devnode,
                                sizeof devnode, record, sizeof record, returned);
    pnp.CloseHandle(device);
    return error;
}

class MachineDescriptionTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MachineDescriptionTest, LoadsAndHoldsItsFacts) {
    platform::host::SimulatedMachine machine;
    std::string error;
    ASSERT_TRUE(machine.loadNamedDescription(GetParam(), tunara_test::sourcePath(""), &error))
        << error;

    const std::string chip = machine.descriptionFact("facts", "chip");
    if (!chip.empty()) {
        unsigned bus = 0, device = 0, function = 0;
        ASSERT_EQ(std::sscanf(machine.descriptionFact("facts", "pci").c_str(), "%x:%x.%x", &bus,
                              &device, &function),
                  3);
        const std::uint32_t ids =
            platform::machine().pci->ReadConfigDword(bus, device, function, 0);
        EXPECT_EQ(ids, chip == "maestro1" ? 0x01001285u : 0x1978125Du) << std::hex << ids;
    }

    const std::string inf = machine.descriptionFact("facts", "inf");
    if (!inf.empty()) {
        std::uint32_t attributes = 0;
        EXPECT_EQ(platform::machine().files->GetFileAttributes(inf.c_str(), &attributes),
                  ERROR_SUCCESS)
            << inf;
    }

    if (machine.descriptionFact("facts", "installed") == "1") {
        for (const char* fact : {"pcikey", "classkey", "configkey"}) {
            const std::string key = machine.descriptionFact("facts", fact);
            EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, key)) << fact << " " << key;
        }
    }

    const std::vector<std::string> withoutRecord =
        splitList(machine.descriptionFact("facts", "norecord"));
    for (const std::string& node : splitList(machine.descriptionFact("facts", "cardnodes"))) {
        EXPECT_TRUE(keyExists(HKEY_DYN_DATA, "Config Manager\\Enum\\" + node)) << node;
        std::uint32_t returned = 0;
        const std::uint32_t result = queryNodeRecord(node, &returned);
        const bool expectRecord =
            std::find(withoutRecord.begin(), withoutRecord.end(), node) == withoutRecord.end();
        if (expectRecord) {
            EXPECT_EQ(result, ERROR_SUCCESS) << node;
            EXPECT_EQ(returned, 216) << node;
        } else {
            EXPECT_NE(result, ERROR_SUCCESS) << node << " should have no record";
        }
    }
}

TEST_P(MachineDescriptionTest, CardIsOnTheBusOnlyWhenDescribed) {
    platform::host::SimulatedMachine machine;
    std::string error;
    ASSERT_TRUE(machine.loadNamedDescription(GetParam(), tunara_test::sourcePath(""), &error))
        << error;
    int cards = 0;
    for (std::uint32_t bus = 0; bus < 2; ++bus) {
        for (std::uint32_t device = 0; device < 32; ++device) {
            const std::uint32_t ids = platform::machine().pci->ReadConfigDword(bus, device, 0, 0);
            if (ids == 0x01001285u || ids == 0x1978125Du) ++cards;
        }
    }
    EXPECT_EQ(cards, machine.descriptionFact("facts", "chip").empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(AllDescriptions, MachineDescriptionTest,
                         ::testing::ValuesIn(descriptionNames()), [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
