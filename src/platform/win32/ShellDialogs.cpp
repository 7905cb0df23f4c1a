#include "platform/win32/ShellDialogs.h"

#include <shlobj.h>

#include "platform/Platform.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Window.h"

namespace vexamo::win32 {

namespace {

// What the dialogs give back: a path as long as the wide file functions take.
constexpr DWORD PathUnits = LongestPath + 1;

int CALLBACK PreselectFolder(HWND chooser, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

std::string OpenFile(HWND owner, const std::string& filter, const FileDialogExtra& extra) {
    const std::wstring pairs = Wide(FileFilterPairs(filter));
    std::wstring file(PathUnits, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = Instance();
    ofn.lpstrFilter = pairs.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = PathUnits - 1;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (extra.TemplateId) {
        ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
        ofn.lpTemplateName = MAKEINTRESOURCEW(extra.TemplateId);
        ofn.lpfnHook = extra.Hook;
    }
    return GetOpenFileNameW(&ofn) ? Narrow(file.c_str()) : std::string();
}

std::string DialogFilePath(HWND hookDialog) {
    std::wstring path(PathUnits, L'\0');
    SendMessageW(GetParent(hookDialog), CDM_GETFILEPATH, PathUnits, reinterpret_cast<LPARAM>(path.data()));
    return Narrow(path.c_str());
}

std::optional<std::string> ChooseFolder(HWND owner, const std::string& title, const std::string& preselected) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring wideTitle = Wide(title), widePreselected = Wide(preselected);
    const DWORD attributes = GetFileAttributesW(widePreselected.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // the whole shell namespace
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = PreselectFolder;
    info.lParam = exists ? reinterpret_cast<LPARAM>(widePreselected.c_str()) : 0;
    std::optional<std::string> chosen;
    if (LPITEMIDLIST item = SHBrowseForFolderW(&info)) {
        std::wstring path(PathUnits, L'\0');
        if (SHGetPathFromIDListEx(item, path.data(), PathUnits, GPFIDL_DEFAULT)) chosen = Narrow(path.c_str());
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

}  // namespace vexamo::win32
