#include "agent/MenuDraw_win32.h"

#include <algorithm>

#include "platform/win32/Window.h"

namespace vexamo {

using win32::GdiObject;
using win32::Scale;
using win32::ScopedSelect;

namespace {

HFONT MenuFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectA(&metrics.lfMenuFont);
    }();
    return font;
}

}  // namespace

MenuCanvas::MenuCanvas(HDC canvas, bool selected) : colours_(canvas), font_(canvas, MenuFont()) {
    SetBkColor(canvas, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    SetTextColor(canvas, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
}

int OwnerDrawnMenuHeight() {
    // The height the system gives a text item of the menu font.
    win32::ScopedGetDC screen(nullptr);
    ScopedSelect font(screen, MenuFont());
    TEXTMETRICA tm{};
    GetTextMetricsA(screen, &tm);
    return std::max<int>(tm.tmHeight + Scale(4), GetSystemMetrics(SM_CYMENUSIZE));
}

void DrawMenuItem(HDC canvas, RECT itemRect, bool enabled, bool indented, const std::string& caption,
                  int pictureIndex, HIMAGELIST images, bool selected) {
    COLORREF fill = GetBkColor(canvas);
    if (enabled) {
        fill = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    } else {
        SetTextColor(canvas, GetSysColor(COLOR_GRAYTEXT));
    }
    itemRect.left = Scale(20);
    GdiObject<HBRUSH> brush(CreateSolidBrush(fill));
    FillRect(canvas, &itemRect, brush);
    if (images && pictureIndex >= 0) {
        int width = 16, height = 16;
        ImageList_GetIconSize(images, &width, &height);
        const int top = itemRect.top + (itemRect.bottom - itemRect.top - height) / 2;
        ImageList_Draw(images, pictureIndex, canvas, Scale(22), top, ILD_TRANSPARENT);
    }
    DrawMenuItemText(Scale(indented ? 45 : 25), canvas, caption, itemRect);
}

void DrawMenuItemText(int x, HDC canvas, const std::string& caption, RECT itemRect) {
    itemRect.left = x;
    const int oldMode = SetBkMode(canvas, TRANSPARENT);
    DrawTextA(canvas, caption.c_str(), static_cast<int>(caption.size()), &itemRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    SetBkMode(canvas, oldMode);
}

void DrawMenuBanner(HDC canvas, int x, const std::string& text, int y) {
    RECT band{0, 0, Scale(20), std::max(Scale(150), y + Scale(7))};
    GdiObject<HBRUSH> grey(CreateSolidBrush(RGB(128, 128, 128)));
    FillRect(canvas, &band, grey);

    LOGFONTA base{};
    GetObjectA(GetCurrentObject(canvas, OBJ_FONT), sizeof base, &base);
    LOGFONTA turned{};
    turned.lfHeight = base.lfHeight - 2;
    turned.lfWeight = FW_BOLD;
    turned.lfEscapement = 900;  // runs from bottom to top
    turned.lfOrientation = 900;
    turned.lfCharSet = DEFAULT_CHARSET;
    turned.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynA(turned.lfFaceName, "Arial", LF_FACESIZE);
    GdiObject<HFONT> font(CreateFontIndirectA(&turned));
    win32::ScopedTextColours colours(canvas);
    ScopedSelect selectFont(canvas, font);
    SetTextColor(canvas, RGB(255, 255, 255));
    SetBkMode(canvas, TRANSPARENT);
    TextOutA(canvas, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace vexamo
