// UninstUnInitialize's first step: the "DefaultInstall" section of the uninstall INF,
// carried out in reverse through six walks of the INF engine.
#include <string>

#include "instsupport/engine_exports.h"
#include "instsupport/file_rewrite.h"
#include "instsupport/restart_schedule.h"
#include "instsupport/text_buffer.h"
#include "instsupport/uninstall.h"
#include "instsupport/uninstall_support.h"
#include "instsupport/uninstall_text.h"
#include "platform/codepage_1252.h"
#include "platform/files.h"
#include "platform/machine.h"
#include "platform/registry_key.h"

namespace instsupport {
namespace {

constexpr char kSection[] = "DefaultInstall";
// An engine that never reports the end of a section is stopped after this many entries.
constexpr int kMaxEntries = 100000;

struct Engine {
    EnumDelFilesProc delFiles = nullptr;
    EnumDelRegProc delReg = nullptr;
    EnumUpdateCfgSysProc cfgSys = nullptr;
    EnumUpdateAutoBatProc autoBat = nullptr;
    EnumUpdateInisProc inis = nullptr;
    EnumUpdateIniFieldsProc iniFields = nullptr;
    AddAdministratorAceToAclProc addAce = nullptr;
};

// Calls `next(section)` with the section name first and null after, until it reports the end.
template <typename Next>
void walk(Next next) {
    for (int i = 0; i < kMaxEntries; ++i)
        if (!next(i == 0 ? kSection : nullptr)) return;
}

void deleteFiles(const Engine& engine) {
    platform::FileSystem& files = *platform::machine().files;
    walk([&](const char* section) {
        char path[kTextBufferSize] = {};
        if (engine.delFiles(section, path) != 0) return false;
        const std::string file(bufferText(path));
        if (!file.empty() && files.DeleteFile(file.c_str()) != ERROR_SUCCESS &&
            isExistingFile(file))
            scheduleAtRestart(file.c_str(), nullptr);
        return true;
    });
}

void deleteRegistry(const Engine& engine) {
    walk([&](const char* section) {
        char root[kTextBufferSize] = {};
        char subKey[kTextBufferSize] = {};
        char valueName[kTextBufferSize] = {};
        char data[kTextBufferSize] = {};
        int flags = 0;
        if (engine.delReg(section, root, subKey, valueName, data, &flags) != 0) return false;
        const std::string rootName(bufferText(root));
        const std::string key(bufferText(subKey));
        const std::string value(bufferText(valueName));
        platform::HKey rootKey = rootFromName(rootName);
        if (rootKey == 0 || key.empty()) return true;
        // The access step exists for the local machine's keys only (NT keeps them locked).
        if (rootName == "HKLM" && engine.addAce) engine.addAce(("MACHINE\\" + key).c_str());
        if (value.empty()) {
            platform::RegKey parent(rootKey);
            (void)parent.deleteSubKey(key.c_str());
        } else {
            platform::RegKey opened;
            if (opened.Open(rootKey, key.c_str(), KEY_ALL_ACCESS) == ERROR_SUCCESS)
                (void)opened.deleteValue(value.c_str());
        }
        return true;
    });
}

void updateStartupFile(const char* path, const char* tempPath, const char* kind,
                       const std::string& entryKind, const std::string& text) {
    if (!platform::equalAnsiNoCase(entryKind, kind) || text.empty()) return;
    rewriteTextFile(path, tempPath, [&](const std::string& contents, bool* changed) {
        return removeLinesContaining(contents, text, changed);
    });
}

void updateConfigSys(const Engine& engine) {
    walk([&](const char* section) {
        char kind[kTextBufferSize] = {};
        char device[kTextBufferSize] = {};
        char unused2[kTextBufferSize] = {};
        char unused3[kTextBufferSize] = {};
        char unused4[kTextBufferSize] = {};
        if (engine.cfgSys(section, kind, device, unused2, unused3, unused4) != 0) return false;
        updateStartupFile("c:\\config.sys", "c:\\config.tmp", "DevDelete",
                          std::string(bufferText(kind)), std::string(bufferText(device)));
        return true;
    });
}

void updateAutoexecBat(const Engine& engine) {
    walk([&](const char* section) {
        char kind[kTextBufferSize] = {};
        char command[kTextBufferSize] = {};
        if (engine.autoBat(section, kind, command) != 0) return false;
        updateStartupFile("c:\\autoexec.bat", "c:\\autoexec.tmp", "CmdDelete",
                          std::string(bufferText(kind)), std::string(bufferText(command)));
        return true;
    });
}

// The INI file's temporary name: its last three characters replaced by "tmp".
std::string iniTempPath(const std::string& iniPath) {
    if (iniPath.size() < 3) return std::string();
    return iniPath.substr(0, iniPath.size() - 3) + "tmp";
}

void updateInis(const Engine& engine) {
    walk([&](const char* section) {
        char iniFile[kTextBufferSize] = {};
        char iniSection[kTextBufferSize] = {};
        char oldEntry[kTextBufferSize] = {};
        char newEntry[kTextBufferSize] = {};
        int flags = 0;
        if (engine.inis(section, iniFile, iniSection, oldEntry, newEntry, &flags) != 0)
            return false;
        const std::string path(bufferText(iniFile));
        const std::string entry(bufferText(oldEntry));
        if (!entry.empty() && !path.empty())
            rewriteTextFile(path, iniTempPath(path), [&](const std::string& text, bool* changed) {
                return removeLinesStartingWith(text, entry, changed);
            });
        return true;
    });
}

void updateIniFields(const Engine& engine) {
    walk([&](const char* section) {
        char iniFile[kTextBufferSize] = {};
        char iniSection[kTextBufferSize] = {};
        char profileEntry[kTextBufferSize] = {};
        char oldField[kTextBufferSize] = {};
        char newField[kTextBufferSize] = {};
        int flags = 0;
        if (engine.iniFields(section, iniFile, iniSection, profileEntry, oldField, newField,
                             &flags) != 0)
            return false;
        const std::string path(bufferText(iniFile));
        const std::string field(bufferText(oldField));
        if (!field.empty() && !path.empty())
            rewriteTextFile(path, iniTempPath(path), [&](const std::string& text, bool* changed) {
                return removeIniField(text, field, changed);
            });
        return true;
    });
}

}  // namespace

void processUninstallInf(platform::HWnd owner) {
    platform::RegKey temporary;
    if (temporary.Open(HKEY_LOCAL_MACHINE, kTemporaryKey, KEY_READ) != ERROR_SUCCESS) return;
    const ErrorMessages messages =
        readErrorMessages(temporary.handle(), "InfErrorMsg", "Error %s\n%s", 2);
    std::string infPath;
    if (temporary.readString("UninstInfFile", &infPath, kTextBufferSize) != ERROR_SUCCESS) return;

    std::string code;
    if (!isExistingFile(infPath)) {
        code = errorCodeText(7);
    } else {
        StepLibrary engineLibrary(kEngineLibrary);
        StepLibrary securityLibrary(kSecurityLibrary);
        Engine engine;
        auto openInf = engineLibrary.find<OpenInfFileProc>("OpenInfFile");
        auto closeInf = engineLibrary.find<CloseInfFileProc>("CloseInfFile");
        engine.delFiles = engineLibrary.find<EnumDelFilesProc>("EnumDelFiles");
        engine.delReg = engineLibrary.find<EnumDelRegProc>("EnumDelReg");
        engine.cfgSys = engineLibrary.find<EnumUpdateCfgSysProc>("EnumUpdateCfgSys");
        engine.autoBat = engineLibrary.find<EnumUpdateAutoBatProc>("EnumUpdateAutoBat");
        engine.inis = engineLibrary.find<EnumUpdateInisProc>("EnumUpdateInis");
        engine.iniFields = engineLibrary.find<EnumUpdateIniFieldsProc>("EnumUpdateIniFields");
        engine.addAce =
            securityLibrary.find<AddAdministratorAceToAclProc>("AddAdministratorAceToAcl");
        if (!engineLibrary.loaded()) {
            code = errorCodeText(1, static_cast<long>(engineLibrary.error()));
        } else if (!openInf || !closeInf || !engine.delFiles || !engine.delReg || !engine.cfgSys ||
                   !engine.autoBat || !engine.inis || !engine.iniFields) {
            code = errorCodeText(2);
        } else if (openInf(infPath.c_str()) != 0) {
            code = errorCodeText(5);
        } else {
            deleteFiles(engine);
            deleteRegistry(engine);
            updateConfigSys(engine);
            updateAutoexecBat(engine);
            updateInis(engine);
            updateIniFields(engine);
            closeInf();
        }
    }
    if (!code.empty()) showError(owner, messages, applyFormat(messages.format, code, infPath));
}

}  // namespace instsupport
