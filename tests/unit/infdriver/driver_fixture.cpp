#include "tests/unit/infdriver/driver_fixture.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "infengine/driver_state.h"
#include "infengine/engine.h"
#include "infengine/engine_driver.h"
#include "infengine/engine_state.h"
#include "infsecurity/administrator_access.h"
#include "infsecurity/hvinfnt_export.h"
#include "platform/file_handle.h"
#include "platform/host/host_system.h"
#include "platform/machine.h"
#include "platform/registry_key.h"
#include "platform/sim/sim_layout.h"

namespace infdriver_test {
namespace {

// hvinfnt's export as the simulated loader hands it out.
unsigned long HVINFNT_CALL simulatedAddAdministratorAceToAcl(const char* objectName) {
    return infsecurity::addAdministratorAceToAcl(objectName);
}

}  // namespace

bool OutBuffer::guardIntact() const {
    for (std::size_t i = 260; i < bytes.size(); ++i) {
        if (bytes[i] != static_cast<char>(0xCC)) return false;
    }
    return true;
}

std::string peFixture(const std::string& name) {
    return std::string(INFDRIVER_PE_DIR) + "/" + name;
}

void DriverTest::SetUp() {
    MachineTest::SetUp();
    useMachine("win98-maestro2e");
}

void DriverTest::useMachine(const std::string& description) {
    infengine::CloseInfFile();
    if (engineModule_ != 0) {
        platform::machine().system->FreeLibrary(engineModule_);
        engineModule_ = 0;
    }
    loadMachine(description);
    platform::Machine backends = machine().backends();
    backends.inf = &reader_;
    platform::installMachine(backends);
    infengine::resetEngine();
    infengine::resetDriverState();
}

void DriverTest::TearDown() {
    infengine::CloseInfFile();
    infengine::resetEngine();
    infengine::resetDriverState();
    if (engineModule_ != 0) platform::machine().system->FreeLibrary(engineModule_);
    engineModule_ = 0;
    EXPECT_EQ(reader_.openCount(), 0u) << "INF files left open";
    MachineTest::TearDown();
}

void DriverTest::writeFile(const std::string& path, const std::string& bytes) {
    platform::FileSystem& files = *platform::machine().files;
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        files.CreateDirectory(path.substr(0, slash).c_str());
    }
    platform::ScopedFile file;
    ASSERT_EQ(files.CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               file.receive()),
              ERROR_SUCCESS)
        << path;
    std::uint32_t written = 0;
    ASSERT_EQ(files.WriteFile(file.get(), bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                              &written),
              ERROR_SUCCESS);
    ASSERT_EQ(written, bytes.size());
}

std::string DriverTest::hostFile(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing fixture " << hostPath;
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void DriverTest::copyHostFile(const std::string& hostPath, const std::string& path) {
    writeFile(path, hostFile(hostPath));
}

bool DriverTest::fileExists(const std::string& path) {
    std::uint32_t attributes = 0;
    return platform::machine().files->GetFileAttributes(path.c_str(), &attributes) == ERROR_SUCCESS;
}

void DriverTest::setLastWriteTime(const std::string& path, std::uint64_t fileTime) {
    platform::FileSystem& files = *platform::machine().files;
    platform::ScopedFile file;
    ASSERT_EQ(files.CreateFile(path.c_str(), GENERIC_WRITE, 0, OPEN_EXISTING, 0, file.receive()),
              ERROR_SUCCESS);
    const platform::FileTime time = fileTime;
    ASSERT_EQ(files.SetFileTime(file.get(), nullptr, nullptr, &time), ERROR_SUCCESS);
}

void DriverTest::openInf(const std::string& path, const std::string& versionLines,
                         const std::string& body) {
    writeFile(path, "[Version]\r\nSignature=\"$Chicago$\"\r\n" + versionLines + body);
    ASSERT_EQ(infengine::OpenInfFile(path.c_str()), 0);
}

std::vector<RegValue> DriverTest::runSequence(RegFunction function, std::size_t limit,
                                              std::uint16_t* endIndex) {
    std::vector<RegValue> values;
    std::uint16_t index = 0;
    for (;;) {
        OutBuffer root, subKey, name, data;
        int flags = -1;
        const int result =
            function(&index, root.get(), subKey.get(), name.get(), data.get(), &flags);
        EXPECT_TRUE(root.guardIntact() && subKey.guardIntact() && name.guardIntact() &&
                    data.guardIntact())
            << "write past 260 bytes at index " << index;
        if (result != 0) {
            EXPECT_EQ(subKey.text(), "") << "at the end";
            EXPECT_EQ(name.text(), "") << "at the end";
            break;
        }
        RegValue value;
        value.index = index;
        value.root = root.text();
        value.subKey = subKey.text();
        value.name = name.text();
        value.typeFlags = flags;
        if (flags == 1) {
            const auto count = static_cast<unsigned char>(data.bytes[0]);
            value.data.assign(data.bytes.data() + 1, count);
        } else {
            value.data = data.text();
        }
        values.push_back(value);
        if (values.size() >= limit) {
            ADD_FAILURE() << "the sequence does not end";
            break;
        }
        ++index;
    }
    if (endIndex != nullptr) *endIndex = index;
    return values;
}

void DriverTest::writeValues(const std::vector<RegValue>& values) {
    for (const RegValue& value : values) {
        if (value.subKey.empty()) continue;
        ASSERT_EQ(value.root, "HKLM");
        platform::RegKey key;
        ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, value.subKey.c_str(), KEY_ALL_ACCESS),
                  ERROR_SUCCESS)
            << value.subKey;
        std::uint32_t result = ERROR_SUCCESS;
        if (value.typeFlags == 1) {
            result = key.writeBinary(value.name.c_str(), value.data.data(),
                                     static_cast<std::uint32_t>(value.data.size()));
        } else if (value.typeFlags == 0x00010001) {
            result = key.writeDword(value.name.c_str(),
                                    static_cast<std::uint32_t>(std::stoul(value.data, nullptr, 0)));
        } else {
            result = key.writeString(value.name.c_str(), value.data);
        }
        ASSERT_EQ(result, ERROR_SUCCESS) << value.subKey << " " << value.name;
    }
}

std::vector<std::string> DriverTest::runRemoval(bool deleteKeys) {
    std::vector<std::string> keys;
    for (std::uint16_t index = 0; index < 200; ++index) {
        OutBuffer root, key;
        if (infengine::EnumDelDriverReg(index, root.get(), key.get()) != 0) break;
        EXPECT_EQ(root.text(), "HKLM");
        EXPECT_TRUE(key.guardIntact());
        keys.push_back(key.text());
        if (deleteKeys) deleteKey(key.text());
    }
    return keys;
}

void DriverTest::createKey(const std::string& key) {
    platform::RegKey opened;
    ASSERT_EQ(opened.Create(HKEY_LOCAL_MACHINE, key.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS) << key;
}

void DriverTest::setString(const std::string& key, const std::string& name,
                           const std::string& value) {
    platform::RegKey opened;
    ASSERT_EQ(opened.Create(HKEY_LOCAL_MACHINE, key.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS) << key;
    ASSERT_EQ(opened.writeString(name.c_str(), value), ERROR_SUCCESS);
}

bool DriverTest::keyExists(const std::string& key) {
    platform::RegKey opened;
    return opened.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

bool DriverTest::valueExists(const std::string& key, const std::string& name) {
    platform::RegKey opened;
    return opened.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           opened.hasValue(name.c_str());
}

std::string DriverTest::stringValue(const std::string& key, const std::string& name) {
    platform::RegKey opened;
    std::string value;
    if (opened.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        opened.readString(name.c_str(), &value) != ERROR_SUCCESS) {
        return "<none>";
    }
    return value;
}

void DriverTest::deleteKey(const std::string& key) {
    const std::size_t slash = key.rfind('\\');
    platform::RegKey parent;
    ASSERT_EQ(parent.Open(HKEY_LOCAL_MACHINE, key.substr(0, slash).c_str(), KEY_ALL_ACCESS),
              ERROR_SUCCESS)
        << key;
    ASSERT_EQ(parent.deleteSubKey(key.substr(slash + 1).c_str()), ERROR_SUCCESS) << key;
}

void DriverTest::addPciFunction(std::uint32_t bus, std::uint32_t device, std::uint32_t function,
                                std::uint16_t vendorId, std::uint16_t deviceId,
                                std::uint32_t subsystem, std::uint8_t revision) {
    std::uint8_t config[64] = {};
    config[0] = static_cast<std::uint8_t>(vendorId);
    config[1] = static_cast<std::uint8_t>(vendorId >> 8);
    config[2] = static_cast<std::uint8_t>(deviceId);
    config[3] = static_cast<std::uint8_t>(deviceId >> 8);
    config[8] = revision;
    for (int i = 0; i < 4; ++i) config[0x2C + i] = static_cast<std::uint8_t>(subsystem >> (8 * i));
    char name[32];
    std::snprintf(name, sizeof name, "\\%02X:%02X.%X", bus, device, function);
    platform::RegKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE,
                         (std::string(platform::sim::kSimPciKey) + name).c_str(), KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    ASSERT_EQ(key.writeBinary("Config", config, sizeof config), ERROR_SUCCESS);
}

void DriverTest::installLibraries(const std::string& folder, bool withHelper) {
    platform::host::HostSystem& system = machine().system();
    system.registerModule("hvinf.dll", platform::host::ModuleImage());
    writeFile(folder + "\\hvinf.dll", "MZ");
    if (withHelper) {
        platform::host::ModuleImage helper;
        helper.exports["AddAdministratorAceToAcl"] =
            reinterpret_cast<platform::ProcAddress>(&simulatedAddAdministratorAceToAcl);
        system.registerModule("hvinfnt.dll", helper);
        writeFile(folder + "\\hvinfnt.dll", "MZ");
    }
    engineModule_ = system.LoadLibrary((folder + "\\hvinf.dll").c_str());
    ASSERT_NE(engineModule_, 0u);
    infengine::engineState().module = engineModule_;
}

}  // namespace infdriver_test
