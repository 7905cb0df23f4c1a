#include "platform/win32/Pictures.h"

#include <exception>
#include <string>

#include "platform/Jpeg.h"
#include "platform/Layout.h"
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

// A picture of the resources stretched into a bitmap of the screen's kind at `width` x `height`,
// in the stretch `mode`; none when it is missing or cannot be decoded.
Bitmap Stretched(int resourceId, int width, int height, int mode) {
    const Picture picture(resourceId);
    const ScopedGetDC screen(nullptr);
    Bitmap bitmap(picture ? CreateCompatibleBitmap(screen, width, height) : nullptr);
    if (!bitmap) return bitmap;
    const MemoryDC to(screen);
    const ScopedSelect target(to, bitmap);
    picture.Draw(to, 0, 0, width, height, mode);
    return bitmap;
}

}  // namespace

Picture::Picture(int resourceId) {
    const std::string bytes = ResourceBytes(resourceId);
    if (bytes.empty()) return;
    JpegImage image;
    try {
        // The strips and the chooser's banner are PNG pictures, the artwork JPEG.
        image = bytes.rfind("\x89" "PNG", 0) == 0 ? DecodePng(bytes) : DecodeJpeg(bytes);
    } catch (const std::exception&) {
        return;
    }
    info_ = TopDownRgb(image.Width, image.Height);
    bits_ = BitmapRows(image);
}

void Picture::Draw(HDC dc, int x, int y, int width, int height, int mode) const {
    if (bits_.empty()) return;
    SetStretchBltMode(dc, mode);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, x, y, width, height, 0, 0, Width(), Height(), bits_.data(), &info_, DIB_RGB_COLORS, SRCCOPY);
}

void Picture::DrawFitted(HDC dc, const RECT& box) const {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    if (bits_.empty()) return;
    const TBox at = FittedIn({box.left, box.top, box.right, box.bottom}, Width(), Height());
    Draw(dc, at.Left, at.Top, at.Right - at.Left, at.Bottom - at.Top);
}

Bitmap LoadPngBitmap(int resourceId, int width, int height) { return Stretched(resourceId, width, height, HALFTONE); }

ImageList LoadImageStrip(int pngId, int width, int height, int count) {
    ImageList list(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 0));
    // A smooth stretch would blend the key colour into the pictures' edges, where the mask no
    // longer finds it (a pink fringe at 144 DPI): each of the strip's pixels is repeated instead,
    // so that every pixel is either a picture's or the key colour.
    const Bitmap strip = Stretched(pngId, width * count, height, COLORONCOLOR);
    if (list && strip) ImageList_AddMasked(list, strip, MaskColour);
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
