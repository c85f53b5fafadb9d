#include "tests/unit/infengine/infengine_fixture.h"

#include <vector>

#include "infengine/engine.h"
#include "infengine/engine_state.h"
#include "platform/file_handle.h"
#include "platform/host/host_files.h"
#include "platform/machine.h"
#include "platform/registry_key.h"

namespace infengine_test {

void InfEngineTest::SetUp() {
    MachineTest::SetUp();
    loadMachine("win98-maestro2e");
    platform::Machine backends = machine().backends();
    backends.inf = &reader_;
    platform::installMachine(backends);
    infengine::resetEngine();
}

void InfEngineTest::TearDown() {
    infengine::CloseInfFile();
    infengine::resetEngine();
    EXPECT_EQ(reader_.openCount(), 0u) << "INF files left open";
    MachineTest::TearDown();
}

void InfEngineTest::writeFile(const std::string& path, const std::string& bytes) {
    platform::FileSystem& files = *platform::machine().files;
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        files.CreateDirectory(path.substr(0, slash).c_str());
    }
    platform::ScopedFile file;
    ASSERT_EQ(files.CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, file.receive()),
              ERROR_SUCCESS)
        << path;
    std::uint32_t written = 0;
    ASSERT_EQ(files.WriteFile(file.get(), bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                              &written),
              ERROR_SUCCESS);
    ASSERT_EQ(written, bytes.size());
}

std::string InfEngineTest::readFile(const std::string& path) {
    platform::FileSystem& files = *platform::machine().files;
    platform::ScopedFile file;
    if (files.CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0,
                         file.receive()) != ERROR_SUCCESS) {
        return std::string();
    }
    std::string content;
    std::vector<char> chunk(65536);
    std::uint32_t read = 0;
    while (files.ReadFile(file.get(), chunk.data(), static_cast<std::uint32_t>(chunk.size()),
                          &read) == ERROR_SUCCESS &&
           read > 0) {
        content.append(chunk.data(), read);
    }
    return content;
}

bool InfEngineTest::fileExists(const std::string& path) {
    std::uint32_t attributes = 0;
    return platform::machine().files->GetFileAttributes(path.c_str(), &attributes) ==
           ERROR_SUCCESS;
}

void InfEngineTest::writeInf(const std::string& path, const std::string& body) {
    writeFile(path, "[Version]\r\nSignature=\"$Chicago$\"\r\n" + body);
}

void InfEngineTest::openDriverInf(const std::string& body) {
    writeInf(kDriverInf, body);
    ASSERT_EQ(infengine::OpenInfFile(kDriverInf), 0);
}

void InfEngineTest::setSourcePath(const std::string& folder) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup",
                         KEY_ALL_ACCESS),
              ERROR_SUCCESS);
    ASSERT_EQ(key.writeString("SourcePath", folder), ERROR_SUCCESS);
}

}  // namespace infengine_test
