// UTF-8 above the seam, UTF-16 below it: the conversions the Win32 side makes at every wide call.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/Utf8.h"
#include "platform/win32/WinApi.h"

namespace vexamo::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

inline std::wstring Wide(std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string Narrow(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

inline std::string Narrow(const wchar_t* wide) { return wide ? Narrow(std::wstring_view(wide)) : std::string(); }

// A path as the wide file functions take it. Past MAX_PATH only the "\\?\" form reaches the file
// system (a manifest's longPathAware helps only where an administrator allowed long paths); that
// form takes a full path and is not normalised any more, so the path is made full first. Nothing
// when the path is longer than any file function takes.
inline std::optional<std::wstring> WidePath(std::string_view path) {
    std::wstring wide = Wide(path);
    // CreateDirectory's limit is the lowest: MAX_PATH less room for an 8.3 name.
    constexpr size_t plainLimit = MAX_PATH - 12;
    if (wide.size() < plainLimit) return wide;
    if (wide.size() > LongestPath) return std::nullopt;
    if (wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    std::wstring full(wide.size() + MAX_PATH, L'\0');
    DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return std::nullopt;
    full.resize(n);
    if (full.rfind(L"\\\\", 0) == 0)
        full = L"\\\\?\\UNC\\" + full.substr(2);
    else
        full = L"\\\\?\\" + full;
    if (full.size() > LongestPath + 4) return std::nullopt;
    return full;
}

}  // namespace vexamo::win32
