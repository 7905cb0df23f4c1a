#include "platform/win32/Pictures.h"

#include <exception>
#include <string>

#include "platform/Jpeg.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Window.h"

namespace vexamo::win32 {

Picture::Picture(int resourceId) {
    HRSRC found = FindResourceA(Instance(), MAKEINTRESOURCEA(resourceId), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(Instance(), found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data) return;
    JpegImage image;
    try {
        image = DecodeJpeg(std::string(data, SizeofResource(Instance(), found)));
    } catch (const std::exception&) {
        return;
    }
    info_.bmiHeader.biSize = sizeof info_.bmiHeader;
    info_.bmiHeader.biWidth = image.Width;
    info_.bmiHeader.biHeight = -image.Height;  // top row first, as decoded
    info_.bmiHeader.biPlanes = 1;
    info_.bmiHeader.biBitCount = 24;
    info_.bmiHeader.biCompression = BI_RGB;
    bits_ = BitmapRows(image);
}

void Picture::Draw(HDC dc, int x, int y, int width, int height) const {
    if (bits_.empty()) return;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, x, y, width, height, 0, 0, Width(), Height(), bits_.data(), &info_, DIB_RGB_COLORS, SRCCOPY);
}

void Picture::DrawFitted(HDC dc, const RECT& box) const {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    if (bits_.empty()) return;
    const int bw = box.right - box.left, bh = box.bottom - box.top;
    int w = bw, h = MulDiv(bw, Height(), Width());
    if (h > bh) {
        h = bh;
        w = MulDiv(bh, Width(), Height());
    }
    Draw(dc, box.left + (bw - w) / 2, box.top + (bh - h) / 2, w, h);
}

int PictureSize(int px96, const std::vector<int>& sizes) {
    const int wanted = Scale(px96);
    int best = sizes.front();
    for (int size : sizes)
        if (size <= wanted && size > best) best = size;
    return best;
}

ImageList LoadImageStrip(int bitmapId, int width, int height, int count) {
    ImageList list(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 0));
    // A smooth stretch would blend the key colour into the pictures' edges, where the mask no
    // longer finds it (a pink fringe at 144 DPI): the strip is read at its own size and each of
    // its pixels repeated, so that every pixel is either a picture's or the key colour.
    const Bitmap strip(static_cast<HBITMAP>(
        LoadImageA(Instance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP own{};
    if (!list || !strip || !GetObjectA(strip, sizeof own, &own)) return list;
    const ScopedGetDC screen(nullptr);
    const Bitmap scaled(CreateCompatibleBitmap(screen, width * count, height));
    {
        const MemoryDC from(screen), to(screen);
        const ScopedSelect source(from, strip), target(to, scaled);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, width * count, height, from, 0, 0, own.bmWidth, own.bmHeight, SRCCOPY);
    }
    ImageList_AddMasked(list, scaled, MaskColour);
    return list;
}

Icon LoadIconSized(int iconId, int size) {
    return Icon(static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, 0)));
}

Icon LoadIconFile(const std::string& path, int size, int fallback) {
    Icon icon;
    if (!path.empty())
        icon.reset(static_cast<HICON>(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
    if (!icon && fallback) icon = LoadIconSized(fallback, size);
    return icon;
}

void DrawTextOver(HDC dc, const std::string& text, RECT box, COLORREF colour, UINT format, HFONT font) {
    const ScopedTextColours colours(dc);
    const ScopedSelect selected(dc, font ? font : GetCurrentObject(dc, OBJ_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    // The text is UTF-8: the wide call draws every script, whatever the code page.
    DrawTextW(dc, Wide(text).c_str(), -1, &box, format);
}

HFONT DialogFont(HWND dialog) { return reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)); }

LOGFONTA FontOf(HFONT font) {
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    return lf;
}

Font BoldFont(HFONT font, bool underline) {
    LOGFONTA lf = FontOf(font);
    lf.lfWeight = FW_BOLD;
    if (underline) lf.lfUnderline = TRUE;
    return Font(CreateFontIndirectA(&lf));
}

void SetFont(HWND dialog, std::initializer_list<int> ids, HFONT font) {
    for (int id : ids) SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace vexamo::win32
