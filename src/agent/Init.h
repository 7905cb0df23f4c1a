// The hidden main window of the tray agent: the start-up checks, the tray icon and its menu, the
// reaction to disc arrivals and removals, and the status shown everywhere.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/TrayAgent.h"
#include "model/VexaCfg.h"
#include "platform/Controls.h"
#include "platform/Platform.h"

namespace vexamo {

// The running agent is found by exactly this window class and caption.
inline constexpr const char* MainFormClassName = "TMainForm";
inline constexpr const char* MainFormCaption = "Mini Vexamo";

// Window messages and codes the agent handles, named once; the Win32 build checks each against
// <windows.h>.
constexpr std::uint32_t WM_TRAYNOTIFY = 0x0400 + 1;     // WM_USER + 1: the tray icon's callback
constexpr std::uint32_t TrayDoubleClick = 0x0203;       // WM_LBUTTONDBLCLK
constexpr std::uint32_t TrayRightButton = 0x0204;       // WM_RBUTTONDOWN
constexpr std::uint32_t TrayBalloonClick = 0x0400 + 5;  // NIN_BALLOONUSERCLICK
constexpr std::uintptr_t DeviceArrival = 0x8000;        // DBT_DEVICEARRIVAL
constexpr std::uintptr_t DeviceRemoveComplete = 0x8004; // DBT_DEVICEREMOVECOMPLETE
constexpr std::uint32_t TrayIconFlags = 1 | 2 | 4;      // NIF_MESSAGE | NIF_ICON | NIF_TIP

class TMainForm;

// What the window binding does for the portable main window: the parts that need a real window.
class MainFormHost {
public:
    virtual ~MainFormHost() = default;
    virtual std::uintptr_t WindowHandle() = 0;
    // Ends the message loop (the process then exits).
    virtual void Terminate() = 0;
    // Closes the main window; the application ends with it.
    virtual void CloseMainWindow() = 0;
    // Foreground, cursor position, the popup menu's own loop, then the null message. The chosen
    // item comes back as a menu command (TrayMenuCommand).
    virtual void PopupTrayMenu() = 0;
    // The menu's items changed while it may be open: show their enabled states now.
    virtual void TrayMenuChanged() = 0;
};
using MainFormHostFactory = HostFactory<TMainForm, MainFormHost>;

// The pictures of the tray menu's strip, in its order.
enum TrayPicture { PicScan, PicMonitoringOff, PicSettings, PicExit, PicMonitoringOn, TrayPictureCount };

// The tip as it fits the record's field, a longer text cut and ended with "..." so the user sees
// that it goes on.
std::string FitTrayTip(const std::string& tip);

class TMainForm : public TrayAgent {
public:
    // The tray menu, in order.
    enum Item { mnuSPlay, N2, mnuStatus, N4, MnuOpen, mnuSettings, N1, mnuAbout, N3, mnuExit, ItemCount };

    explicit TMainForm(const MainFormHostFactory& makeHost);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    std::uintptr_t ImgTray = 0;           // picture while monitoring is on
    std::uintptr_t ImgTrayDIsabled = 0;   // picture while monitoring is off
    vexamo::TrayIconData TrayIconData{};
    TPopupMenu PopUpSysTray;              // one item per Item, in order
    bool Terminated = false;

    // The whole start: the start-up checks, then the first-run path. False when the agent must
    // end at once (no optical drive, or an error left nothing on screen to reach it by).
    bool Start();
    void FormCreate();
    void FormClose();
    void FormDestroy();

    void InitTrayIcon(std::uintptr_t icon);
    void SetTrayTip(const std::string& text) override;
    void Notify(const std::string& text) override;
    // False when the window could not load what it shows (the error was shown and logged); no
    // window is left then.
    bool ShowConfigWindow(bool hidden);
    bool UpdateStatus(Caller caller) override;

    void WMTrayNotify(std::uintptr_t mouseMessage);
    // `drives`: the roots a volume's message names (none for other devices).
    void WMDeviceChange(std::uintptr_t event, const StringList& drives = {});
    // The taskbar was (re)created: put the icon back if the agent has it in the tray.
    void TaskbarCreated();

    void mnuSPlayClick();
    void mnuStatusClick();
    void MnuOpenClick();
    void mnuSettingsClick();
    void mnuAboutClick();
    void mnuExitClick();
    // A menu command; a disabled item does nothing, whatever the menu showed.
    void ItemClick(Item item);
    // A command of the tray menu by its number in the menu (TPopupMenu::NumberOf).
    void TrayMenuCommand(int number);

    // An item as it is drawn now; the status item's picture follows the monitoring status.
    TMenuItem TrayMenuItem(Item item) const;
    // The whole menu as it is drawn now.
    TPopupMenu TrayMenu() const;

    // The tray icon's presence as the agent wants it.
    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    bool IconInTray() const { return iconInTray_; }

    void ShowAbout() override;
    void ShowOptions(Caller opener) override;
    void ExitAgent() override;
    void EnableMonitoringItem(bool enabled) override;
    void HoldDeviceChanges() override;
    void ReleaseDeviceChanges() override;

private:
    // The icon stays away while the configuration window is on screen, while a scan's chooser is
    // in use and while the options window opened from the tray is open; otherwise it is there.
    bool IconWanted() const;
    // True when this call put the icon, with its picture and tip, in a tray that did not show it.
    bool AddedTrayIcon();
    void PutTrayTip(const std::string& text);
    // A disc that arrives while a handler waits in a nested loop (a modal dialog, a menu, a message
    // box) is scanned once every handler has returned: a scan then could close the window whose
    // handler is waiting.
    void ScanAfterHandlers();

    bool iconInTray_ = false;
    bool scanPending_ = false;
    int deviceChangesHeld_ = 0;
    bool heldArrival_ = false;
    bool heldRemoval_ = false;
    // Until the start-up checks are done, the core object and the status do not exist yet: a
    // device change or a click on the tray reaching the window meanwhile is not acted on.
    bool started_ = false;
    std::unique_ptr<MainFormHost> host_;
};

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

}  // namespace vexamo
