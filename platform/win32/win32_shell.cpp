#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_machine.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <new>

namespace platform::win32 {
namespace {

// One link object: both interfaces, taken together and released together.
struct LinkObject {
    IShellLinkA* link;
    IPersistFile* file;
};

LinkObject* toObject(HShellLink link) {
    return reinterpret_cast<LinkObject*>(link);
}

// The file name as IPersistFile wants it: UTF-16 through the ANSI code page, at most 259
// characters. False when it does not convert or is too long.
bool toWide(const char* fileName, WCHAR (&wide)[MAX_PATH]) {
    return fileName != nullptr &&
           ::MultiByteToWideChar(CP_ACP, 0, fileName, -1, wide, MAX_PATH) != 0;
}

}  // namespace

HResult Win32Shell::CoInitialize() {
    return ::CoInitialize(nullptr);
}

void Win32Shell::CoUninitialize() {
    ::CoUninitialize();
}

HResult Win32Shell::CreateShellLink(HShellLink* link) {
    if (link == nullptr) return E_INVALIDARG;
    IShellLinkA* shellLink = nullptr;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkA, reinterpret_cast<void**>(&shellLink));
    if (FAILED(result)) return result;
    IPersistFile* file = nullptr;
    result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(result)) {
        shellLink->Release();
        return result;
    }
    LinkObject* object = new (std::nothrow) LinkObject{shellLink, file};
    if (object == nullptr) {
        file->Release();
        shellLink->Release();
        return E_OUTOFMEMORY;
    }
    *link = reinterpret_cast<HShellLink>(object);
    return S_OK;
}

HResult Win32Shell::SetPath(HShellLink link, const char* path) {
    if (link == 0) return E_INVALIDARG;
    return toObject(link)->link->SetPath(path);
}

HResult Win32Shell::SetArguments(HShellLink link, const char* arguments) {
    if (link == 0) return E_INVALIDARG;
    return toObject(link)->link->SetArguments(arguments != nullptr ? arguments : "");
}

HResult Win32Shell::SetWorkingDirectory(HShellLink link, const char* folder) {
    if (link == 0) return E_INVALIDARG;
    return toObject(link)->link->SetWorkingDirectory(folder != nullptr ? folder : "");
}

HResult Win32Shell::SetDescription(HShellLink link, const char* description) {
    if (link == 0) return E_INVALIDARG;
    return toObject(link)->link->SetDescription(description != nullptr ? description : "");
}

HResult Win32Shell::SetIconLocation(HShellLink link, const char* iconPath, int index) {
    if (link == 0) return E_INVALIDARG;
    return toObject(link)->link->SetIconLocation(iconPath != nullptr ? iconPath : "", index);
}

HResult Win32Shell::Save(HShellLink link, const char* fileName, bool remember) {
    WCHAR wide[MAX_PATH];
    if (link == 0 || !toWide(fileName, wide)) return E_INVALIDARG;
    return toObject(link)->file->Save(wide, remember ? TRUE : FALSE);
}

HResult Win32Shell::Load(HShellLink link, const char* fileName) {
    WCHAR wide[MAX_PATH];
    if (link == 0 || !toWide(fileName, wide)) return E_INVALIDARG;
    return toObject(link)->file->Load(wide, STGM_READ);
}

HResult Win32Shell::GetPath(HShellLink link, char* buffer, int size) {
    if (link == 0 || buffer == nullptr || size <= 0) return E_INVALIDARG;
    return toObject(link)->link->GetPath(buffer, size, nullptr, SLGP_RAWPATH);
}

HResult Win32Shell::GetArguments(HShellLink link, char* buffer, int size) {
    if (link == 0 || buffer == nullptr || size <= 0) return E_INVALIDARG;
    return toObject(link)->link->GetArguments(buffer, size);
}

HResult Win32Shell::GetWorkingDirectory(HShellLink link, char* buffer, int size) {
    if (link == 0 || buffer == nullptr || size <= 0) return E_INVALIDARG;
    return toObject(link)->link->GetWorkingDirectory(buffer, size);
}

HResult Win32Shell::GetDescription(HShellLink link, char* buffer, int size) {
    if (link == 0 || buffer == nullptr || size <= 0) return E_INVALIDARG;
    return toObject(link)->link->GetDescription(buffer, size);
}

HResult Win32Shell::GetIconLocation(HShellLink link, char* buffer, int size, int* index) {
    if (link == 0 || buffer == nullptr || size <= 0) return E_INVALIDARG;
    int icon = 0;
    const HRESULT result = toObject(link)->link->GetIconLocation(buffer, size, &icon);
    if (SUCCEEDED(result) && index != nullptr) *index = icon;
    return result;
}

void Win32Shell::ReleaseShellLink(HShellLink link) {
    LinkObject* object = toObject(link);
    if (object == nullptr) return;
    object->file->Release();
    object->link->Release();
    delete object;
}

std::uintptr_t Win32Shell::FindExecutable(const char* file, const char* directory, char* result) {
    if (result == nullptr) return SE_ERR_OOM;
    result[0] = '\0';
    return reinterpret_cast<std::uintptr_t>(::FindExecutableA(file, directory, result));
}

std::unique_ptr<MachinePart> shellPart() {
    return makeBackendPart<Win32Shell, Shell, &Machine::shell>();
}

}  // namespace platform::win32
