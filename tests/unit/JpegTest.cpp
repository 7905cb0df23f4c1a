#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/Errors.h"
#include "platform/Jpeg.h"

using vexamo::DecodeJpeg;

namespace {

// Encodes a picture with libjpeg itself, at high quality so decoded pixels stay close.
std::string Encode(int width, int height, int components, const std::vector<unsigned char>& pixels) {
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 98, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(pixels.data()) + info.next_scanline * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

// Four flat quadrants (red, green, blue, white): flat areas survive JPEG almost unchanged,
// and a swapped channel or a flipped row order shows at once.
std::vector<unsigned char> Quadrants(int w, int h) {
    std::vector<unsigned char> px(w * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &px[(y * w + x) * 3];
            const bool right = x >= w / 2, bottom = y >= h / 2;
            if (!bottom && !right) { p[0] = 255; p[1] = 0; p[2] = 0; }
            else if (!bottom) { p[0] = 0; p[1] = 255; p[2] = 0; }
            else if (!right) { p[0] = 0; p[1] = 0; p[2] = 255; }
            else { p[0] = p[1] = p[2] = 255; }
        }
    return px;
}

void ExpectPixelNear(const vexamo::JpegImage& img, int x, int y, int r, int g, int b) {
    const unsigned char* p = &img.Rgb[(y * img.Width + x) * 3];
    EXPECT_NEAR(p[0], r, 12) << "at " << x << "," << y;
    EXPECT_NEAR(p[1], g, 12) << "at " << x << "," << y;
    EXPECT_NEAR(p[2], b, 12) << "at " << x << "," << y;
}

}  // namespace

TEST(Jpeg, DecodesColourPictureInReadingOrder) {
    // Odd sizes: rows are not padded to a multiple of the MCU in the output.
    const int w = 37, h = 21;
    const auto img = DecodeJpeg(Encode(w, h, 3, Quadrants(w, h)));
    ASSERT_EQ(img.Width, w);
    ASSERT_EQ(img.Height, h);
    ASSERT_EQ(img.Rgb.size(), static_cast<std::size_t>(w * h * 3));
    ExpectPixelNear(img, 2, 2, 255, 0, 0);
    ExpectPixelNear(img, w - 3, 2, 0, 255, 0);
    ExpectPixelNear(img, 2, h - 3, 0, 0, 255);
    ExpectPixelNear(img, w - 3, h - 3, 255, 255, 255);
}

TEST(Jpeg, GreyPictureComesOutAsRgb) {
    const int w = 16, h = 8;
    std::vector<unsigned char> px(w * h, 90);
    const auto img = DecodeJpeg(Encode(w, h, 1, px));
    ASSERT_EQ(img.Rgb.size(), static_cast<std::size_t>(w * h * 3));
    ExpectPixelNear(img, 5, 5, 90, 90, 90);
}

TEST(Jpeg, BadDataRaisesInsteadOfEndingTheProgram) {
    const int w = 32, h = 32;
    const std::string good = Encode(w, h, 3, Quadrants(w, h));

    EXPECT_THROW(DecodeJpeg(""), vexamo::Error);
    EXPECT_THROW(DecodeJpeg("this is not a picture at all"), vexamo::Error);
    // Only the header: libjpeg would pad the rest with grey and report success.
    EXPECT_THROW(DecodeJpeg(good.substr(0, good.size() / 3)), vexamo::Error);
    EXPECT_THROW(DecodeJpeg(good.substr(0, 20)), vexamo::Error);

    // A header claiming a picture far larger than any real one.
    std::string huge = good;
    const auto sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge[sof + 5] = huge[sof + 7] = '\x7F';  // 32767 x 32767, inside libjpeg's own limit
    huge[sof + 6] = huge[sof + 8] = '\xFF';
    EXPECT_THROW(DecodeJpeg(huge), vexamo::Error);

    // After all that, a good picture still decodes: no state is left behind.
    EXPECT_EQ(DecodeJpeg(good).Width, w);
}
