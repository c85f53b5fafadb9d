// Helpers of the native DOS support and wavetable tests: files of the simulated disk read and
// written whole, and the English language module with the texts these operations show.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host/host_ui.h"
#include "platform/system.h"
#include "tests/support/machine_test.h"

namespace tunara_test {

// The language module's strings and the prompt dialog's controls, numbered as the module
// numbers them (written out, so that a wrong id in the product fails).
namespace dos_ids {
constexpr std::uint32_t kProductTitle = 6;
constexpr std::uint32_t kRemoveCaption = 15;
constexpr std::uint32_t kInstallCaption = 16;
constexpr std::uint32_t kMidiBusy = 18;
constexpr std::uint32_t kRemovePrompt = 2507;
constexpr std::uint32_t kSummaryFile = 2624;
constexpr std::uint32_t kSummaryBackup = 2625;
constexpr std::uint32_t kSummaryEnd = 2626;
constexpr std::uint32_t kPromptDialog = 185;
constexpr std::uint32_t kOk = 1;
constexpr std::uint32_t kCancel = 2;
constexpr std::uint32_t kRemove = 1014;  // button C
constexpr std::uint32_t kMessage = 1069;
constexpr std::uint32_t kAdd = 1074;        // button A
constexpr std::uint32_t kLineFiles = 1075;  // button B
constexpr std::uint32_t kLineFile0 = 1076;
constexpr std::uint32_t kLineFile1 = 1077;
constexpr std::uint32_t kLineFile2 = 1078;
constexpr std::uint32_t kFile0 = 1080;
constexpr std::uint32_t kFile1 = 1081;
constexpr std::uint32_t kFile2 = 1082;
}  // namespace dos_ids

class DosFileTest : public MachineTest {
  protected:
    void TearDown() override;

    std::string fact(const char* key) { return machine().descriptionFact("facts", key); }
    platform::host::HostUserInterface& ui() { return machine().ui(); }

    // The whole file, or "<missing>" when it cannot be read.
    std::string readFile(const std::string& path);
    void writeFile(const std::string& path, const std::string& content);
    bool exists(const std::string& path);
    void setAttributes(const std::string& path, std::uint32_t attributes);

    // Loads a module registered as cnctlen_.dll with the English texts of the strings the
    // settings core shows (6, 15, 16, 18, 2507, 2624-2626) and dialog 185; `midiBusyText`
    // replaces string 18. Freed at TearDown.
    platform::HModule loadEnglishModule(const std::string& midiBusyText = std::string());

    // A file of `size` bytes: short CRLF lines of printable text.
    static std::string textOfSize(std::size_t size);

    // The English texts.
    static const char* const kRemoveCaption;
    static const char* const kInstallCaption;
    static const char* const kRemovePrompt;
    static const char* const kSummaryFile;
    static const char* const kSummaryBackup;
    static const char* const kSummaryEnd;
    static const char* const kMidiBusy;

  private:
    platform::HModule module_ = 0;
};

}  // namespace tunara_test
