// Helpers of the native DOS support and wavetable tests: files of the simulated disk read and
// written whole, and the English language module with the texts these operations show.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host/host_ui.h"
#include "platform/system.h"
#include "tests/support/machine_test.h"

namespace tunara_test {

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
