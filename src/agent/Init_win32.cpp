// The real hidden main window behind the portable TMainForm: the window the running agent is
// found by, the tray pictures and the owner-drawn tray menu.
#include "agent/Init.h"

#include "../../resources/resource.h"
#include "platform/win32/Menu.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Window.h"

#include <dbt.h>
#include <shellapi.h>

namespace vexamo {

// The agent names these numbers without <windows.h>; a mismatch stops the build.
static_assert(WM_TRAYNOTIFY == WM_USER + 1);
static_assert(TrayDoubleClick == WM_LBUTTONDBLCLK);
static_assert(TrayRightButton == WM_RBUTTONDOWN);
static_assert(DeviceArrival == DBT_DEVICEARRIVAL);
static_assert(DeviceRemoveComplete == DBT_DEVICEREMOVECOMPLETE);
static_assert(TrayIconFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
static_assert(TrayBalloonClick == NIN_BALLOONUSERCLICK);

namespace {

// The drive roots of a volume's device change.
StringList VolumeDrives(LPARAM lParam) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_VOLUME) return {};
    return DriveRootsOf(reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam)->dbcv_unitmask);
}

constexpr int MenuPictureSize = 16;

class MainFormWindow : public MainFormHost, public win32::Window {
public:
    explicit MainFormWindow(TMainForm& form) : form_(form) {
        Create(0, MainFormCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200, 100);
        const int small = GetSystemMetrics(SM_CXSMICON);
        trayOn_ = win32::LoadIconSized(IDI_TRAY_ON, small);
        trayOff_ = win32::LoadIconSized(IDI_TRAY_OFF, small);
        form_.ImgTray = reinterpret_cast<std::uintptr_t>(trayOn_.get());
        form_.ImgTrayDIsabled = reinterpret_cast<std::uintptr_t>(trayOff_.get());
        taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    }

    std::uintptr_t WindowHandle() override { return reinterpret_cast<std::uintptr_t>(Handle()); }
    void Terminate() override { PostQuitMessage(0); }
    void CloseMainWindow() override { PostMessageA(Handle(), WM_CLOSE, 0, 0); }

    void PopupTrayMenu() override {
        // Made for the first menu, not at start: an image list loads comctl32. The pictures are
        // enlarged with the screen's DPI, so that they keep their place beside the (scaled) text.
        const int picture = win32::Scale(MenuPictureSize);
        if (!pictures_) pictures_ = win32::LoadImageStrip(IDB_MENU_STRIP, picture, picture, TrayPictureCount);
        menu_ = std::make_unique<win32::PopupMenu>([this] { return form_.TrayMenu(); },
                                                   win32::MenuLook{pictures_, 0});
        // Without the foreground the menu would not close when the user clicks elsewhere.
        SetForegroundWindow(Handle());
        POINT at{};
        GetCursorPos(&at);
        menu_->Show(Handle(), at, TPM_LEFTALIGN | TPM_RIGHTBUTTON);
        PostMessageA(Handle(), WM_NULL, 0, 0);
    }

    // The menu may be open (a disc arrived meanwhile): what it lets the user choose follows what
    // it draws.
    void TrayMenuChanged() override {
        if (menu_) menu_->Refresh();
    }

protected:
    const char* ClassName() const override { return MainFormClassName; }
    // The window is never shown, owns no other window and no message box, so it has no picture
    // of its own: loading one was the start's first call into the window system.
    void PrepareClass(WNDCLASSA& wc) const override { wc.hbrBackground = nullptr; }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            form_.TaskbarCreated();
            return 0;
        }
        LRESULT answer = 0;
        if (menu_ && menu_->Message(msg, wParam, lParam, answer)) return answer;
        switch (msg) {
            case WM_TRAYNOTIFY:
                form_.WMTrayNotify(static_cast<std::uintptr_t>(lParam));
                return 0;
            case WM_DEVICECHANGE: {
                const LRESULT result = Default(msg, wParam, lParam);
                form_.WMDeviceChange(static_cast<std::uintptr_t>(wParam), VolumeDrives(lParam));
                return result ? result : TRUE;
            }
            case WM_COMMAND: {
                const int number = form_.PopUpSysTray.NumberOfCommand(LOWORD(wParam));
                if (HIWORD(wParam) != 0 || number < 0) break;
                form_.TrayMenuCommand(number);
                return 0;
            }
            case WM_CLOSE:
                form_.FormClose();
                DestroyWindow(Handle());
                return 0;
            case WM_DESTROY:
                form_.FormDestroy();
                PostQuitMessage(0);
                return 0;
            default:
                break;
        }
        return Default(msg, wParam, lParam);
    }

private:
    TMainForm& form_;
    win32::Icon trayOn_, trayOff_;
    win32::ImageList pictures_;
    std::unique_ptr<win32::PopupMenu> menu_;
    UINT taskbarCreated_ = 0;
};

}  // namespace

std::unique_ptr<MainFormHost> MainFormBinding(TMainForm& form) { return std::make_unique<MainFormWindow>(form); }

}  // namespace vexamo
