#include "tests/unit/dosedit/dos_fixture.h"

#include "platform/file_handle.h"
#include "platform/host/host_files.h"
#include "platform/host/host_system.h"

namespace tunara_test {

const char* const DosFileTest::kRemoveCaption = "Remove Native DOS Support";
const char* const DosFileTest::kInstallCaption = "Native DOS Support";
const char* const DosFileTest::kRemovePrompt =
    "Native DOS support is installed. The card's real-mode drivers are started from these "
    "MS-DOS start-up files:";
const char* const DosFileTest::kSummaryFile = "Updated ";
const char* const DosFileTest::kSummaryBackup = "- the previous version is saved as ";
const char* const DosFileTest::kSummaryEnd = "in case you need it.";
const char* const DosFileTest::kMidiBusy =
    "The wavetable sample set cannot be changed while MIDI music is playing. Stop the music, "
    "and then try again.";

void DosFileTest::TearDown() {
    if (module_ != 0) machine().system().FreeLibrary(module_);
    module_ = 0;
    MachineTest::TearDown();
}

std::string DosFileTest::readFile(const std::string& path) {
    platform::FileSystem& files = machine().files();
    platform::ScopedFile file;
    if (files.CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, file.receive()) != ERROR_SUCCESS)
        return "<missing>";
    std::string content;
    char buffer[4096];
    for (;;) {
        std::uint32_t read = 0;
        if (files.ReadFile(file.get(), buffer, sizeof buffer, &read) != ERROR_SUCCESS)
            return "<unreadable>";
        if (read == 0) break;
        content.append(buffer, read);
    }
    return content;
}

void DosFileTest::writeFile(const std::string& path, const std::string& content) {
    platform::FileSystem& files = machine().files();
    platform::ScopedFile file;
    ASSERT_EQ(files.CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               file.receive()),
              ERROR_SUCCESS)
        << path;
    std::uint32_t written = 0;
    ASSERT_EQ(files.WriteFile(file.get(), content.data(),
                              static_cast<std::uint32_t>(content.size()), &written),
              ERROR_SUCCESS);
    ASSERT_EQ(written, content.size());
}

bool DosFileTest::exists(const std::string& path) {
    std::uint32_t attributes = 0;
    return machine().files().GetFileAttributes(path.c_str(), &attributes) == ERROR_SUCCESS;
}

void DosFileTest::setAttributes(const std::string& path, std::uint32_t attributes) {
    ASSERT_EQ(machine().files().SetFileAttributes(path.c_str(), attributes), ERROR_SUCCESS) << path;
}

platform::HModule DosFileTest::loadEnglishModule(const std::string& midiBusyText) {
    platform::host::ModuleImage image;
    image.strings[dos_ids::kProductTitle] = "Tunara Properties";
    image.strings[dos_ids::kRemoveCaption] = kRemoveCaption;
    image.strings[dos_ids::kInstallCaption] = kInstallCaption;
    image.strings[dos_ids::kMidiBusy] = midiBusyText.empty() ? kMidiBusy : midiBusyText;
    image.strings[dos_ids::kRemovePrompt] = kRemovePrompt;
    image.strings[dos_ids::kSummaryFile] = kSummaryFile;
    image.strings[dos_ids::kSummaryBackup] = kSummaryBackup;
    image.strings[dos_ids::kSummaryEnd] = kSummaryEnd;
    image.dialogs.insert(dos_ids::kPromptDialog);
    machine().system().registerModule("cnctlen_.dll", image);
    const std::string path = "C:\\WINDOWS\\SYSTEM\\cnctlen_.dll";
    if (!exists(path)) writeFile(path, "MZ");
    module_ = machine().system().LoadLibrary(path.c_str());
    EXPECT_NE(module_, 0u);
    return module_;
}

std::string DosFileTest::textOfSize(std::size_t size) {
    std::string text;
    text.reserve(size);
    for (std::size_t line = 0; text.size() < size; ++line) {
        text += "REM line " + std::to_string(line) + "\r\n";
    }
    text.resize(size);
    return text;
}

}  // namespace tunara_test
