#include "agent/Init_win32.h"

#include <exception>

#include "../../resources/resource.h"
#include "agent/MenuDraw_win32.h"
#include "ui/main.h"
#include "ui/main_win32.h"

namespace vexamo {

namespace {

const char* const MainClassName = "TMainForm";

TMainForm::Item ItemOf(UINT command) { return static_cast<TMainForm::Item>(command - TrayMenuCommandBase); }

// Every handler runs behind this guard: an error nothing else caught is shown (and logged while a
// configuration window exists) and the agent carries on.
template <typename F>
void Guarded(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        HandleException(e);
    }
}

}  // namespace

MainFormWindow::MainFormWindow(HINSTANCE instance) : instance_(instance) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = MainClassName;
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, MainClassName, "Mini Vexamo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200,
                            100, nullptr, nullptr, instance, this);

    const int small = GetSystemMetrics(SM_CXSMICON);
    trayOn_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY_ON), IMAGE_ICON, small, small, 0));
    trayOff_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TRAY_OFF), IMAGE_ICON, small, small, 0));
    images_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 5, 0);
    if (HBITMAP strip = static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(IDB_MENU_STRIP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
        ImageList_AddMasked(images_, strip, RGB(255, 0, 255));
        DeleteObject(strip);
    }
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

MainFormWindow::~MainFormWindow() {
    if (popup_) DestroyMenu(popup_);
    if (images_) ImageList_Destroy(images_);
    if (hwnd_) DestroyWindow(hwnd_);
}

void MainFormWindow::Terminate() { PostQuitMessage(0); }

void MainFormWindow::CloseMainWindow() { PostMessageA(hwnd_, WM_CLOSE, 0, 0); }

std::unique_ptr<TfrmMain> MainFormWindow::CreateConfigWindow() { return CreateFrmMainWindow(instance_, *Globals.MainForm); }

void MainFormWindow::PopupTrayMenu() {
    if (popup_) DestroyMenu(popup_);
    popup_ = CreatePopupMenu();
    const auto& items = Globals.MainForm->PopUpSysTray;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].Separator) {
            AppendMenuA(popup_, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_OWNERDRAW | (items[i].Enabled ? MF_ENABLED : MF_GRAYED);
        AppendMenuA(popup_, flags, TrayMenuCommandBase + i, reinterpret_cast<LPCSTR>(i));
    }
    SetForegroundWindow(hwnd_);
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    PostMessageA(hwnd_, WM_NULL, 0, 0);
}

LRESULT CALLBACK MainFormWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainFormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<MainFormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || !Globals.MainForm) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->Handle(msg, wParam, lParam);
}

LRESULT MainFormWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMainForm& form = *Globals.MainForm;
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        Guarded([&] { form.TaskbarCreated(); });
        return 0;
    }
    switch (msg) {
        case WM_TRAYNOTIFY:
            Guarded([&] { form.WMTrayNotify(static_cast<std::uintptr_t>(lParam)); });
            return 0;
        case WM_DEVICECHANGE: {
            LRESULT result = DefWindowProcA(hwnd_, msg, wParam, lParam);
            Guarded([&] { form.WMDeviceChange(static_cast<std::uintptr_t>(wParam)); });
            return result ? result : TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && LOWORD(wParam) >= TrayMenuCommandBase &&
                LOWORD(wParam) < TrayMenuCommandBase + TMainForm::ItemCount) {
                Guarded([&] { form.ItemClick(ItemOf(LOWORD(wParam))); });
                return 0;
            }
            break;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (m->CtlType != ODT_MENU) break;
            m->itemWidth = OwnerDrawnMenuWidth;
            m->itemHeight = OwnerDrawnMenuHeight();
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (d->CtlType != ODT_MENU || d->itemData >= TMainForm::ItemCount) break;
            const MenuItemState& item = form.PopUpSysTray[d->itemData];
            const bool selected = (d->itemState & ODS_SELECTED) != 0;
            HFONT old = PrepareMenuCanvas(d->hDC, selected);
            DrawMenuItem(d->hDC, d->rcItem, item.Enabled, true, item.Caption, item.ImageIndex, images_, selected);
            if (d->itemData == TMainForm::mnuExit) DrawMenuBanner(d->hDC, 2, "Vexamo", 143);
            SelectObject(d->hDC, old);
            return TRUE;
        }
        case WM_MENUCHAR: {
            // Owner-drawn items have no text for the system to find access keys in.
            if (reinterpret_cast<HMENU>(lParam) != popup_) break;
            std::vector<std::string> captions;
            std::vector<bool> enabled;
            for (const MenuItemState& item : form.PopUpSysTray) {
                captions.push_back(item.Separator ? std::string() : item.Caption);
                enabled.push_back(item.Enabled && !item.Separator);
            }
            int index = MenuAccessKeyIndex(captions, enabled, static_cast<char>(LOWORD(wParam)));
            if (index < 0) return MAKELRESULT(0, MNC_IGNORE);
            return MAKELRESULT(index, MNC_EXECUTE);
        }
        case WM_CLOSE:
            Guarded([&] { form.FormClose(); });
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            Guarded([&] { form.FormDestroy(); });
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

}  // namespace vexamo
