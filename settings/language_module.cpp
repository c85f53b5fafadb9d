#include "settings/language_module.h"

#include <cstdint>

#include "platform/machine.h"

namespace settings {
namespace {

// LOCALE_SABBREVLANGNAME fits four bytes: three letters and the terminating zero.
constexpr int kLanguageCodeSize = 4;

// The handle as the 16-bit convention reads it: a signed number, errors below 32.
std::int32_t signedHandle(platform::HModule module) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(module));
}

// The abbreviated language name of a locale, or empty when the system does not know it.
std::string languageCode(platform::System& system, platform::Lcid locale) {
    char code[kLanguageCodeSize] = {};
    if (system.GetLocaleInfo(locale, LOCALE_SABBREVLANGNAME, code, sizeof code) == 0)
        return std::string();
    code[kLanguageCodeSize - 1] = '\0';
    return code;
}

platform::HModule tryLoad(platform::System& system, const std::string& prefix,
                          const std::string& code) {
    const platform::HModule module =
        system.LoadLibrary(languageModuleFileName(prefix, code).c_str());
    if (signedHandle(module) >= 32) return module;
    // A module loaded above 2 GB reads as negative: it is refused like a failure, but it
    // is loaded, so it must not stay behind.
    if (signedHandle(module) < 0) system.FreeLibrary(module);
    return 0;
}

}  // namespace

std::string languageModuleFileName(const std::string& prefix, const std::string& code) {
    return prefix + code + ".dll";
}

platform::HModule loadLanguageModule(const char* prefix, platform::Lcid locale) {
    platform::System& system = *platform::machine().system;
    const std::string base = prefix != nullptr ? prefix : "";

    if (locale != 0) {
        system.SetThreadLocale(locale);
        const std::string code = languageCode(system, locale);
        return code.empty() ? 0 : tryLoad(system, base, code);
    }

    const std::string code = languageCode(system, system.GetThreadLocale() & 0xFFFF);
    if (!code.empty()) {
        if (const platform::HModule module = tryLoad(system, base, code)) return module;
        if (code.size() >= 2) {
            const std::string regionless = code.substr(0, 2) + "_";
            if (const platform::HModule module = tryLoad(system, base, regionless)) return module;
        }
    }
    return tryLoad(system, base, "en_");
}

}  // namespace settings
