// Decoding of the program's PNG pictures (the picture strips of the lists and menus, the
// chooser's banner) into the same plain RGB pixels as the JPEG pictures. Stored as 24-bit BMP
// they made up a third of the exe; compressed they are a tenth of that, and pixel for pixel the
// same.
//
// Only what the program's own pictures use is read: 8-bit RGB without interlacing, any of the
// five row filters, the deflate stream in stored, fixed or dynamic blocks. Anything else is
// refused with a message saying what it is, rather than shown wrong.
#pragma once

#include <string>

#include "platform/Jpeg.h"

namespace vexamo {

using PngImage = JpegImage;

// The same bounds as the JPEG pictures: no window is larger than a screen.
constexpr unsigned PngMaxSide = JpegMaxSide;
constexpr unsigned long long PngMaxPixels = JpegMaxPixels;

// Raises Error when the data is not a complete, intact PNG picture of the kind above within the
// limits: a bad chunk checksum or stream checksum, a stream that ends early or holds more than the
// picture, an unknown row filter. Inflating stops at the picture's size, so a small file cannot
// ask for more memory than its header declares.
PngImage DecodePng(const std::string& bytes);

// The raw deflate stream inside a zlib wrapper, as PNG stores it, for at most `limit` bytes of
// output (raises Error beyond). Exposed for its tests.
std::string Inflate(const std::string& zlibStream, std::size_t limit);

}  // namespace vexamo
