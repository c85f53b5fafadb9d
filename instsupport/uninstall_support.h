// Shared pieces of the uninstall steps: the Windows folder, the loaded engine libraries, the
// error box, and the registry roots by name.
#pragma once

#include <cstdint>
#include <string>

#include "platform/machine.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/ui.h"

namespace instsupport {

// The Windows folder without a trailing backslash; empty when it cannot be had.
std::string windowsFolder();

// True when `path` names an existing file (not a folder).
bool isExistingFile(const std::string& path);

// A library loaded from the Windows folder for one step, freed at the end of it.
class StepLibrary {
  public:
    explicit StepLibrary(const char* fileName);
    ~StepLibrary();
    StepLibrary(const StepLibrary&) = delete;
    StepLibrary& operator=(const StepLibrary&) = delete;
    bool loaded() const { return module_ != 0; }
    // The system error of a failed load.
    std::uint32_t error() const { return error_; }
    template <typename Proc>
    Proc find(const char* name) const {
        return module_ ? reinterpret_cast<Proc>(
                             platform::machine().system->GetProcAddress(module_, name))
                       : nullptr;
    }

  private:
    platform::HModule module_ = 0;
    std::uint32_t error_ = 0;
};

// The stored caption and message format of one step, with their defaults.
struct ErrorMessages {
    std::string caption = "Error";
    std::string format;
};
// Reads "ErrorTitle" and `formatName` from the temporary key (when open); the stored format
// is taken only when usableFormat accepts it with `arguments` conversions.
ErrorMessages readErrorMessages(platform::HKey temporaryKey, const char* formatName,
                                const char* defaultFormat, int arguments);

// The error box: OK, no icon.
void showError(platform::HWnd owner, const ErrorMessages& messages, const std::string& text);

// "HKLM" and the other short root names, without regard to case; 0 for any other.
platform::HKey rootFromName(const std::string& name);

}  // namespace instsupport
