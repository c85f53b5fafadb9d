#include "tests/unit/system/system_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/registry_key.h"

namespace system_test {

SystemTest::SystemTest() {
    char pattern[] = "/tmp/unit_system_XXXXXX";
    const char* made = ::mkdtemp(pattern);
    root = made != nullptr ? made : "";
    std::filesystem::create_directories(root + "/c");
    files = std::make_unique<platform::host::HostFileSystem>(root);
    platform::Machine machine;
    machine.registry = &registry;
    machine.files = files.get();
    machine.system = &system;
    machine.ui = &ui;
    machine.shell = &shell;
    machine.security = &security;
    previous_ = platform::installMachine(machine);
    makeFolder("C:\\WINDOWS\\SYSTEM");
}

SystemTest::~SystemTest() {
    platform::installMachine(previous_);
    files.reset();
    std::error_code ignored;
    if (!root.empty()) std::filesystem::remove_all(root, ignored);
}

void SystemTest::TearDown() {
    std::string modules;
    for (const std::string& module : system.loadedModuleDescriptions()) modules += " " + module;
    EXPECT_EQ(system.loadedModuleCount(), 0u) << "modules still loaded:" << modules;
    EXPECT_EQ(system.openProcessHandleCount(), 0u) << "process handles left open";
    EXPECT_EQ(security.openTokenCount(), 0u) << "tokens left open";
    EXPECT_EQ(security.heldAclCount(), 0u) << "ACLs not freed";
    EXPECT_EQ(shell.openLinkCount(), 0u) << "shell links not released";
    EXPECT_EQ(shell.comInitializations(), 0) << "CoInitialize not balanced";
    EXPECT_EQ(files->openHandleCount(), 0u) << "file handles left open";
    EXPECT_EQ(registry.openHandleCount(), 0u) << "registry keys left open";
}

void SystemTest::makeFolder(const std::string& path) {
    for (std::size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
        files->CreateDirectory(path.substr(0, slash).c_str());
        if (slash == std::string::npos) break;
    }
}

void SystemTest::writeFile(const std::string& path, const std::string& content) {
    makeFolder(path.substr(0, path.rfind('\\')));
    platform::FileHandle file = platform::kInvalidFileHandle;
    ASSERT_EQ(files->CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, &file),
              ERROR_SUCCESS)
        << path;
    std::uint32_t written = 0;
    EXPECT_EQ(files->WriteFile(file, content.data(), static_cast<std::uint32_t>(content.size()),
                               &written),
              ERROR_SUCCESS);
    files->CloseHandle(file);
}

bool SystemTest::fileExists(const std::string& path) {
    std::uint32_t attributes = 0;
    return files->GetFileAttributes(path.c_str(), &attributes) == ERROR_SUCCESS &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string SystemTest::readFile(const std::string& path) {
    platform::FileHandle file = platform::kInvalidFileHandle;
    if (files->CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, &file) != ERROR_SUCCESS)
        return "<missing>";
    std::vector<char> data(65536);
    std::uint32_t read = 0;
    files->ReadFile(file, data.data(), static_cast<std::uint32_t>(data.size()), &read);
    files->CloseHandle(file);
    return std::string(data.data(), read);
}

void SystemTest::setClassesDefault(const std::string& subKey, const std::string& value) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(HKEY_CLASSES_ROOT, subKey.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(key.writeString(nullptr, value), ERROR_SUCCESS);
}

}  // namespace system_test
