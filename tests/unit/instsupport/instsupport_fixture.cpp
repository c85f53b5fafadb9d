#include "tests/unit/instsupport/instsupport_fixture.h"

#include <fstream>
#include <sstream>

#include "platform/file_handle.h"
#include "platform/files.h"
#include "platform/machine.h"

namespace tunara_test {

void writeMachineFile(const std::string& path, const std::string& text) {
    platform::ScopedFile file;
    ASSERT_EQ(platform::machine().files->CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                                                    FILE_ATTRIBUTE_NORMAL, file.receive()),
              ERROR_SUCCESS)
        << path;
    std::uint32_t written = 0;
    ASSERT_EQ(platform::machine().files->WriteFile(
                  file.get(), text.data(), static_cast<std::uint32_t>(text.size()), &written),
              ERROR_SUCCESS);
}

std::optional<std::string> readMachineFile(const std::string& path) {
    platform::ScopedFile file;
    platform::FileSystem& files = *platform::machine().files;
    if (files.CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0,
                         file.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    std::uint32_t size = 0;
    files.GetFileSize(file.get(), &size, nullptr);
    std::string text(size, '\0');
    std::uint32_t read = 0;
    if (size > 0 && files.ReadFile(file.get(), &text[0], size, &read) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(read);
    return text;
}

bool machineFileExists(const std::string& path) {
    std::uint32_t attributes = 0;
    return platform::machine().files->GetFileAttributes(path.c_str(), &attributes) == ERROR_SUCCESS;
}

void makeMachineFolders(const std::string& path) {
    for (std::size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
        platform::machine().files->CreateDirectory(path.substr(0, at).c_str());
        if (at == std::string::npos) break;
    }
}

std::string fixtureBytes(const std::string& name) {
#ifdef TUNARA_INSTSUPPORT_FIXTURES
    std::ifstream in(std::string(TUNARA_INSTSUPPORT_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_FALSE(bytes.str().empty()) << "fixture " << name << " missing";
    return bytes.str();
#else
    ADD_FAILURE() << "the fixtures were not built";
    return std::string();
#endif
}

}  // namespace tunara_test
