// The system's own dialogs that windows open for their users: choosing a file and a folder.
#pragma once

#include <optional>
#include <string>

#include "platform/win32/WinApi.h"
#include <commdlg.h>

namespace vexamo::win32 {

// What the open-file dialog may add below its list: a template of the resources and its hook.
struct FileDialogExtra {
    int TemplateId = 0;
    LPOFNHOOKPROC Hook = nullptr;
};

// The open-file dialog for an existing file; `filter` is "Name|patterns|Name|patterns...".
// Empty when the user chose nothing.
std::string OpenFile(HWND owner, const std::string& filter, const FileDialogExtra& extra = {});
// The file the open-file dialog has selected now, asked from its hook's dialog.
std::string DialogFilePath(HWND hookDialog);

// The shell's folder chooser over the whole namespace, with `preselected` chosen when that folder
// exists; nothing when the user cancelled it.
std::optional<std::string> ChooseFolder(HWND owner, const std::string& title, const std::string& preselected);

}  // namespace vexamo::win32
