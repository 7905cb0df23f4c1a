// The hidden main window of the tray agent: the start-up checks, the tray icon and its menu, the
// reaction to disc arrivals and removals, and the status shown everywhere.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "agent/Globals.h"
#include "model/VexaCfg.h"
#include "platform/Platform.h"
#include "ui/main.h"

namespace vexamo {

// What the window binding does for the portable main window: the parts that need a real window.
class MainFormHost {
public:
    virtual ~MainFormHost() = default;
    virtual std::uintptr_t WindowHandle() = 0;
    // Ends the message loop (the process then exits).
    virtual void Terminate() = 0;
    // Closes the main window; the application ends with it.
    virtual void CloseMainWindow() = 0;
    // Foreground, cursor position, the popup menu's own loop, then the null message.
    virtual void PopupTrayMenu() = 0;
    // Creates a configuration window (portable part and its real window) and returns it.
    virtual std::unique_ptr<TfrmMain> CreateConfigWindow() = 0;
};

// One owner-drawn menu item as the window binding shows it.
struct MenuItemState {
    std::string Name;
    std::string Caption;
    bool Enabled = true;
    bool Separator = false;
    int ImageIndex = -1;
};

// Tray callback and device-change codes.
constexpr std::uint32_t WM_TRAYNOTIFY = 1025;
constexpr std::uint32_t TrayDoubleClick = 515;  // WM_LBUTTONDBLCLK
constexpr std::uint32_t TrayRightButton = 516;  // WM_RBUTTONDOWN
constexpr std::uintptr_t DeviceArrival = 32768;
constexpr std::uintptr_t DeviceRemoveComplete = 32772;
constexpr std::uint32_t TrayIconFlags = 7;      // message, icon and tip are valid
constexpr int MenuItemWidth = 140;
constexpr std::size_t TrayTipVisibleChars = 63;

class TMainForm final : public TrayAgent {
public:
    // The tray menu, in order.
    enum Item { mnuSPlay, N2, mnuStatus, N4, MnuOpen, mnuSettings, N1, mnuAbout, N3, mnuExit, ItemCount };

    explicit TMainForm(MainFormHost& host);

    std::string Caption = "Mini Vexamo";
    std::uintptr_t ImgTray = 0;           // picture while monitoring is on
    std::uintptr_t ImgTrayDIsabled = 0;   // picture while monitoring is off
    vexamo::TrayIconData TrayIconData{};
    std::array<MenuItemState, ItemCount> PopUpSysTray;
    bool Terminated = false;

    void FormCreate();
    void FormClose();
    void FormDestroy();

    void InitTrayIcon(std::uintptr_t icon);
    void SetTrayTip(const std::string& text);
    void ShowConfigWindow(bool hidden);
    bool UpdateStatus(Caller caller) override;

    void WMTrayNotify(std::uintptr_t mouseMessage);
    void WMDeviceChange(std::uintptr_t event);
    // The taskbar was (re)created: put the icon back if the agent has it in the tray.
    void TaskbarCreated();

    void mnuSPlayClick();
    void mnuStatusClick();
    void MnuOpenClick();
    void mnuSettingsClick();
    void mnuAboutClick();
    void mnuExitClick();
    void ItemClick(Item item);

    // The tray icon's presence as the agent wants it.
    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    // What the configuration window asks of the agent.
    void ShowAbout() override { mnuAboutClick(); }
    void ShowOptions(Caller) override { mnuSettingsClick(); }
    void ExitAgent() override { mnuExitClick(); }
    void EnableMonitoringItem(bool enabled) override { PopUpSysTray[mnuStatus].Enabled = enabled; }
    bool IconInTray() const { return iconInTray_; }

private:
    MainFormHost& host_;
    bool iconInTray_ = false;
};

// The process-wide references of the agent.

// Start-up texts.
inline const std::string CdromAutoRunQuestion =
    "Windows Registry \"CDROM AUTORUN\" Services Disabled ! \r\rIn order to use 'Vexamo' autoplay abilities "
    "this setting must be enabled.\rDo you want 'Vexamo' to change it for you ?";
inline const std::string CdromAutoRunChanged =
    "Changes Sucessfull, but 'Vexamo' will not be able to autoplay CD's until the next time you restart "
    "Windows. You can use manual 'Scan' meanwhile...";
inline const std::string CdromAutoRunFailed =
    "There was an error while trying to modify your registry. No changes where made !";
inline const std::string CdromAutoRunDeclined =
    "With this setting disabled 'Vexamo' will not be able to autoplay CD's. \rOnly manual 'Scan' will be "
    "possible !\r\rPress 'OK' to continue...";
inline const std::string NoCdRomText = "CD/DVD Rom not present! Vexamo cannot load...";

// The tip as it fits the record's field: at most 63 characters, a longer text cut and ended with
// "..." so the user sees that it goes on.
std::string FitTrayTip(const std::string& tip);

// The item an access-key character chooses in an owner-drawn menu, or -1.
int MenuAccessKeyIndex(const std::vector<std::string>& captions, const std::vector<bool>& enabled, char key);

}  // namespace vexamo
