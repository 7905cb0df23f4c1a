// The portable code names Windows' numbers without <windows.h>; each such number is held against
// the system's own here, so that a mismatch stops the Windows build instead of misreading a value.
#include "platform/Controls.h"
#include "platform/Layout.h"
#include "platform/Mirror.h"
#include "platform/Platform.h"
#include "platform/ResourceIds.h"
#include "platform/win32/WinApi.h"
#include <commctrl.h>
#include <shellapi.h>

namespace vexamo {

static_assert(static_cast<unsigned>(DriveKind::Unknown) == DRIVE_UNKNOWN);
static_assert(static_cast<unsigned>(DriveKind::NoRootDir) == DRIVE_NO_ROOT_DIR);
static_assert(static_cast<unsigned>(DriveKind::Removable) == DRIVE_REMOVABLE);
static_assert(static_cast<unsigned>(DriveKind::Fixed) == DRIVE_FIXED);
static_assert(static_cast<unsigned>(DriveKind::Remote) == DRIVE_REMOTE);
static_assert(static_cast<unsigned>(DriveKind::CdRom) == DRIVE_CDROM);
static_assert(static_cast<unsigned>(DriveKind::RamDisk) == DRIVE_RAMDISK);

// The dialog manager's results, which the portable windows name without <windows.h>.
static_assert(ModalOk == IDOK);
static_assert(ModalCancel == IDCANCEL);
static_assert(IdOk == IDOK && IdCancel == IDCANCEL);

// The tray balloon's text fields, whose sizes the portable code names.
static_assert(BalloonTitleSize == sizeof(NOTIFYICONDATAA{}.szInfoTitle));
static_assert(BalloonTextSize == sizeof(NOTIFYICONDATAA{}.szInfo));

// The notifications the record mirror tells apart.
using M = RecordMirror;
static_assert(M::Clicked == BN_CLICKED && M::ComboSelChange == CBN_SELCHANGE && M::ComboKillFocus == CBN_KILLFOCUS &&
              M::EditKillFocus == EN_KILLFOCUS && M::EditChange == EN_CHANGE);
static_assert(M::RowStateChanged == LVIF_STATE && M::RowSelected == LVIS_SELECTED &&
              M::RowImageMask == LVIS_STATEIMAGEMASK && M::RowTicked == INDEXTOSTATEIMAGEMASK(2));

// The system colours the kit's painting rules name.
static_assert(int(SysColour::Menu) == COLOR_MENU && int(SysColour::Window) == COLOR_WINDOW &&
              int(SysColour::MenuText) == COLOR_MENUTEXT && int(SysColour::WindowText) == COLOR_WINDOWTEXT &&
              int(SysColour::Highlight) == COLOR_HIGHLIGHT && int(SysColour::HighlightText) == COLOR_HIGHLIGHTTEXT &&
              int(SysColour::GrayText) == COLOR_GRAYTEXT);

}  // namespace vexamo
