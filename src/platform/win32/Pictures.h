// The program's pictures and fonts as its windows use them: the JPEG artwork, strips of small
// pictures, icons at a size, and the dialog font's variants.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/win32/ScopedGdi.h"
#include "platform/win32/WinApi.h"

namespace vexamo::win32 {

// The key colour of the picture strips: what is drawn in it is transparent.
constexpr COLORREF MaskColour = RGB(255, 0, 255);

// A JPEG or PNG picture of the resources (RCDATA), decoded once. A picture that is missing or cannot be
// decoded is empty and draws nothing: the window still does its work without it.
class Picture {
public:
    explicit Picture(int resourceId);
    int Width() const { return info_.bmiHeader.biWidth; }
    int Height() const { return -info_.bmiHeader.biHeight; }
    explicit operator bool() const { return !bits_.empty(); }
    // Stretched into the rectangle, smoothly unless the stretch mode says otherwise.
    void Draw(HDC dc, int x, int y, int width, int height, int mode = HALFTONE) const;
    // As large as fits the box, keeping its shape, centred; the rest of the box in the dialog face.
    void DrawFitted(HDC dc, const RECT& box) const;

private:
    BITMAPINFO info_{};
    std::vector<unsigned char> bits_;  // rows of blue, green, red, each row padded to 4 bytes
};

// A PNG picture of the resources (RCDATA) as a bitmap at `width` x `height` pixels, stretched
// smoothly (as LoadImage stretches a bitmap resource); none when it is missing or cannot be
// decoded.
Bitmap LoadPngBitmap(int resourceId, int width, int height);

// A strip of `count` pictures side by side in a PNG picture of the resources, each `width` x
// `height` pixels (the strip is enlarged to that size pixel by pixel), its key colour transparent.
ImageList LoadImageStrip(int pngId, int width, int height, int count);
// An icon of the resources at `size` pixels.
Icon LoadIconSized(int iconId, int size);
// An icon file at `size` pixels; for none or one that cannot be read, the icon `fallback` of the
// resources (0: none).
Icon LoadIconFile(const std::string& path, int size, int fallback = 0);

// Text in `colour` over what is drawn already, in `font` (the canvas's own for none); the canvas
// keeps its colours and font.
void DrawTextOver(HDC dc, const std::string& text, RECT box, COLORREF colour, UINT format, HFONT font = nullptr);

// The font a dialog's controls use.
HFONT DialogFont(HWND dialog);
LOGFONTA FontOf(HFONT font);
// The same font in bold (and underlined).
Font BoldFont(HFONT font, bool underline = false);
// Gives the controls of a dialog a font; the caller keeps it as long as the dialog.
void SetFont(HWND dialog, std::initializer_list<int> ids, HFONT font);

}  // namespace vexamo::win32
