// The real hidden main window behind the portable TMainForm.
#pragma once

#include "agent/Init.h"
#include "platform/win32/WinApi.h"
#include <commctrl.h>

namespace vexamo {

// Menu command identifiers: the item's position plus this base.
constexpr UINT TrayMenuCommandBase = 100;

class MainFormWindow : public MainFormHost {
public:
    explicit MainFormWindow(HINSTANCE instance);
    ~MainFormWindow() override;

    HWND Handle() const { return hwnd_; }

    std::uintptr_t WindowHandle() override { return reinterpret_cast<std::uintptr_t>(hwnd_); }
    void Terminate() override;
    void CloseMainWindow() override;
    void PopupTrayMenu() override;
    std::unique_ptr<TfrmMain> CreateConfigWindow() override;

    HICON TrayOnIcon() const { return trayOn_; }
    HICON TrayOffIcon() const { return trayOff_; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HMENU popup_ = nullptr;
    HICON trayOn_ = nullptr;
    HICON trayOff_ = nullptr;
    HIMAGELIST images_ = nullptr;
    UINT taskbarCreated_ = 0;
};

}  // namespace vexamo
