// The user-level operation of native DOS support: the prompt (dialog 185 of the language
// module) in installation or removal mode, the edits it asks for, and the summary that tells
// the user which files changed and where their previous versions are.
#include <string>

#include "platform/machine.h"
#include "platform/ui.h"
#include "settings/native_dos.h"
#include "settings/setting_values.h"
#include "settings/tunara_settings.h"

namespace settings {
namespace {

// What the prompt shows and what the user chose.
struct DosPrompt {
    bool removal = false;
    platform::HModule module = 0;
    platform::HWnd owner = 0;
    std::string path[kDosStartupFileCount];      // the start-up files found (empty if not)
    std::string backup[kDosStartupFileCount];    // their kind-0 names
    std::string lineFile[kDosStartupFileCount];  // their kind-1 names (installation mode)
    bool editRequested = false;
    bool lineFilesRequested = false;
};

constexpr std::uint32_t kFileControls[kDosStartupFileCount] = {
    IDC_DOSPROMPT_FILE0, IDC_DOSPROMPT_FILE1, IDC_DOSPROMPT_FILE2};
constexpr std::uint32_t kLineFileControls[kDosStartupFileCount] = {
    IDC_DOSPROMPT_LINE_FILE0, IDC_DOSPROMPT_LINE_FILE1, IDC_DOSPROMPT_LINE_FILE2};

std::string loadText(platform::HModule module, std::uint32_t id) {
    char text[kTextBufferSize] = {};
    const int length = platform::machine().ui->LoadString(module, id, text, sizeof text);
    return length > 0 ? std::string(text) : std::string();
}

platform::DialogControlSetup textControl(std::uint32_t id, const std::string& text) {
    platform::DialogControlSetup setup;
    setup.id = id;
    setup.setText = true;
    setup.text = text;
    return setup;
}

platform::DialogControlSetup checkControl(std::uint32_t id, bool checked) {
    platform::DialogControlSetup setup;
    setup.id = id;
    setup.setCheck = true;
    setup.check = checked ? BST_CHECKED : BST_UNCHECKED;
    return setup;
}

platform::DialogControlSetup hiddenControl(std::uint32_t id) {
    platform::DialogControlSetup setup;
    setup.id = id;
    setup.hide = true;
    return setup;
}

platform::DialogControlSetup movedControl(std::uint32_t id, int dy) {
    platform::DialogControlSetup setup;
    setup.id = id;
    setup.moveY = dy;
    return setup;
}

bool isChecked(const platform::DialogResult& result, std::uint32_t id) {
    const platform::DialogControlState* state = result.control(id);
    return state != nullptr && state->check == BST_CHECKED;
}

// Shows the prompt and fills in the user's choice. False when the user cancelled or the
// dialog could not be shown (a module without template 185): nothing is to be done then.
bool runDosPrompt(DosPrompt* prompt) {
    platform::DialogRequest request;
    for (std::size_t i = 0; i < kDosStartupFileCount; ++i)
        request.controls.push_back(textControl(kFileControls[i], prompt->path[i]));

    if (!prompt->removal) {
        for (std::size_t i = 0; i < kDosStartupFileCount; ++i)
            request.controls.push_back(textControl(kLineFileControls[i], prompt->lineFile[i]));
        request.controls.push_back(hiddenControl(IDC_DOSPROMPT_REMOVE));
        request.controls.push_back(checkControl(IDC_DOSPROMPT_ADD, true));
        platform::DialogControlSetup lineFiles;  // reported, left as the template has it
        lineFiles.id = IDC_DOSPROMPT_LINE_FILES;
        request.controls.push_back(lineFiles);
    } else {
        // The same dialog with the rows of the installation hidden: the message says what is
        // installed, C (remove) is offered checked, and the window shrinks to what is left.
        request.controls.push_back(
            textControl(IDC_DOSPROMPT_MESSAGE, loadText(prompt->module, IDS_DOS_REMOVE_PROMPT)));
        for (const std::uint32_t id : kLineFileControls)
            request.controls.push_back(hiddenControl(id));
        platform::DialogControlSetup add = hiddenControl(IDC_DOSPROMPT_ADD);
        add.setCheck = true;  // not offered here: hidden, and left checked
        add.check = BST_CHECKED;
        request.controls.push_back(add);
        platform::DialogControlSetup keep = hiddenControl(IDC_DOSPROMPT_LINE_FILES);
        keep.setText = true;
        keep.text = kDosPromptKeepText;
        request.controls.push_back(keep);
        request.controls.push_back(checkControl(IDC_DOSPROMPT_REMOVE, true));
        request.controls.push_back(movedControl(IDC_DOSPROMPT_OK, -kDosPromptRemovalButtonShift));
        request.controls.push_back(
            movedControl(IDC_DOSPROMPT_CANCEL, -kDosPromptRemovalButtonShift));
        request.setCaption = true;
        request.caption = loadText(prompt->module, IDS_DOS_REMOVE_CAPTION);
        request.trimTop = kDosPromptRemovalTrim;
        request.trimBottom = kDosPromptRemovalTrim;
        request.center = true;
    }

    platform::DialogResult result;
    const std::intptr_t end = platform::machine().ui->DialogBoxParam(
        prompt->module, IDD_DOSPROMPT, prompt->owner, request, &result);
    if (end != IDOK) return false;
    if (prompt->removal) {
        prompt->editRequested = isChecked(result, IDC_DOSPROMPT_REMOVE);
    } else {
        prompt->editRequested =
            isChecked(result, IDC_DOSPROMPT_ADD) || isChecked(result, IDC_DOSPROMPT_REMOVE);
        prompt->lineFilesRequested = isChecked(result, IDC_DOSPROMPT_LINE_FILES);
    }
    return true;
}

// "Updated <file> - the previous version is saved as <backup> in case you need it.", one
// line per start-up file, under the given caption.
void showDosSummary(const DosPrompt& prompt, std::uint32_t captionId) {
    const std::string file = loadText(prompt.module, IDS_DOS_SUMMARY_FILE);
    const std::string saved = loadText(prompt.module, IDS_DOS_SUMMARY_BACKUP);
    const std::string end = loadText(prompt.module, IDS_DOS_SUMMARY_END);
    std::string text;
    for (std::size_t i = 0; i < kDosStartupFileCount; ++i) {
        if (i != 0) text += "\n";
        text += file + prompt.path[i] + " " + saved + prompt.backup[i] + " " + end;
    }
    const std::string caption = loadText(prompt.module, captionId);
    platform::machine().ui->MessageBox(0, text.c_str(), caption.c_str(), MB_ICONINFORMATION);
}

}  // namespace

bool tunaraSettings::editNativeDosSupport(bool install, bool silent) {
    DosPrompt prompt;
    prompt.module = resourceModule;
    prompt.owner = ownerWindow;
    for (std::size_t i = 0; i < kDosStartupFileCount; ++i) {
        if (!findDosFile(kDosStartupFiles[i].name, &prompt.path[i],
                         kDosStartupFiles[i].windowsFolderFirst))
            prompt.path[i].clear();
        prompt.backup[i] = backupName(prompt.path[i], kBackupKindCopy);
        prompt.lineFile[i] = backupName(prompt.path[i], kBackupKindLineFile);
    }

    const bool installed = dosStartHasDriver();
    if (install && !installed) {
        if (!runDosPrompt(&prompt)) return false;
        if (prompt.lineFilesRequested) writeDosLineFiles();
        if (!prompt.editRequested) return false;
        addNativeDosLines();
        showDosSummary(prompt, IDS_DOS_INSTALL_CAPTION);
        return true;
    }
    if (!install && installed) {
        if (silent) {
            removeNativeDosLines();
            return false;
        }
        prompt.removal = true;
        if (!runDosPrompt(&prompt) || !prompt.editRequested) return false;
        removeNativeDosLines();
        showDosSummary(prompt, IDS_DOS_REMOVE_CAPTION);
        return false;
    }
    // Already as asked: nothing to do.
    return false;
}

}  // namespace settings
