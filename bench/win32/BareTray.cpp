// The yardstick of the agent's start-up and idle memory: the least a tray program can be with the
// same toolchain and manifest. A hidden top-level window, one tray icon (number 0, as the agent's,
// which StartBench looks for), a message loop. Tests only; not shipped. StartBench.exe starts it
// beside Vexamo.exe.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT TrayCallback = WM_APP + 1;

LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, msg, w, l);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.lpszClassName = "BareTray";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "BareTray", "BareTray", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200,
                                  100, nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 0;
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = TrayCallback;
    icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpyA(icon.szTip, "BareTray");
    Shell_NotifyIconA(NIM_ADD, &icon);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
