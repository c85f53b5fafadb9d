// The node walk, the description and resource look-ups, and what one node contributes,
// on win98-maestro2e with nodes damaged or added in its registry.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "inspector/device_inspector.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "platform/registry_key.h"
#include "platform/sim/sim_layout.h"
#include "platform/sim/sim_pnp_config.h"
#include "tests/support/machine_test.h"
#include "tests/unit/inspector/record_builder.h"

using inspector::deviceInspector;
using inspector_test::RecordBuilder;

namespace {

// Results of the node queries, numbered as the inspector reports them.
constexpr std::uint16_t kNodeOk = 0;
constexpr std::uint16_t kNodeEnumUnavailable = 1001;
constexpr std::uint16_t kNodeNotFound = 1002;
constexpr std::uint16_t kNodeBufferTooSmall = 1004;
constexpr std::uint16_t kNodeNoDescription = 1005;
constexpr std::uint16_t kNodePnpConfUnavailable = 1008;

// The card's nodes in win98-maestro2e.
constexpr std::uint32_t kFmNode = 0xC29A3BDC;
constexpr std::uint32_t kMpuNode = 0xC29A3D90;
constexpr std::uint32_t kGameportNode = 0xC29A3F44;
// A node the tests add, with its hardware key.
constexpr std::uint32_t kTestNode = 0x0000ABCD;
constexpr const char* kTestHardwareKey = "TEST\\DEVICE\\0000";

constexpr const char* kEnum = "Config Manager\\Enum";

class InspectorNodes : public tunara_test::MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        loadMachine("win98-maestro2e");
    }

    static void setValue(platform::HKey root, const std::string& key, const char* name,
                         std::uint32_t type, const std::string& bytes) {
        platform::RegKey k;
        ASSERT_EQ(k.Create(root, key.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
        ASSERT_EQ(platform::machine().registry->SetValueEx(
                      k.handle(), name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                      static_cast<std::uint32_t>(bytes.size())),
                  ERROR_SUCCESS);
    }
    static void deleteValue(platform::HKey root, const std::string& key, const char* name) {
        platform::RegKey k;
        ASSERT_EQ(k.Open(root, key.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
        ASSERT_EQ(k.deleteValue(name), ERROR_SUCCESS);
    }
    static std::string nodeKey(const std::string& name) { return std::string(kEnum) + "\\" + name; }
    static std::string hardwareKeyOf(std::uint32_t node) {
        char name[16];
        std::snprintf(name, sizeof name, "%08X", static_cast<unsigned>(node));
        platform::RegKey k;
        std::string hardwareKey;
        if (k.Open(HKEY_DYN_DATA, nodeKey(name).c_str(), KEY_READ) != ERROR_SUCCESS ||
            k.readString("HardWareKey", &hardwareKey) != ERROR_SUCCESS) {
            ADD_FAILURE() << "no node " << name;
        }
        return "Enum\\" + hardwareKey;
    }
    // A REG_SZ stored with exactly these bytes (a terminating zero only if given).
    static void setDescription(std::uint32_t node, const std::string& bytes,
                               std::uint32_t type = REG_SZ) {
        setValue(HKEY_LOCAL_MACHINE, hardwareKeyOf(node), "DeviceDesc", type, bytes);
    }
    static void setRecord(std::uint32_t node, const std::vector<std::uint8_t>& record) {
        setValue(HKEY_LOCAL_MACHINE, platform::sim::simPnpNodeKey(node), "Config", REG_BINARY,
                 std::string(record.begin(), record.end()));
    }
    // Adds kTestNode under `keyName`, described by `description` (with its zero).
    static void addTestNode(const std::string& keyName, const std::string& description) {
        setValue(HKEY_DYN_DATA, nodeKey(keyName), "HardWareKey", REG_SZ,
                 std::string(kTestHardwareKey) + '\0');
        setValue(HKEY_LOCAL_MACHINE, std::string("Enum\\") + kTestHardwareKey, "DeviceDesc", REG_SZ,
                 description + '\0');
    }
    static std::string described(deviceInspector& inspector, std::uint32_t node) {
        char text[256];
        std::uint32_t length = sizeof text;
        if (inspector.readDeviceDescription(node, text, &length) != kNodeOk) return "?";
        return text;
    }
};

}  // namespace

TEST_F(InspectorNodes, WalkPassesOverKeysThatAreNotNodes) {
    deviceInspector inspector("Gameport Joystick");
    const int before = inspector.countDeviceNodes();
    std::vector<std::string> keys;
    {
        platform::RegKey k;
        ASSERT_EQ(k.Open(HKEY_DYN_DATA, kEnum, KEY_READ), ERROR_SUCCESS);
        ASSERT_EQ(k.subKeyNames(&keys), ERROR_SUCCESS);
    }
    EXPECT_EQ(before, static_cast<int>(keys.size()));

    for (const char* notANode : {"ROOT", "12ZZ", "00000000", "123456789", "0x12", " 12"}) {
        setValue(HKEY_DYN_DATA, nodeKey(notANode), "HardWareKey", REG_SZ, std::string("X") + '\0');
    }
    addTestNode("0000abcd", "Tunara MPU401 Device");  // lower case, leading zeros
    EXPECT_EQ(inspector.countDeviceNodes(), before + 1);

    std::vector<std::uint32_t> nodes(before + 3, 0xCCCCCCCC);
    EXPECT_EQ(inspector.listDeviceNodes(nodes.data(), before + 3), before + 1);
    EXPECT_EQ(nodes[0], 0xC29A0C2Cu);
    EXPECT_EQ(nodes[before], kTestNode);
    EXPECT_EQ(nodes[before + 1], 0xCCCCCCCCu);

    // A short array holds the first nodes; the count is still all of them.
    std::uint32_t two[3] = {0, 0, 0xCCCCCCCC};
    EXPECT_EQ(inspector.listDeviceNodes(two, 2), before + 1);
    EXPECT_EQ(two[1], nodes[1]);
    EXPECT_EQ(two[2], 0xCCCCCCCCu);

    // The look-up finds the node however its key is written.
    EXPECT_EQ(described(inspector, kTestNode), "Tunara MPU401 Device");

    // A walk left half-way holds its key; the inspector's end closes it (the teardown
    // checks that no key is left open).
    EXPECT_EQ(inspector.firstDeviceNode(), nodes[0]);
    EXPECT_EQ(inspector.nextDeviceNode(), nodes[1]);
}

namespace {

struct DescriptionCase {
    const char* label;
    const char* hardwareKeyValue;  // HardWareKey's bytes (nullptr: value deleted)
    std::uint32_t hardwareKeyType;
    const char* descriptionValue;  // DeviceDesc's text (nullptr: no value)
    std::size_t descriptionSize;   // bytes stored of it
    std::uint32_t descriptionType;
    std::uint16_t code;
    std::uint32_t length;  // *length afterwards (when the call sets it)
};

const std::string k255(255, 'd');
const std::string k256(256, 'd');

const DescriptionCase kDescriptionCases[] = {
    {"normal", kTestHardwareKey, REG_SZ, "Gameport Joystick", 18, REG_SZ, 0, 18},
    {"expand string", kTestHardwareKey, REG_SZ, "Gameport Joystick", 18, REG_EXPAND_SZ, 0, 18},
    {"255 + zero fits", kTestHardwareKey, REG_SZ, k255.c_str(), 256, REG_SZ, 0, 256},
    {"255 unterminated", kTestHardwareKey, REG_SZ, k255.c_str(), 255, REG_SZ, 0, 256},
    {"256 + zero", kTestHardwareKey, REG_SZ, k256.c_str(), 257, REG_SZ, 1004, 257},
    {"256 unterminated", kTestHardwareKey, REG_SZ, k256.c_str(), 256, REG_SZ, 1004, 257},
    {"empty", kTestHardwareKey, REG_SZ, "", 0, REG_SZ, 1005, 256},
    {"dword", kTestHardwareKey, REG_SZ, "abcd", 4, REG_DWORD, 1005, 256},
    {"binary", kTestHardwareKey, REG_SZ, "Gameport Joystick", 18, REG_BINARY, 1005, 256},
    {"no DeviceDesc", kTestHardwareKey, REG_SZ, nullptr, 0, REG_SZ, 1005, 256},
    {"no HardWareKey", nullptr, REG_SZ, "Gameport Joystick", 18, REG_SZ, 1000, 256},
    {"HardWareKey dword", "\x01\x02\x03\x04", REG_DWORD, "Gameport", 9, REG_SZ, 1000, 256},
    {"HardWareKey empty", "", REG_SZ, "Gameport Joystick", 18, REG_SZ, 1000, 256},
    {"HardWareKey missing key", "NO\\SUCH\\KEY", REG_SZ, "Gameport", 9, REG_SZ, 1000, 256},
};

}  // namespace

TEST_F(InspectorNodes, DescriptionResultCodes) {
    for (const DescriptionCase& c : kDescriptionCases) {
        SCOPED_TRACE(c.label);
        const std::string node = nodeKey("0000ABCD");
        const std::string device = std::string("Enum\\") + kTestHardwareKey;
        addTestNode("0000ABCD", "placeholder");
        if (c.hardwareKeyValue) {
            setValue(HKEY_DYN_DATA, node, "HardWareKey", c.hardwareKeyType,
                     std::string(c.hardwareKeyValue, std::strlen(c.hardwareKeyValue) + 1));
        } else {
            deleteValue(HKEY_DYN_DATA, node, "HardWareKey");
        }
        if (c.descriptionValue) {
            std::string bytes(c.descriptionValue);
            bytes.resize(c.descriptionSize, '\0');
            setValue(HKEY_LOCAL_MACHINE, device, "DeviceDesc", c.descriptionType, bytes);
        } else {
            deleteValue(HKEY_LOCAL_MACHINE, device, "DeviceDesc");
        }

        // An exact-size heap buffer, poisoned, so over-writes and untouched bytes both show.
        std::unique_ptr<char[]> buffer(new char[256]);
        std::memset(buffer.get(), 0xCC, 256);
        std::uint32_t length = 256;
        deviceInspector inspector("Gameport Joystick");
        EXPECT_EQ(inspector.readDeviceDescription(kTestNode, buffer.get(), &length), c.code);
        EXPECT_EQ(length, c.length);
        if (c.code == kNodeOk) {
            ASSERT_EQ(buffer[length - 1], '\0');
            EXPECT_EQ(
                std::string(buffer.get()),
                std::string(c.descriptionValue).substr(0, c.descriptionSize ? length - 1 : 0));
        } else {
            EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0xCC);
        }
    }
}

TEST_F(InspectorNodes, DescriptionOfUnknownNodeOrWithoutTree) {
    deviceInspector inspector("Gameport Joystick");
    char text[256];
    std::uint32_t length = sizeof text;
    EXPECT_EQ(inspector.readDeviceDescription(0x12345678, text, &length), kNodeNotFound);
    EXPECT_EQ(inspector.readDeviceDescription(0xC29A0C2C, text, &length),
              kNodeNoDescription);  // the root's Enum key has none
    // The size query form: no buffer, the size comes back.
    length = 0;
    EXPECT_EQ(inspector.readDeviceDescription(kFmNode, nullptr, &length), kNodeBufferTooSmall);
    EXPECT_EQ(length, sizeof "Tunara DOS Games/FM Devices");

    platform::RegKey dyn(HKEY_DYN_DATA);
    ASSERT_EQ(dyn.deleteSubKey("Config Manager"), ERROR_SUCCESS);
    EXPECT_EQ(inspector.readDeviceDescription(kFmNode, text, &length), kNodeEnumUnavailable);
    EXPECT_EQ(inspector.countDeviceNodes(), 0);
}

TEST_F(InspectorNodes, ResourceResultCodes) {
    deviceInspector inspector("Gameport Joystick");
    inspector::CmConfig record;
    EXPECT_EQ(inspector.readNodeResources(kFmNode, &record), kNodeOk);
    EXPECT_EQ(record.ioCount, 2);
    EXPECT_EQ(record.dma[0], 1);

    record.ioCount = 7;  // failures leave the record alone
    EXPECT_EQ(inspector.readNodeResources(0x12345678, &record), kNodeNotFound);
    setRecord(kFmNode, std::vector<std::uint8_t>(100, 1));  // damaged: not handed out
    EXPECT_EQ(inspector.readNodeResources(kFmNode, &record), kNodeNotFound);
    setValue(HKEY_LOCAL_MACHINE, platform::sim::kSimPnpConfKey, "Present", REG_DWORD,
             std::string(4, '\0'));
    EXPECT_EQ(inspector.readNodeResources(kMpuNode, &record), kNodePnpConfUnavailable);
    EXPECT_EQ(record.ioCount, 7);
    EXPECT_EQ(machine().pnp().openHandleCount(), 0u);
}

TEST_F(InspectorNodes, WithoutPnpConfCardIsFoundButHoldsNothing) {
    setValue(HKEY_LOCAL_MACHINE, platform::sim::kSimPnpConfKey, "Present", REG_DWORD,
             std::string(4, '\0'));
    deviceInspector inspector("Gameport Joystick");
    inspector.inspectAllDevices();
    EXPECT_TRUE(inspector.cardDeviceFound);
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_TRUE(inspector.slotInConflict(slot)) << slot;
    }
}

TEST_F(InspectorNodes, RecordWithCountsBeyondItsArrays) {
    setRecord(kFmNode, RecordBuilder().fill(0xFF).bytes());
    deviceInspector inspector("Gameport Joystick");
    inspector.inspectDeviceNode(kFmNode);
    EXPECT_EQ(inspector.resourceSlots[0], "FFFFFFFF-FFFFFFFF");
    EXPECT_EQ(inspector.resourceSlots[1], "FFFF-FFFF");
    EXPECT_EQ(inspector.resourceSlots[2], "FFFF-FFFF");
    EXPECT_EQ(inspector.resourceSlots[3], "255");
    EXPECT_TRUE(inspector.slotInConflict(4));
}

TEST_F(InspectorNodes, WhichDescriptionsAreTheCards) {
    struct Case {
        std::string description;  // of the MPU-401 node, stored with its zero
        bool filled;
    };
    const Case cases[] = {
        {"Tunara MPU401 Device", true},
        {"Vendor's MPU401 Device (rev. 2)", true},
        {"Tunara MPU401 device", false},
        {std::string(242, 'x') + "MPU401 Device", true},   // 255 characters + zero
        {std::string(243, 'x') + "MPU401 Device", false},  // 256 + zero: skipped
    };
    for (const Case& c : cases) {
        setDescription(kMpuNode, c.description + '\0');
        deviceInspector inspector("Gameport Joystick");
        inspector.inspectDeviceNode(kMpuNode);
        EXPECT_EQ(inspector.cardDeviceFound, c.filled) << c.description;
        EXPECT_EQ(inspector.resourceSlots[6], c.filled ? "0330-0331" : "Resource conflict")
            << c.description;
    }
}

TEST_F(InspectorNodes, FrenchWindowsKnowsItsJoystick) {
    setDescription(kGameportNode, std::string("Port pour manette de jeu") + '\0');
    {
        deviceInspector english;
        english.inspectAllDevices();
        EXPECT_TRUE(english.slotInConflict(7));
    }

    platform::FileSystem& files = *platform::machine().files;
    ASSERT_EQ(files.SetCurrentDirectory("C:\\"), ERROR_SUCCESS);
    ASSERT_EQ(files.DeleteFile("C:\\WINDOWS\\Start Menu\\Programs\\desktop.ini"), ERROR_SUCCESS);
    ASSERT_EQ(files.RemoveDirectory("C:\\WINDOWS\\Start Menu\\Programs"), ERROR_SUCCESS);
    ASSERT_EQ(files.CreateDirectory("C:\\WINDOWS\\Menu D\xE9marrer"), ERROR_SUCCESS);
    ASSERT_EQ(files.CreateDirectory("C:\\WINDOWS\\Menu D\xE9marrer\\Programmes"), ERROR_SUCCESS);

    deviceInspector french;
    EXPECT_EQ(french.joystickName, "Port pour manette de jeu");
    french.inspectAllDevices();
    EXPECT_EQ(french.resourceSlots[7], "0200-0207");
}
