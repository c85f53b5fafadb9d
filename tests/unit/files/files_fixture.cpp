#include "tests/unit/files/files_fixture.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/file_handle.h"

namespace tunara_test {

void HostFilesTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tunara-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / "c");
    files_ = std::make_unique<platform::host::HostFileSystem>(root_.string());
    platform::Machine machine;
    machine.files = files_.get();
    previous_ = platform::installMachine(machine);
}

void HostFilesTest::TearDown() {
    std::string open;
    for (const std::string& path : files_->openHandlePaths()) open += " " + path;
    EXPECT_EQ(files_->openHandleCount(), 0u) << "left open:" << open;
    platform::installMachine(previous_);
    files_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void HostFilesTest::putHostFile(const std::string& relative, const std::string& content) {
    std::filesystem::create_directories(host(relative).parent_path());
    std::ofstream out(host(relative), std::ios::binary);
    out << content;
}

std::string HostFilesTest::hostContent(const std::string& relative) const {
    std::ifstream in(host(relative), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool HostFilesTest::hostExists(const std::string& relative) const {
    return std::filesystem::exists(host(relative));
}

std::vector<std::string> HostFilesTest::hostNames(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(host(relative))) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::uint32_t HostFilesTest::writeFile(const char* path, const std::string& content) {
    platform::ScopedFile file;
    std::uint32_t rc = fs().CreateFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       file.receive());
    if (rc != ERROR_SUCCESS) return rc;
    std::uint32_t written = 0;
    rc = fs().WriteFile(file.get(), content.data(), static_cast<std::uint32_t>(content.size()),
                        &written);
    if (rc == ERROR_SUCCESS && written != content.size()) rc = ERROR_WRITE_FAULT;
    return rc;
}

std::string HostFilesTest::readFile(const char* path) {
    platform::ScopedFile file;
    if (fs().CreateFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0, file.receive()) !=
        ERROR_SUCCESS) {
        return "<cannot open>";
    }
    std::string content;
    char buffer[256];
    std::uint32_t got = 0;
    while (fs().ReadFile(file.get(), buffer, sizeof buffer, &got) == ERROR_SUCCESS && got != 0) {
        content.append(buffer, got);
    }
    return content;
}

std::uint32_t HostFilesTest::attributes(const char* path) {
    std::uint32_t value = INVALID_FILE_ATTRIBUTES;
    fs().GetFileAttributes(path, &value);
    return value;
}

}  // namespace tunara_test
