#include "platform/win32/Pictures.h"

#include <algorithm>
#include <exception>
#include <string>

#include "platform/Jpeg.h"
#include "platform/Png.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Window.h"

namespace vexamo::win32 {

namespace {

// The bytes of an RCDATA resource; empty when there is none.
std::string ResourceBytes(int resourceId) {
    HRSRC found = FindResourceA(Instance(), MAKEINTRESOURCEA(resourceId), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(Instance(), found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data ? std::string(data, SizeofResource(Instance(), found)) : std::string();
}

BITMAPINFO TopDownRgb(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A PNG picture of the resources, decoded; empty (no pixels) when missing or undecodable, so that
// a window still does its work without it.
PngImage ResourcePng(int resourceId) {
    try {
        const std::string bytes = ResourceBytes(resourceId);
        if (!bytes.empty()) return DecodePng(bytes);
    } catch (const std::exception&) {
    }
    return {};
}

// The picture as a DIB section of its own size, as LoadImage gives a bitmap resource with
// LR_CREATEDIBSECTION.
Bitmap DibSection(const PngImage& image) {
    if (image.Rgb.empty()) return Bitmap();
    const BITMAPINFO info = TopDownRgb(image.Width, image.Height);
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits) {
        const std::vector<unsigned char> rows = BitmapRows(image);
        std::copy(rows.begin(), rows.end(), static_cast<unsigned char*>(bits));
        GdiFlush();
    }
    return bitmap;
}

}  // namespace

Picture::Picture(int resourceId) {
    const std::string bytes = ResourceBytes(resourceId);
    if (bytes.empty()) return;
    JpegImage image;
    try {
        image = DecodeJpeg(bytes);
    } catch (const std::exception&) {
        return;
    }
    info_ = TopDownRgb(image.Width, image.Height);
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

Bitmap LoadPngBitmap(int resourceId, int width, int height) {
    const PngImage image = ResourcePng(resourceId);
    if (image.Rgb.empty()) return Bitmap();
    const ScopedGetDC screen(nullptr);
    Bitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    if (!bitmap) return bitmap;
    const std::vector<unsigned char> rows = BitmapRows(image);
    const BITMAPINFO info = TopDownRgb(image.Width, image.Height);
    const MemoryDC to(screen);
    const ScopedSelect target(to, bitmap);
    SetStretchBltMode(to, HALFTONE);
    StretchDIBits(to, 0, 0, width, height, 0, 0, image.Width, image.Height, rows.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
    return bitmap;
}

ImageList LoadImageStrip(int pngId, int width, int height, int count) {
    ImageList list(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 0));
    // A smooth stretch would blend the key colour into the pictures' edges, where the mask no
    // longer finds it (a pink fringe at 144 DPI): the strip is read at its own size and each of
    // its pixels repeated, so that every pixel is either a picture's or the key colour.
    const Bitmap strip = DibSection(ResourcePng(pngId));
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
