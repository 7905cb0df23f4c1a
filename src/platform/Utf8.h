// Every std::string of the program holds UTF-8; Windows speaks UTF-16 and older files and players
// speak the machine's legacy code page. These are the conversions and tests the seam and the
// model need, written once so that the fake and the real platform agree to the byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vexamo {

// Strictly valid UTF-8: shortest forms only, no surrogate code points, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view text);

// UTF-16 as Windows hands it out, in UTF-8. A lone surrogate (NTFS allows one in a name, though no
// Unicode text can hold it) is kept in the three-byte form any other unit of its range would take
// (as WTF-8 does), so that the name converts back to the very same UTF-16 and still opens.
std::string Utf16ToUtf8(std::u16string_view wide);
// The way back, lone surrogates included. A byte that begins no well-formed sequence becomes
// U+FFFD, as Windows' own conversion does.
std::u16string Utf8ToUtf16(std::string_view text);
// How many UTF-16 units the text takes: the measure of Windows' path limits.
std::size_t Utf16Length(std::string_view text);

// The longest start of the text of at most `bytes` bytes that does not cut a character in two.
std::string_view CutAtCharacter(std::string_view text, std::size_t bytes);

// The byte order mark a text editor may put in front of UTF-8.
inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

}  // namespace vexamo
