// loadLanguageModule on the simulated machine: which module files are tried, in which
// order, which one is kept, and that nothing stays loaded behind a refused attempt.
#include "settings/language_module.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/host/host_system.h"
#include "platform/host/simulated_machine.h"
#include "platform/machine.h"

namespace {

using platform::HModule;
using platform::Lcid;

constexpr Lcid kEnglishUs = 0x0409;
constexpr Lcid kGerman = 0x0407;
constexpr Lcid kFrench = 0x040C;
constexpr Lcid kItalian = 0x0410;
constexpr Lcid kAfrikaans = 0x0436;  // not a locale this Windows 98 knows

// The simulated system, recording every LoadLibrary name and able to hand out chosen
// handle values for chosen names (to reach the corners of the signed failure test).
class RecordingSystem : public platform::host::HostSystem {
  public:
    HModule LoadLibrary(const char* fileName) override {
        attempts.push_back(fileName);
        const auto forced = forcedHandles.find(fileName);
        if (forced != forcedHandles.end()) return forced->second;
        return HostSystem::LoadLibrary(fileName);
    }

    bool FreeLibrary(HModule module) override {
        for (const auto& forced : forcedHandles)
            if (forced.second == module) {
                forcedFrees.push_back(module);
                return true;
            }
        return HostSystem::FreeLibrary(module);
    }

    std::vector<std::string> attempts;
    std::map<std::string, HModule> forcedHandles;
    std::vector<HModule> forcedFrees;
};

class LanguageModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::Machine backends = machine_.backends();
        backends.system = &system_;
        previous_ = platform::installMachine(backends);
        system_.setProgramPath("C:\\WINDOWS\\SYSTEM\\tunaractl.exe");
        platform::FileSystem& files = *platform::machine().files;
        ASSERT_EQ(files.CreateDirectory("C:\\WINDOWS"), ERROR_SUCCESS);
        ASSERT_EQ(files.CreateDirectory("C:\\WINDOWS\\SYSTEM"), ERROR_SUCCESS);
    }

    void TearDown() override {
        EXPECT_EQ(system_.loadedModuleCount(), 0u) << "a module was left loaded";
        platform::installMachine(previous_);
    }

    // A language module next to the program: the file and its image.
    void install(const std::string& name, const std::string& title) {
        platform::FileSystem& files = *platform::machine().files;
        platform::FileHandle file = 0;
        const std::string path = "C:\\WINDOWS\\SYSTEM\\" + name;
        ASSERT_EQ(files.CreateFile(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, &file),
                  ERROR_SUCCESS);
        ASSERT_EQ(files.CloseHandle(file), ERROR_SUCCESS);
        platform::host::ModuleImage image;
        image.strings[6] = title;
        system_.registerModule(name, image);
    }

    // The product title of a loaded module, or "(none)".
    std::string titleOf(HModule module) {
        const platform::host::ModuleImage* image = system_.moduleImage(module);
        return image == nullptr ? "(none)" : image->strings.at(6);
    }

    void release(HModule module) {
        if (module != 0) {
            EXPECT_TRUE(system_.FreeLibrary(module));
        }
    }

    platform::host::SimulatedMachine machine_;
    RecordingSystem system_;
    platform::Machine previous_;
};

struct ChoiceCase {
    const char* what;
    Lcid threadLocale;
    Lcid requested;  // 0: the thread's language
    std::vector<std::string> installed;
    const char* expectedTitle;  // "(none)" when nothing loads
    std::vector<std::string> expectedAttempts;
};

// Each installed module carries its own file name as its title, so the title tells which
// file was loaded.
// clang-format off
const ChoiceCase kChoices[] = {
    {"French user with only the regionless module", kFrench, 0,
     {"cnctlFR_.dll", "cnctlen_.dll"}, "cnctlFR_.dll",
     {"cnctlFRA.dll", "cnctlFR_.dll"}},
    {"module of the exact language wins", kGerman, 0,
     {"cnctlDEU.dll", "cnctlDE_.dll", "cnctlen_.dll"}, "cnctlDEU.dll",
     {"cnctlDEU.dll"}},
    {"no module of the language: English", kItalian, 0,
     {"cnctlDE_.dll", "cnctlen_.dll"}, "cnctlen_.dll",
     {"cnctlITA.dll", "cnctlIT_.dll", "cnctlen_.dll"}},
    {"US English finds en_ as EN_ (names ignore case)", kEnglishUs, 0,
     {"cnctlen_.dll"}, "cnctlen_.dll",
     {"cnctlENU.dll", "cnctlEN_.dll"}},
    {"no module at all", kEnglishUs, 0,
     {}, "(none)",
     {"cnctlENU.dll", "cnctlEN_.dll", "cnctlen_.dll"}},
    {"explicit locale with its module", kEnglishUs, kGerman,
     {"cnctlDEU.dll", "cnctlen_.dll"}, "cnctlDEU.dll",
     {"cnctlDEU.dll"}},
    {"explicit locale without its module: no fallback", kEnglishUs, kFrench,
     {"cnctlFR_.dll", "cnctlen_.dll"}, "(none)",
     {"cnctlFRA.dll"}},
    {"explicit locale the system does not know", kEnglishUs, kAfrikaans,
     {"cnctlen_.dll"}, "(none)",
     {}},
};
// clang-format on

TEST_F(LanguageModuleTest, ChoosesTheModuleByLanguageThenRegionlessThenEnglish) {
    for (const ChoiceCase& c : kChoices) {
        SCOPED_TRACE(c.what);
        system_.attempts.clear();
        for (const std::string& name : c.installed) install(name, name);
        ASSERT_TRUE(system_.setUserDefaultLCID(c.threadLocale));

        const HModule module = settings::loadLanguageModule("cnctl", c.requested);

        EXPECT_EQ(titleOf(module), c.expectedTitle);
        EXPECT_EQ(system_.attempts, c.expectedAttempts);
        EXPECT_EQ(system_.loadedModuleCount(), module != 0 ? 1u : 0u);
        release(module);
        for (const std::string& name : c.installed) {
            EXPECT_EQ(
                platform::machine().files->DeleteFile(("C:\\WINDOWS\\SYSTEM\\" + name).c_str()),
                ERROR_SUCCESS);
            system_.unregisterModule(name);
        }
    }
}

TEST_F(LanguageModuleTest, UsesTheThreadLocaleNotTheUserDefault) {
    install("cnctlDE_.dll", "Tunara Eigenschaften");
    install("cnctlFR_.dll", "Propri\xE9t\xE9s Tunara");
    ASSERT_TRUE(system_.setUserDefaultLCID(kGerman));
    ASSERT_TRUE(system_.SetThreadLocale(kFrench));

    const HModule module = settings::loadLanguageModule("cnctl", 0);
    EXPECT_EQ(titleOf(module), "Propri\xE9t\xE9s Tunara");
    release(module);
}

TEST_F(LanguageModuleTest, AnExplicitLocaleBecomesTheThreadLocale) {
    install("cnctlFRA.dll", "Propri\xE9t\xE9s Tunara");
    ASSERT_TRUE(system_.setUserDefaultLCID(kEnglishUs));

    const HModule module = settings::loadLanguageModule("cnctl", kFrench);
    EXPECT_NE(module, 0u);
    EXPECT_EQ(system_.GetThreadLocale(), kFrench);
    release(module);

    // Even a failed load leaves the requested locale in force.
    system_.attempts.clear();
    EXPECT_EQ(settings::loadLanguageModule("cnctl", kGerman), 0u);
    EXPECT_EQ(system_.GetThreadLocale(), kGerman);
}

TEST_F(LanguageModuleTest, AFileThatIsNoModuleFallsBackToEnglish) {
    install("cnctlen_.dll", "Tunara Properties");
    // A file named like the French module but without a loadable image.
    platform::FileHandle file = 0;
    ASSERT_EQ(
        platform::machine().files->CreateFile("C:\\WINDOWS\\SYSTEM\\cnctlFR_.dll", GENERIC_WRITE, 0,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, &file),
        ERROR_SUCCESS);
    ASSERT_EQ(platform::machine().files->CloseHandle(file), ERROR_SUCCESS);
    ASSERT_TRUE(system_.setUserDefaultLCID(kFrench));

    const HModule module = settings::loadLanguageModule("cnctl", 0);
    EXPECT_EQ(titleOf(module), "Tunara Properties");
    release(module);
}

// Handles as the loader could hand them out, read the 16-bit way: a signed number, errors
// below 32. A refused handle moves on to the next name; a refused real module (negative)
// is freed again.
struct HandleCase {
    HModule handle;
    bool accepted;
    bool freed;
};

// clang-format off
const HandleCase kHandles[] = {
    // handle       accepted  freed
    {0x00000000u,   false,    false},
    {0x00000005u,   false,    false},  // ERROR_ACCESS_DENIED in the 16-bit convention
    {0x0000001Fu,   false,    false},
    {0x00000020u,   true,     false},
    {0x7FFF0000u,   true,     false},
    {0x80000000u,   false,    true},   // read as the most negative number
    {0xBFF70000u,   false,    true},   // the Windows 9x shared arena
    {0xFFFFFFFFu,   false,    true},
};
// clang-format on

TEST_F(LanguageModuleTest, SignedBelow32CountsAsFailure) {
    install("cnctlen_.dll", "Tunara Properties");
    ASSERT_TRUE(system_.setUserDefaultLCID(kFrench));
    for (const HandleCase& c : kHandles) {
        SCOPED_TRACE(::testing::Message() << std::hex << "handle 0x" << c.handle);
        system_.attempts.clear();
        system_.forcedFrees.clear();
        system_.forcedHandles = {{"cnctlFRA.dll", c.handle}};

        const HModule module = settings::loadLanguageModule("cnctl", 0);

        if (c.accepted) {
            EXPECT_EQ(module, c.handle);
            EXPECT_EQ(system_.attempts, std::vector<std::string>{"cnctlFRA.dll"});
        } else {
            EXPECT_EQ(titleOf(module), "Tunara Properties");
            EXPECT_EQ(system_.attempts,
                      (std::vector<std::string>{"cnctlFRA.dll", "cnctlFR_.dll", "cnctlen_.dll"}));
            release(module);
        }
        EXPECT_EQ(system_.forcedFrees,
                  c.freed ? std::vector<HModule>{c.handle} : std::vector<HModule>{});
    }
}

TEST_F(LanguageModuleTest, AnExplicitLocaleRefusesANegativeHandleWithoutFallback) {
    install("cnctlen_.dll", "Tunara Properties");
    system_.forcedHandles = {{"cnctlDEU.dll", 0x90000000u}};

    EXPECT_EQ(settings::loadLanguageModule("cnctl", kGerman), 0u);
    EXPECT_EQ(system_.attempts, std::vector<std::string>{"cnctlDEU.dll"});
    EXPECT_EQ(system_.forcedFrees, std::vector<HModule>{0x90000000u});
}

}  // namespace
