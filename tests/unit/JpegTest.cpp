#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/Errors.h"
#include "platform/Jpeg.h"

using vexamo::DecodeJpeg;

namespace {

// Encodes a picture with libjpeg itself, at high quality so decoded pixels stay close. With a
// script the picture is progressive in those scans; `progressive` alone uses libjpeg's own.
std::string Encode(int width, int height, int components, const std::vector<unsigned char>& pixels,
                   const std::vector<jpeg_scan_info>& script = {}, bool progressive = false) {
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
    if (!script.empty()) {
        info.scan_info = script.data();
        info.num_scans = static_cast<int>(script.size());
    } else if (progressive) {
        jpeg_simple_progression(&info);
    }
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

// The pixels libjpeg gives with its defaults: the decoder's limits must not change them.
std::vector<unsigned char> PlainDecode(const std::string& bytes) {
    jpeg_decompress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    std::vector<unsigned char> rgb(info.output_width * info.output_height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rgb.data() + info.output_scanline * info.output_width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return rgb;
}

// A grey progressive picture in `scans` scans: the DC scan, then the 63 AC coefficients in bands.
std::vector<jpeg_scan_info> Bands(int scans) {
    std::vector<jpeg_scan_info> script(scans);
    for (int i = 0; i < scans; ++i) {
        script[i].comps_in_scan = 1;
        if (i > 0) {
            script[i].Ss = 1 + (i - 1) * 63 / (scans - 1);
            script[i].Se = i * 63 / (scans - 1);
        }
    }
    return script;
}

std::string ReadTestFile(const std::string& name) {
    std::ifstream in(std::string(VEXAMO_TEST_DATA) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

long PeakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
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

TEST(Jpeg, OrdinaryPicturesDecodeAsPlainLibjpegDoes) {
    // Odd sizes leave partial blocks at the right and bottom, and colour is subsampled.
    const int w = 203, h = 117;
    const auto px = Quadrants(w, h);
    for (const bool progressive : {false, true}) {
        const std::string bytes = Encode(w, h, 3, px, {}, progressive);
        const auto img = DecodeJpeg(bytes);
        ASSERT_EQ(img.Width, w);
        EXPECT_EQ(img.Rgb, PlainDecode(bytes)) << (progressive ? "progressive" : "baseline");
    }
}

TEST(Jpeg, ScansBeyondTheLimitAreRefused) {
    const int w = 48, h = 40;
    std::vector<unsigned char> px(w * h);
    for (std::size_t i = 0; i < px.size(); ++i)
        px[i] = static_cast<unsigned char>(i * 7);  // every coefficient band carries data
    const std::string most = Encode(w, h, 1, px, Bands(vexamo::JpegMaxScans));
    EXPECT_EQ(DecodeJpeg(most).Rgb, PlainDecode(most));
    EXPECT_THROW(DecodeJpeg(Encode(w, h, 1, px, Bands(vexamo::JpegMaxScans + 1))), vexamo::Error);
}

// Small files that tied the decoder up for seconds and hundreds of megabytes. Each is progressive
// and declares 8000 x 8000: scans1 has an AC scan and no DC scan, scans3000 repeats that scan 3000
// times, trunc-prog ends inside its first scan. As they are, their size refuses them; declaring a
// size within the limits, the scan out of order or the early end must stop them at once.
class HostileJpeg : public ::testing::TestWithParam<const char*> {};

TEST_P(HostileJpeg, IsRefusedQuicklyInLittleMemory) {
    const std::string bytes = ReadTestFile(std::string("hostile-jpeg/") + GetParam());
    const auto sof = bytes.find("\xFF\xC2");
    ASSERT_NE(sof, std::string::npos);
    std::string fitting = bytes;
    fitting.replace(sof + 5, 4, "\x08\x00\x10\x00", 4);  // 2048 rows of 4096 pixels
    for (const std::string& data : {bytes, fitting}) {
        const long peakBefore = PeakMemoryKiB();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_THROW(DecodeJpeg(data), vexamo::Error);
        // Measured below 15 ms; the bound leaves room for a loaded machine.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
        // ctest runs each case in a process of its own, so the peak can only rise by what this
        // decoding touched (a full decoding of the fitting size touches over 40 MiB).
        EXPECT_LT(PeakMemoryKiB() - peakBefore, 8 * 1024);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileJpeg, ::testing::Values("scans1.jpg", "scans3000.jpg", "trunc-prog.jpg"));

TEST(Jpeg, BitmapRowsAreBlueGreenRedPaddedToFourBytes) {
    vexamo::JpegImage image;
    image.Width = 3;
    image.Height = 2;
    for (unsigned char v = 1; v <= 18; ++v) image.Rgb.push_back(v);
    EXPECT_EQ(vexamo::BitmapRows(image), (std::vector<unsigned char>{3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0,  //
                                                             12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0}));
    image.Width = 4;
    image.Height = 1;
    image.Rgb.resize(12);
    EXPECT_EQ(vexamo::BitmapRows(image).size(), 12u) << "a row of four pixels needs no padding";
}
