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

// What the decoder accepts. The pictures are shown at their own size in the program's windows,
// and no window is larger than a screen: a side beyond 4096 pixels or more pixels than a 4K
// screen holds (3840 x 2160 fits) is no picture of ours, only a header asking for memory. The
// total caps the RGB output at 24 MiB and libjpeg's coefficient buffer for a progressive picture
// at 48 MiB. Every scan is a pass over the whole picture, so the scan count is what bounds the
// time a small file can take: libjpeg's own progression writes 10 scans and encoders that tune
// theirs stay near 20, while 32 scans over a picture at the size limit take about as long as
// decoding a real photograph of that size.
constexpr unsigned JpegMaxSide = 4096;
constexpr unsigned long long JpegMaxPixels = 8ull * 1024 * 1024;
constexpr int JpegMaxScans = 32;

// Raises Error when the data is not a complete, decodable JPEG picture within the limits above.
// Corrupt data stops the decoding where it is found, not after the whole picture.
JpegImage DecodeJpeg(const std::string& bytes);

// The pixels in the layout of a 24-bit device-independent bitmap, top row first: blue, green,
// red, each row padded to a multiple of four bytes.
std::vector<unsigned char> BitmapRows(const JpegImage& image);

}  // namespace vexamo
