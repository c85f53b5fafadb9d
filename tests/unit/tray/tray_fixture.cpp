#include "tests/unit/tray/tray_fixture.h"

#include "platform/file_handle.h"
#include "platform/files.h"
#include "platform/host/host_files.h"
#include "platform/registry_key.h"
#include "tray/tray_controller.h"

namespace tunara_test {

platform::HWnd RecordingTrayShell::createTrayWindow(tray::TrayController& controller) {
    calls.push_back("createTrayWindow");
    this->controller = &controller;
    window = ui_.addWindow(tray_names::kTrayWindowClass, "",
                           [&controller](std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam) -> std::intptr_t {
                               controller.handleMessage(message, wParam, lParam);
                               return 0;
                           });
    return window;
}

void RecordingTrayShell::addIcon(platform::HModule, const std::string& iconTip) {
    calls.push_back("addIcon");
    tip = iconTip;
}

void RecordingTrayShell::runMessageLoop(std::uint32_t) {
    calls.push_back("runMessageLoop");
    if (duringLoop) duringLoop(window);
}

void RecordingTrayShell::destroyTrayWindow() {
    calls.push_back("destroyTrayWindow");
    ui_.removeWindow(window);
}

void TrayTest::TearDown() {
    shell.reset();
    card_.reset();
    MachineTest::TearDown();
}

void TrayTest::useMachine(const std::string& name) {
    loadMachine(name);
    card_ = std::make_unique<settings::tunaraSettings>();
    shell = std::make_unique<RecordingTrayShell>(machine().ui());
}

void TrayTest::remakeCard() {
    card_.reset();
    card_ = std::make_unique<settings::tunaraSettings>();
}

platform::HWnd TrayTest::openPropertiesWindow(const std::string& title) {
    return machine().ui().addWindow("#32770", title);
}

std::vector<std::string> TrayTest::messagesTo(platform::HWnd window) {
    std::vector<std::string> result;
    for (const platform::host::WindowMessage& m : machine().ui().messages()) {
        if (m.window != window) continue;
        result.push_back(machine().ui().registeredMessageName(m.message) + "=" +
                         std::to_string(m.wParam));
    }
    return result;
}

bool TrayTest::waveKeyExists() {
    platform::RegKey key;
    const std::string name = machine().descriptionFact("facts", "wavekey");
    return !name.empty() && key.Open(HKEY_LOCAL_MACHINE, name.c_str(), KEY_READ) == ERROR_SUCCESS;
}

void TrayTest::installLanguageModule(const std::string& title) {
    writeFile("C:\\WINDOWS\\SYSTEM\\cnctlen_.dll", "MZ");
    platform::host::ModuleImage image;
    image.strings[3] = "Restart Windows now?";
    image.strings[6] = title;
    image.menus.insert(190);
    image.icons.insert(188);
    machine().system().registerModule("cnctlen_.dll", image);
}

int TrayTest::run(const char* commandLine) {
    return tray::runTrayProgram(*card_, commandLine, *shell);
}

void TrayTest::writeFile(const std::string& path, const std::string& content) {
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
}

bool TrayTest::exists(const std::string& path) {
    std::uint32_t attributes = 0;
    return machine().files().GetFileAttributes(path.c_str(), &attributes) == ERROR_SUCCESS &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool TrayTest::folderExists(const std::string& path) {
    std::uint32_t attributes = 0;
    return machine().files().GetFileAttributes(path.c_str(), &attributes) == ERROR_SUCCESS &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void TrayTest::setRunValue(const char* key, const char* name, const std::string& value) {
    platform::RegKey run;
    ASSERT_EQ(run.Create(HKEY_LOCAL_MACHINE, key, KEY_ALL_ACCESS), ERROR_SUCCESS);
    ASSERT_EQ(run.writeString(name, value), ERROR_SUCCESS);
}

bool TrayTest::hasRunValue(const char* key, const char* name) {
    platform::RegKey run;
    return run.Open(HKEY_LOCAL_MACHINE, key, KEY_READ) == ERROR_SUCCESS && run.hasValue(name);
}

std::string TrayTest::runValue(const char* key, const char* name) {
    platform::RegKey run;
    std::string value;
    if (run.Open(HKEY_LOCAL_MACHINE, key, KEY_READ) != ERROR_SUCCESS ||
        run.readString(name, &value) != ERROR_SUCCESS)
        return "<absent>";
    return value;
}

std::vector<std::string> TrayTest::started() {
    std::vector<std::string> result;
    for (const platform::host::ProcessStart& start : machine().system().processStarts())
        result.push_back(start.commandLine.empty() ? start.applicationName : start.commandLine);
    return result;
}

}  // namespace tunara_test
