// What the settings page's dialogs read from the machine: which sample-set buttons the
// advanced settings dialog offers, and the version line of the support dialog.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/file_handle.h"
#include "platform/host/host_files.h"
#include "props/logic/advanced_controls.h"
#include "props/logic/product_version.h"
#include "tests/support/machine_test.h"

namespace tunara_test {
namespace {

#ifdef TUNARA_PROPS_VERSION_EXE
const char* const kVersionExe = TUNARA_PROPS_VERSION_EXE;
#else
const char* const kVersionExe = "(not built: the mingw tools were missing)";
#endif

const std::string kSystem = "C:\\WINDOWS\\SYSTEM\\";

class DialogSourcesTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        loadMachine("win98-maestro1");  // Plat2Meg.im and Plat4Meg.im in the system folder
    }
    void writeFile(const std::string& path, const std::string& content) {
        platform::ScopedFile file;
        ASSERT_EQ(machine().files().CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, file.receive()),
                  ERROR_SUCCESS)
            << path;
        std::uint32_t written = 0;
        ASSERT_EQ(machine().files().WriteFile(file.get(), content.data(),
                                              static_cast<std::uint32_t>(content.size()), &written),
                  ERROR_SUCCESS);
    }
    void removeSampleSets() {
        for (const char* name : {"Plat2Meg.im", "Plat2Meg.img", "Plat4Meg.im", "Plat4Meg.img"})
            machine().files().DeleteFile((kSystem + name).c_str());
    }
};

TEST_F(DialogSourcesTest, SampleSetButtonsFollowTheFiles) {
    struct Row {
        std::vector<const char*> files;
        bool twoMb;
        bool fourMb;
    };
    const Row rows[] = {
        {{"Plat2Meg.im", "Plat4Meg.im"}, true, true},
        {{}, false, false},
        {{"Plat2Meg.img"}, true, false},
        // Only the name that ends in "g": the set is there, switched on.
        {{"Plat4Meg.img"}, false, true},
        {{"Plat4Meg.im"}, false, true},
        // Other names of the family do not count.
        {{"Plat4Meg.i", "Plat4Meg.imgx", "Plat3Meg.im"}, false, false},
    };
    for (const Row& row : rows) {
        removeSampleSets();
        std::string names;
        for (const char* name : row.files) {
            writeFile(kSystem + name, "samples");
            names += std::string(name) + " ";
        }
        const props::SampleSetButtons buttons = props::availableSampleSetButtons();
        EXPECT_EQ(buttons.twoMb, row.twoMb) << names;
        EXPECT_EQ(buttons.fourMb, row.fourMb) << names;
    }

    // A set that another program holds without sharing cannot be opened: its button is off,
    // and it comes back once the file is closed. Files are named without regard to case.
    removeSampleSets();
    writeFile(kSystem + "plat4meg.IMG", "samples");
    {
        platform::ScopedFile held;
        ASSERT_EQ(
            machine().files().CreateFile((kSystem + "Plat4Meg.img").c_str(), GENERIC_READ, 0,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, held.receive()),
            ERROR_SUCCESS);
        EXPECT_FALSE(props::availableSampleSetButtons().fourMb);
    }
    EXPECT_TRUE(props::availableSampleSetButtons().fourMb);
}

TEST_F(DialogSourcesTest, VersionLineComesFromTheInstalledProgram) {
    const std::string path = kSystem + "tunaractl.exe";
    // Not installed.
    machine().files().DeleteFile(path.c_str());
    EXPECT_EQ(props::installedProductVersion(), "");

    // Not a program: no version block.
    writeFile(path, "MZ not really a program");
    EXPECT_EQ(props::installedProductVersion(), "");

    // The first language of the translation list picks the text, not the first table.
    std::ifstream in(kVersionExe, std::ios::binary);
    ASSERT_TRUE(in.good()) << kVersionExe;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    writeFile(path, bytes);
    EXPECT_EQ(props::installedProductVersion(), "4.05 (Deutsch)");
}

}  // namespace
}  // namespace tunara_test
