#include "platform/win32/ShellDialogs.h"

#include <shlobj.h>

#include "platform/Platform.h"
#include "platform/win32/SystemDll.h"
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
    static const auto open = SystemCall<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    return open(&ofn) ? Narrow(file.c_str()) : std::string();
}

std::string DialogFilePath(HWND hookDialog) {
    std::wstring path(PathUnits, L'\0');
    SendMessageW(GetParent(hookDialog), CDM_GETFILEPATH, PathUnits, reinterpret_cast<LPARAM>(path.data()));
    return Narrow(path.c_str());
}

std::optional<std::string> ChooseFolder(HWND owner, const std::string& title, const std::string& preselected) {
    // The shell's chooser needs COM; ole32 is loaded for it, as comdlg32 is for the file dialog.
    static const auto initialise = SystemCall<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    static const auto uninitialise = SystemCall<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    static const auto freeMemory = SystemCall<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    const HRESULT com = initialise(nullptr, COINIT_APARTMENTTHREADED);
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
        freeMemory(item);
    }
    if (SUCCEEDED(com)) uninitialise();
    return chosen;
}

}  // namespace vexamo::win32
