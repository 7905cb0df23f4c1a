// The real hidden main window behind the portable TMainForm.
#pragma once

#include "agent/Init.h"
#include "platform/win32/Window.h"
#include <commctrl.h>

namespace vexamo {

// Menu command identifiers: the item's position plus this base.
constexpr UINT TrayMenuCommandBase = 100;

class MainFormWindow : public MainFormHost, public win32::Window {
public:
    explicit MainFormWindow(HINSTANCE instance);
    ~MainFormWindow() override;

    // The portable window this one shows; set once, before the start-up checks run.
    void Attach(TMainForm& form) { form_ = &form; }

    std::uintptr_t WindowHandle() override { return reinterpret_cast<std::uintptr_t>(Handle()); }
    void Terminate() override;
    void CloseMainWindow() override;
    void PopupTrayMenu() override;
    void TrayMenuChanged() override;
    std::unique_ptr<TfrmMain> CreateConfigWindow(TrayAgent& tray) override;
    std::unique_ptr<TFrmOptions> CreateOptionsWindow(TrayAgent& tray) override;
    std::unique_ptr<TAboutBox> CreateAboutBox() override;

    HICON TrayOnIcon() const { return trayOn_; }
    HICON TrayOffIcon() const { return trayOff_; }

protected:
    const char* ClassName() const override { return MainFormClassName; }
    void PrepareClass(WNDCLASSA& wc) const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT MenuChar(WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    TMainForm* form_ = nullptr;
    HMENU popup_ = nullptr;
    HICON trayOn_ = nullptr;
    HICON trayOff_ = nullptr;
    HIMAGELIST images_ = nullptr;
    UINT taskbarCreated_ = 0;
};

}  // namespace vexamo
