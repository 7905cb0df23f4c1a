#include "platform/win32/ShellDialogs.h"

#include <shlobj.h>

#include "platform/Platform.h"
#include "platform/win32/Window.h"

namespace vexamo::win32 {

namespace {

int CALLBACK PreselectFolder(HWND chooser, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageA(chooser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

std::string OpenFile(HWND owner, const std::string& filter, const FileDialogExtra& extra) {
    const std::string pairs = FileFilterPairs(filter);
    char file[MAX_PATH * 4] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = Instance();
    ofn.lpstrFilter = pairs.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file - 1;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (extra.TemplateId) {
        ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
        ofn.lpTemplateName = MAKEINTRESOURCEA(extra.TemplateId);
        ofn.lpfnHook = extra.Hook;
    }
    return GetOpenFileNameA(&ofn) ? std::string(file) : std::string();
}

std::optional<std::string> ChooseFolder(HWND owner, const std::string& title, const std::string& preselected) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const DWORD attributes = GetFileAttributesA(preselected.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // the whole shell namespace
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = PreselectFolder;
    info.lParam = exists ? reinterpret_cast<LPARAM>(preselected.c_str()) : 0;
    std::optional<std::string> chosen;
    if (LPITEMIDLIST item = SHBrowseForFolderA(&info)) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(item, path)) chosen = path;
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

}  // namespace vexamo::win32
