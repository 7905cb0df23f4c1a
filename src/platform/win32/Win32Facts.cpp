// The portable code names Windows' numbers without <windows.h>; each such number is held against
// the system's own here, so that a mismatch stops the Windows build instead of misreading a value.
#include "agent/Init.h"
#include "platform/Platform.h"
#include "platform/win32/WinApi.h"

#include <dbt.h>
#include <shellapi.h>

namespace vexamo {

static_assert(static_cast<unsigned>(DriveKind::Unknown) == DRIVE_UNKNOWN);
static_assert(static_cast<unsigned>(DriveKind::NoRootDir) == DRIVE_NO_ROOT_DIR);
static_assert(static_cast<unsigned>(DriveKind::Removable) == DRIVE_REMOVABLE);
static_assert(static_cast<unsigned>(DriveKind::Fixed) == DRIVE_FIXED);
static_assert(static_cast<unsigned>(DriveKind::Remote) == DRIVE_REMOTE);
static_assert(static_cast<unsigned>(DriveKind::CdRom) == DRIVE_CDROM);
static_assert(static_cast<unsigned>(DriveKind::RamDisk) == DRIVE_RAMDISK);

static_assert(WM_TRAYNOTIFY == WM_USER + 1);
static_assert(TrayDoubleClick == WM_LBUTTONDBLCLK);
static_assert(TrayRightButton == WM_RBUTTONDOWN);
static_assert(DeviceArrival == DBT_DEVICEARRIVAL);
static_assert(DeviceRemoveComplete == DBT_DEVICEREMOVECOMPLETE);
static_assert(TrayIconFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
static_assert(TrayBalloonClick == NIN_BALLOONUSERCLICK);
static_assert(BalloonTitleSize == sizeof(NOTIFYICONDATAA{}.szInfoTitle));
static_assert(BalloonTextSize == sizeof(NOTIFYICONDATAA{}.szInfo));

}  // namespace vexamo
