// Decoding of the program's JPEG pictures (the progress window's picture, the wizard's banner,
// the about box's pictures) into plain RGB pixels that the window bindings turn into bitmaps.
#pragma once

#include <string>
#include <vector>

namespace vexamo {

struct JpegImage {
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Rgb;  // Height rows of Width pixels, 3 bytes each, top row first
};

// Raises Error when the data is not a complete, decodable JPEG picture.
JpegImage DecodeJpeg(const std::string& bytes);

}  // namespace vexamo
