#include "platform/win32/Menu.h"

#include "platform/Layout.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Window.h"

namespace vexamo::win32 {

namespace {

constexpr COLORREF BandGrey = RGB(128, 128, 128);
constexpr COLORREF BannerWhite = RGB(255, 255, 255);

const OwnerMenuLayout& Layout() {
    static const OwnerMenuLayout layout(ScreenDpi());
    return layout;
}

Font MenuFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return Font(CreateFontIndirectA(&metrics.lfMenuFont));
}

UINT StateFlags(const TMenuItem& item) { return item.Enabled ? MF_ENABLED : MF_GRAYED; }

// The banner's letters are a little smaller than the items' font.
void DrawBanner(HDC canvas, const std::string& text, int y, HFONT items) {
    RECT band{0, 0, Layout().BandWidth, Layout().BandHeight(y)};
    const GdiObject<HBRUSH> grey(CreateSolidBrush(BandGrey));
    FillRect(canvas, &band, grey);

    const LOGFONTA base = FontOf(items);
    LOGFONTA turned{};
    turned.lfHeight = base.lfHeight - 2;
    turned.lfWeight = FW_BOLD;
    turned.lfEscapement = 900;  // runs from bottom to top
    turned.lfOrientation = 900;
    turned.lfCharSet = DEFAULT_CHARSET;
    turned.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynA(turned.lfFaceName, "Arial", LF_FACESIZE);
    const Font font(CreateFontIndirectA(&turned));
    const ScopedTextColours colours(canvas);
    const ScopedSelect selectFont(canvas, font);
    SetTextColor(canvas, BannerWhite);
    SetBkMode(canvas, TRANSPARENT);
    const std::wstring wide = Wide(text);
    TextOutW(canvas, Layout().BannerLeft, y, wide.c_str(), static_cast<int>(wide.size()));
}

}  // namespace

PopupMenu::PopupMenu(Records records) : records_(std::move(records)), ownerDrawn_(false) {}

PopupMenu::PopupMenu(Records records, MenuLook look)
    : records_(std::move(records)), ownerDrawn_(true), look_(look), font_(MenuFont()), bold_(BoldFont(font_)) {}

void PopupMenu::Build() {
    const TPopupMenu records = records_();
    menu_ = Menu(CreatePopupMenu());
    shown_ = records.Shown();
    for (int i : shown_) {
        const TMenuItem& item = records.Items[i];
        if (item.IsSeparator()) {
            AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = StateFlags(item) | (item.Checked ? MF_CHECKED : 0);
        UINT_PTR id = TPopupMenu::CommandOf(records.NumberOf({i, -1}));
        if (!item.Items.empty()) {
            HMENU sub = CreatePopupMenu();
            for (int k = 0; k < static_cast<int>(item.Items.size()); ++k) {
                const TMenuItem& entry = item.Items[k];
                if (!entry.Visible) continue;
                AppendMenuA(sub, MF_STRING | StateFlags(entry) | (entry.Checked ? MF_CHECKED : 0),
                            TPopupMenu::CommandOf(records.NumberOf({i, k})), entry.Caption.c_str());
            }
            flags |= MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(sub);
        }
        if (ownerDrawn_) {
            // The item's data is its record position.
            AppendMenuA(menu_, flags | MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(i)));
        } else {
            AppendMenuA(menu_, flags | MF_STRING, id, item.Caption.c_str());
            if (item.Default) SetMenuDefaultItem(menu_, static_cast<UINT>(GetMenuItemCount(menu_) - 1), TRUE);
        }
    }
}

int PopupMenu::Choose(HWND owner, POINT at, UINT alignment) {
    Build();
    const UINT command =
        static_cast<UINT>(TrackPopupMenu(menu_, alignment | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
    const int number = records_().NumberOfCommand(command);
    menu_.reset();
    return number;
}

void PopupMenu::Show(HWND owner, POINT at, UINT alignment) {
    Build();
    TrackPopupMenu(menu_, alignment, at.x, at.y, 0, owner, nullptr);
}

void PopupMenu::Refresh() {
    if (!menu_) return;
    const TPopupMenu records = records_();
    for (size_t at = 0; at < shown_.size(); ++at) {
        const TMenuItem& item = records.Items[shown_[at]];
        if (!item.IsSeparator()) EnableMenuItem(menu_, static_cast<UINT>(at), MF_BYPOSITION | StateFlags(item));
    }
}

int PopupMenu::ItemHeight() const {
    // The height the system gives a text item of the menu font.
    const ScopedGetDC screen(nullptr);
    const ScopedSelect font(screen, font_);
    TEXTMETRICA tm{};
    GetTextMetricsA(screen, &tm);
    return Layout().ItemHeight(tm.tmHeight, GetSystemMetrics(SM_CYMENUSIZE));
}

void PopupMenu::Draw(const DRAWITEMSTRUCT& draw) {
    const TPopupMenu records = records_();
    if (draw.itemData >= records.Items.size()) return;
    const TMenuItem& item = records.Items[draw.itemData];
    HDC dc = draw.hDC;
    // The canvas as the menu framework would prepare it; all put back at the end.
    const RowColours colours = MenuItemColours(item.Enabled, (draw.itemState & ODS_SELECTED) != 0);
    RECT area = draw.rcItem;
    area.left = Layout().BandWidth;
    const GdiObject<HBRUSH> brush(CreateSolidBrush(GetSysColor(static_cast<int>(colours.Fill))));
    FillRect(dc, &area, brush);
    if (look_.Images && item.ImageIndex >= 0) {
        int width = 16, height = 16;
        ImageList_GetIconSize(look_.Images, &width, &height);
        const int top = area.top + (area.bottom - area.top - height) / 2;
        ImageList_Draw(look_.Images, item.ImageIndex, dc, Layout().PictureLeft, top, ILD_TRANSPARENT);
    }
    DrawTextOver(dc, item.Caption, {Layout().TextLeft, area.top, area.right, area.bottom},
                 GetSysColor(static_cast<int>(colours.Text)), DT_SINGLELINE | DT_VCENTER | DT_NOCLIP,
                 item.Default ? bold_.get() : font_.get());

    const bool last = !shown_.empty() && static_cast<UINT_PTR>(shown_.back()) == draw.itemData;
    if (last && !records.Banner.empty())
        DrawBanner(dc, records.Banner, Layout().BannerY(look_.BannerStart, draw.rcItem.bottom), font_);
}

bool PopupMenu::Message(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!ownerDrawn_ || !menu_) return false;
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (m->CtlType != ODT_MENU) return false;
            m->itemWidth = Layout().ItemWidth;
            m->itemHeight = ItemHeight();
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (d->CtlType != ODT_MENU || reinterpret_cast<HMENU>(d->hwndItem) != menu_.get()) return false;
            Draw(*d);
            result = TRUE;
            return true;
        }
        case WM_MENUCHAR: {
            // Owner-drawn items have no text for the system to find access keys in.
            if (reinterpret_cast<HMENU>(lParam) != menu_.get()) return false;
            int selected = -1;
            for (int i = 0, n = GetMenuItemCount(menu_); i < n; ++i)
                if (GetMenuState(menu_, i, MF_BYPOSITION) & MF_HILITE) selected = i;
            const MenuKeyAnswer answer = records_().ShownAccessKey(static_cast<char>(LOWORD(wParam)), selected);
            result = answer.Index < 0 ? MAKELRESULT(0, MNC_IGNORE)
                                      : MAKELRESULT(answer.Index, answer.Execute ? MNC_EXECUTE : MNC_SELECT);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace vexamo::win32
