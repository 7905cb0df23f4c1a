#include "agent/MenuDraw_win32.h"

namespace vexamo {

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

HFONT PrepareMenuCanvas(HDC canvas, bool selected) {
    HFONT old = static_cast<HFONT>(SelectObject(canvas, MenuFont()));
    SetBkColor(canvas, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    SetTextColor(canvas, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    return old;
}

int OwnerDrawnMenuHeight() {
    // The height the system gives a text item of the menu font.
    HDC screen = GetDC(nullptr);
    HFONT old = static_cast<HFONT>(SelectObject(screen, MenuFont()));
    TEXTMETRICA tm{};
    GetTextMetricsA(screen, &tm);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    int height = tm.tmHeight + 4;
    return height < GetSystemMetrics(SM_CYMENUSIZE) ? GetSystemMetrics(SM_CYMENUSIZE) : height;
}

void DrawMenuItem(HDC canvas, RECT itemRect, bool enabled, bool indented, const std::string& caption,
                  int pictureIndex, HIMAGELIST images, bool selected) {
    COLORREF fill = GetBkColor(canvas);
    if (enabled) {
        fill = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    } else {
        SetTextColor(canvas, GetSysColor(COLOR_GRAYTEXT));
    }
    itemRect.left = 20;
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(canvas, &itemRect, brush);
    DeleteObject(brush);
    if (images && pictureIndex >= 0)
        ImageList_Draw(images, pictureIndex, canvas, 22, itemRect.top + 2, ILD_TRANSPARENT);
    DrawMenuItemText(indented ? 45 : 25, canvas, caption, itemRect);
}

void DrawMenuItemText(int x, HDC canvas, const std::string& caption, RECT itemRect) {
    itemRect.left = x;
    int oldMode = SetBkMode(canvas, TRANSPARENT);
    DrawTextA(canvas, caption.c_str(), static_cast<int>(caption.size()), &itemRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    SetBkMode(canvas, oldMode);
}

void DrawMenuBanner(HDC canvas, int x, const std::string& text, int y) {
    RECT band{0, 0, 20, 150};
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(canvas, &band, grey);
    DeleteObject(grey);

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
    HFONT font = CreateFontIndirectA(&turned);
    HFONT old = static_cast<HFONT>(SelectObject(canvas, font));
    COLORREF oldColour = SetTextColor(canvas, RGB(255, 255, 255));
    int oldMode = SetBkMode(canvas, TRANSPARENT);
    TextOutA(canvas, x, y, text.c_str(), static_cast<int>(text.size()));
    SetBkMode(canvas, oldMode);
    SetTextColor(canvas, oldColour);
    SelectObject(canvas, old);
    DeleteObject(font);
}

}  // namespace vexamo
