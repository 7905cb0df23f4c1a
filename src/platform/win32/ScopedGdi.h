// GDI clean-up without hand restores: what is selected is put back, what is created is deleted,
// what is borrowed is released, on every path out of a drawing routine.
#pragma once

#include <utility>

#include "platform/win32/WinApi.h"

namespace vexamo::win32 {

// Owns a GDI object (brush, font, pen, bitmap) and deletes it.
template <typename T>
class GdiObject {
public:
    explicit GdiObject(T object = nullptr) : object_(object) {}
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            if (object_) DeleteObject(object_);
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T get() const { return object_; }
    operator T() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T object_;
};

// Selects an object into a device context and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's (or the screen's) device context, released at the end of the scope.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedGetDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Text colour, background colour and mode of a device context, restored at the end of the scope.
class ScopedTextColours {
public:
    explicit ScopedTextColours(HDC dc)
        : dc_(dc), text_(GetTextColor(dc)), back_(GetBkColor(dc)), mode_(GetBkMode(dc)) {}
    ~ScopedTextColours() {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, back_);
        SetBkMode(dc_, mode_);
    }
    ScopedTextColours(const ScopedTextColours&) = delete;
    ScopedTextColours& operator=(const ScopedTextColours&) = delete;

private:
    HDC dc_;
    COLORREF text_;
    COLORREF back_;
    int mode_;
};

}  // namespace vexamo::win32
