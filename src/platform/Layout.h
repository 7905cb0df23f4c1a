// The pixel arithmetic and painting rules of the window kit (platform/win32), apart from the
// system so that native tests hold them: sizes given at 96 DPI on a screen of another DPI, which
// picture suits a DPI, a status bar's panels, where a window or picture is placed, a gradient's
// colours, and how an owner-drawn menu item or check-list row is laid out and coloured. The kit
// only measures what the system knows (a font's height, a work area) and executes what these give.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"

namespace vexamo {

// a * b / c rounded as the system's MulDiv rounds (halves away from zero; c > 0), so that the
// kit's sizes and the system's own agree to the pixel.
int MulDivRound(int a, int b, int c);
// `pixels` at 96 DPI at `dpi`.
int ScaleAt(int pixels, int dpi);

// The one of the given square picture sizes (drawn for 96, 144, 192 DPI..., smallest first) that
// suits a 96-DPI size at `dpi` best: the largest that does not exceed the scaled size, or the
// smallest. Pictures are chosen, not stretched, so they stay sharp.
int PictureSize(int px96, int dpi, const std::vector<int>& sizes);

// A status bar's panels as the bar takes them: each panel's right edge at `dpi` from its width at
// 96 DPI, the last one reaching to the bar's end (-1); and a panel's text, which the bar centres
// after one tab and right-aligns after two.
std::vector<int> PanelEdges(const std::vector<int>& widths, int dpi);
std::string PanelText(const std::string& text, TAlignment alignment);

// A rectangle in pixels, its right and bottom edges outside it.
struct TBox {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TBox&) const = default;
};
// A box of `width` x `height` centred in `area` (a monitor's work area).
TBox CentredIn(const TBox& area, int width, int height);
// A picture of `width` x `height` as large as fits the box, keeping its shape, centred in it.
TBox FittedIn(const TBox& box, int width, int height);
// A control's place in a client area of one size, kept in proportion in a client area of another.
TBox Proportional(const TBox& place, int fromWidth, int fromHeight, int toWidth, int toHeight);

// A colour `num`/`den` of the way from `from` to `to`, each channel on its own (a gradient's line);
// colours as the system packs them, red in the lowest byte.
unsigned Blend(unsigned from, unsigned to, int num, int den);

// The system colours the kit paints owner-drawn pieces in; the numbers are the system's own
// (checked against it in the Windows build).
enum class SysColour {
    Menu = 4, Window = 5, MenuText = 7, WindowText = 8, Highlight = 13, HighlightText = 14, GrayText = 17
};
struct RowColours {
    SysColour Fill, Text;
};
// An owner-drawn menu item and a check-list row: the highlight while selected, grey text while
// disabled. A disabled check list shows no selection; a disabled row of an enabled one does.
RowColours MenuItemColours(bool enabled, bool selected);
RowColours CheckListRowColours(bool listEnabled, bool rowEnabled, bool selected);

// An owner-drawn menu at `dpi`: a grey band on the left in which the menu's banner runs upwards,
// and right of it each item's picture and text.
struct OwnerMenuLayout {
    explicit OwnerMenuLayout(int dpi);
    int BandWidth, PictureLeft, TextLeft, ItemWidth, BannerLeft;
    // An item is as high as its text with some padding, and never lower than the system's least.
    int ItemHeight(int textHeight, int systemLeast) const;
    // Where the banner's text starts (it runs upwards): `bannerStart` at 96 DPI from the menu's
    // top, or for 0 just above the bottom of the last item.
    int BannerY(int bannerStart, int lastItemBottom) const;
    // The band reaches a little below the banner's start, and at least a fixed height down.
    int BandHeight(int bannerY) const;

private:
    int dpi_;
};

// A check-list row at `dpi`: a tick box near the left edge, centred in the row's height, and the
// row's text after it; a row is as high as its text or the box, with a little air.
struct CheckListLayout {
    explicit CheckListLayout(int dpi);
    int Box, BoxLeft, TextLeft;
    int RowHeight(int textHeight) const;

private:
    int dpi_;
};

// A check list keeps each row's tick and enabled state in the list box's item data, so that the
// list box's own procedure and the drawing need nothing of the binding.
long CheckListData(const TCheckListItem& item);
TCheckListItem CheckListItemOf(long data);
// The row's data after the user ticked or cleared it (a click on it, the space bar); nothing when
// the list is disabled, there is no such row (-1: none or the list box's error) or the row is
// disabled.
std::optional<long> CheckListToggled(bool listEnabled, int row, long data);

}  // namespace vexamo
