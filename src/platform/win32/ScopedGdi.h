// Clean-up without hand restores: what is selected is put back, what is created is freed, what is
// borrowed is released, on every path out of a drawing routine or a window's life.
#pragma once

#include <utility>

#include "platform/win32/WinApi.h"
#include <commctrl.h>

namespace vexamo::win32 {

// Owns one handle and frees it with `Free`.
template <typename H, auto Free>
class Owned {
public:
    explicit Owned(H handle = nullptr) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    H get() const { return handle_; }
    operator H() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    H release() { return std::exchange(handle_, nullptr); }
    void reset(H handle = nullptr) {
        if (handle_) Free(handle_);
        handle_ = handle;
    }

private:
    H handle_;
};

// A brush, font, pen or bitmap.
template <typename T>
using GdiObject = Owned<T, &DeleteObject>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Icon = Owned<HICON, &DestroyIcon>;
// A menu; destroying it destroys its submenus too.
using Menu = Owned<HMENU, &DestroyMenu>;
using ImageList = Owned<HIMAGELIST, &ImageList_Destroy>;
// Files and folder searches are invalid as INVALID_HANDLE_VALUE: give them through OrNull.
using FileHandle = Owned<HANDLE, &CloseHandle>;
using FindHandle = Owned<HANDLE, &FindClose>;
inline HANDLE OrNull(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }
using RegKey = Owned<HKEY, &RegCloseKey>;

// What a scope restores is restored once: a scope is never copied.
struct Uncopied {
    Uncopied() = default;
    Uncopied(const Uncopied&) = delete;
    Uncopied& operator=(const Uncopied&) = delete;
};

// A memory device context compatible with `like` (the screen for none).
class MemoryDC : public Owned<HDC, &DeleteDC> {
public:
    explicit MemoryDC(HDC like) : Owned(CreateCompatibleDC(like)) {}
};

// Selects an object into a device context and puts the previous one back.
class ScopedSelect : Uncopied {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's (or the screen's) device context, released at the end of the scope.
class ScopedGetDC : Uncopied {
public:
    explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedGetDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    operator HDC() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A window's painting between BeginPaint and EndPaint.
class ScopedPaint : Uncopied {
public:
    explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~ScopedPaint() { EndPaint(hwnd_, &paint_); }
    operator HDC() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Text colour, background colour and mode of a device context, restored at the end of the scope.
class ScopedTextColours : Uncopied {
public:
    explicit ScopedTextColours(HDC dc)
        : dc_(dc), text_(GetTextColor(dc)), back_(GetBkColor(dc)), mode_(GetBkMode(dc)) {}
    ~ScopedTextColours() {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, back_);
        SetBkMode(dc_, mode_);
    }

private:
    HDC dc_;
    COLORREF text_;
    COLORREF back_;
    int mode_;
};

}  // namespace vexamo::win32
