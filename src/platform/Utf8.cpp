#include "platform/Utf8.h"

namespace vexamo {

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The code point at `at` and the bytes it takes, or nothing for a byte that begins no well-formed
// sequence; `lenient` also takes the three-byte form of a surrogate.
bool Decode(std::string_view text, std::size_t at, char32_t& c, std::size_t& length, bool lenient) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    length = 1;
    c = lead;
    if (lead < 0x80) return true;
    std::size_t need = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return false;
    }
    if (at + need >= text.size()) return false;
    for (std::size_t i = 1; i <= need; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(next)) return false;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (IsSurrogate(c) && !lenient)) return false;
    length = need + 1;
    return true;
}

// As Decode, with U+FFFD over one byte for what is no UTF-8.
char32_t DecodeOrReplace(std::string_view text, std::size_t at, std::size_t& length) {
    char32_t c = 0;
    if (!Decode(text, at, c, length, true)) {
        length = 1;
        return Replacement;
    }
    return c;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = 0;
        std::size_t length = 0;
        if (!Decode(text, at, c, length, false)) return false;
        at += length;
    }
    return true;
}

std::string Utf16ToUtf8(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        }
        Append(out, c);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        const char32_t c = DecodeOrReplace(text, at, length);
        at += length;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        units += DecodeOrReplace(text, at, length) >= 0x10000 ? 2 : 1;
        at += length;
    }
    return units;
}

std::string_view CutAtCharacter(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    std::size_t end = bytes;
    // Back over the continuation bytes of the character the cut falls into.
    while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end]))) --end;
    return text.substr(0, end);
}

}  // namespace vexamo
