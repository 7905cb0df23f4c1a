#include "platform/Layout.h"

#include <algorithm>
#include <cstdint>

namespace vexamo {

namespace {

// The owner-drawn menu's layout, in pixels at 96 DPI.
constexpr int MenuBandWidth = 20;       // the grey side band; the item starts right of it
constexpr int MenuPictureLeft = 22;
constexpr int MenuTextLeft = 45;
constexpr int MenuItemWidth = 140;
constexpr int MenuItemPadding = 4;      // above and below the text
constexpr int MenuBandLeast = 150;      // the band reaches at least this far down
constexpr int MenuBannerLeft = 2;
constexpr int MenuBannerBelowText = 7;  // from the banner's start to the band's bottom

// The check list's, in pixels at 96 DPI.
constexpr int CheckBox = 13, CheckBoxLeft = 2, CheckTextGap = 4, CheckRowAir = 3;

constexpr long CheckedBit = 1;
constexpr long DisabledBit = 2;
// What the list box answers for a row it does not have.
constexpr long NoRow = -1;

}  // namespace

int MulDivRound(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    return static_cast<int>((product + (product >= 0 ? c / 2 : -(c / 2))) / c);
}

int ScaleAt(int pixels, int dpi) { return MulDivRound(pixels, dpi, 96); }

int PictureSize(int px96, int dpi, const std::vector<int>& sizes) {
    const int wanted = ScaleAt(px96, dpi);
    int best = sizes.front();
    for (int size : sizes)
        if (size <= wanted && size > best) best = size;
    return best;
}

std::vector<int> PanelEdges(const std::vector<int>& widths, int dpi) {
    std::vector<int> edges;
    int right = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        right += ScaleAt(widths[i], dpi);
        edges.push_back(i + 1 == widths.size() ? -1 : right);
    }
    return edges;
}

std::string PanelText(const std::string& text, TAlignment alignment) {
    return (alignment == TAlignment::Center ? "\t" : alignment == TAlignment::Right ? "\t\t" : "") + text;
}

TBox CentredIn(const TBox& area, int width, int height) {
    const int left = area.Left + (area.Right - area.Left - width) / 2;
    const int top = area.Top + (area.Bottom - area.Top - height) / 2;
    return {left, top, left + width, top + height};
}

TBox FittedIn(const TBox& box, int width, int height) {
    const int bw = box.Right - box.Left, bh = box.Bottom - box.Top;
    int w = bw, h = MulDivRound(bw, height, width);
    if (h > bh) {
        h = bh;
        w = MulDivRound(bh, width, height);
    }
    return CentredIn(box, w, h);
}

TBox Proportional(const TBox& place, int fromWidth, int fromHeight, int toWidth, int toHeight) {
    fromWidth = std::max(fromWidth, 1);
    fromHeight = std::max(fromHeight, 1);
    return {MulDivRound(place.Left, toWidth, fromWidth), MulDivRound(place.Top, toHeight, fromHeight),
            MulDivRound(place.Right, toWidth, fromWidth), MulDivRound(place.Bottom, toHeight, fromHeight)};
}

unsigned Blend(unsigned from, unsigned to, int num, int den) {
    unsigned blended = 0;
    for (int shift : {0, 8, 16}) {
        const int x = static_cast<int>((from >> shift) & 0xFF), y = static_cast<int>((to >> shift) & 0xFF);
        blended |= (static_cast<unsigned>(x + (y - x) * num / (den > 0 ? den : 1)) & 0xFF) << shift;
    }
    return blended;
}

RowColours MenuItemColours(bool enabled, bool selected) {
    return {selected ? SysColour::Highlight : SysColour::Menu,
            !enabled ? SysColour::GrayText : selected ? SysColour::HighlightText : SysColour::MenuText};
}

RowColours CheckListRowColours(bool listEnabled, bool rowEnabled, bool selected) {
    selected = selected && listEnabled;
    return {selected ? SysColour::Highlight : SysColour::Window,
            !(listEnabled && rowEnabled) ? SysColour::GrayText
            : selected                   ? SysColour::HighlightText
                                         : SysColour::WindowText};
}

OwnerMenuLayout::OwnerMenuLayout(int dpi)
    : BandWidth(ScaleAt(MenuBandWidth, dpi)),
      PictureLeft(ScaleAt(MenuPictureLeft, dpi)),
      TextLeft(ScaleAt(MenuTextLeft, dpi)),
      ItemWidth(ScaleAt(MenuItemWidth, dpi)),
      BannerLeft(ScaleAt(MenuBannerLeft, dpi)),
      dpi_(dpi) {}

int OwnerMenuLayout::ItemHeight(int textHeight, int systemLeast) const {
    return std::max(textHeight + ScaleAt(MenuItemPadding, dpi_), systemLeast);
}

int OwnerMenuLayout::BannerY(int bannerStart, int lastItemBottom) const {
    return bannerStart > 0 ? ScaleAt(bannerStart, dpi_) : lastItemBottom - ScaleAt(MenuBannerBelowText, dpi_);
}

int OwnerMenuLayout::BandHeight(int bannerY) const {
    return std::max(ScaleAt(MenuBandLeast, dpi_), bannerY + ScaleAt(MenuBannerBelowText, dpi_));
}

CheckListLayout::CheckListLayout(int dpi)
    : Box(ScaleAt(CheckBox, dpi)),
      BoxLeft(ScaleAt(CheckBoxLeft, dpi)),
      TextLeft(BoxLeft + Box + ScaleAt(CheckTextGap, dpi)),
      dpi_(dpi) {}

int CheckListLayout::RowHeight(int textHeight) const { return std::max(textHeight, Box) + ScaleAt(CheckRowAir, dpi_); }

long CheckListData(const TCheckListItem& item) {
    return (item.Checked ? CheckedBit : 0) | (item.Enabled ? 0 : DisabledBit);
}

TCheckListItem CheckListItemOf(long data) { return {{}, (data & CheckedBit) != 0, !(data & DisabledBit)}; }

std::optional<long> CheckListToggled(bool listEnabled, int row, long data) {
    if (!listEnabled || row < 0 || data == NoRow || (data & DisabledBit)) return std::nullopt;
    return data ^ CheckedBit;
}

}  // namespace vexamo
