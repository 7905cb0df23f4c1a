#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "platform/Png.h"

using vexamo::DecodePng;
using vexamo::Error;
using vexamo::Inflate;

namespace {

std::string BigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Chunk(const std::string& kind, const std::string& body) {
    const std::string typed = kind + body;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
    return BigEndian(static_cast<std::uint32_t>(body.size())) + typed + BigEndian(static_cast<std::uint32_t>(crc));
}

std::string Header(std::uint32_t w, std::uint32_t h, int depth = 8, int colour = 2, int interlace = 0) {
    return BigEndian(w) + BigEndian(h) + std::string{static_cast<char>(depth), static_cast<char>(colour), 0, 0,
                                                     static_cast<char>(interlace)};
}

// zlib itself as the encoder: level 0 writes stored blocks, Z_FIXED fixed codes, the default
// dynamic ones, so each kind of block is read as another deflater writes it.
std::string Deflate(const std::string& raw, int level = 9, int strategy = Z_DEFAULT_STRATEGY) {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, 15, 9, strategy);
    std::string out(deflateBound(&z, raw.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

const std::string Signature = "\x89PNG\r\n\x1a\n";

std::string Png(const std::string& header, const std::string& zlibData, const std::string& extra = {}) {
    return Signature + Chunk("IHDR", header) + extra + Chunk("IDAT", zlibData) + Chunk("IEND", "");
}

// A picture with gradients, edges and repeats, so that every filter and both literals and matches
// occur.
std::vector<unsigned char> Pixels(int w, int h) {
    std::vector<unsigned char> px(static_cast<std::size_t>(w) * h * 3);
    std::mt19937 random(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &px[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = static_cast<unsigned char>(x * 9 + y);
            p[1] = static_cast<unsigned char>((x / 4 + y / 3) % 2 ? 255 : 0);
            p[2] = static_cast<unsigned char>(x > w / 2 ? random() : 200);
        }
    return px;
}

// The rows with each row's filter, cycling through the five.
std::string Filtered(const std::vector<unsigned char>& px, int w, int h) {
    const int stride = w * 3;
    std::string out;
    auto at = [&](int y, int i) -> int { return y < 0 || i < 0 ? 0 : px[static_cast<std::size_t>(y) * stride + i]; };
    for (int y = 0; y < h; ++y) {
        const int filter = y % 5;
        out.push_back(static_cast<char>(filter));
        for (int i = 0; i < stride; ++i) {
            const int a = at(y, i - 3), b = at(y - 1, i), c = at(y - 1, i - 3), x = at(y, i);
            int predicted = 0;
            if (filter == 1) predicted = a;
            if (filter == 2) predicted = b;
            if (filter == 3) predicted = (a + b) / 2;
            if (filter == 4) {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            out.push_back(static_cast<char>(x - predicted));
        }
    }
    return out;
}

std::string Message(const std::string& bytes) {
    try {
        DecodePng(bytes);
    } catch (const Error& e) {
        return e.what();
    }
    return "decoded";
}

constexpr int W = 37, H = 23;

TEST(Png, EveryFilterAndEveryKindOfBlockGiveTheSamePixels) {
    const auto px = Pixels(W, H);
    const std::string rows = Filtered(px, W, H);
    for (auto [level, strategy] : {std::pair{0, Z_DEFAULT_STRATEGY}, {9, Z_FIXED}, {9, Z_DEFAULT_STRATEGY},
                                   {1, Z_HUFFMAN_ONLY}, {9, Z_RLE}}) {
        const auto image = DecodePng(Png(Header(W, H), Deflate(rows, level, strategy)));
        EXPECT_EQ(image.Width, W);
        EXPECT_EQ(image.Height, H);
        EXPECT_EQ(image.Rgb, px) << "level " << level << " strategy " << strategy;
    }
    // The data split over several chunks, an ancillary chunk and a suggested palette skipped.
    const std::string z = Deflate(rows);
    const std::string split = Signature + Chunk("IHDR", Header(W, H)) + Chunk("tEXt", "Title\0x") +
                              Chunk("PLTE", std::string(6, '\1')) + Chunk("IDAT", z.substr(0, 5)) +
                              Chunk("IDAT", "") + Chunk("IDAT", z.substr(5)) + Chunk("IEND", "");
    EXPECT_EQ(DecodePng(split).Rgb, px);
    // A stored block longer than 32 KiB spans several blocks.
    const auto wide = Pixels(400, 40);
    EXPECT_EQ(DecodePng(Png(Header(400, 40), Deflate(Filtered(wide, 400, 40), 0))).Rgb, wide);
}

TEST(Png, TheProgramsOwnPicturesDecode) {
    const std::string dir = std::string(VEXAMO_SOURCE_DIR) + "/resources/";
    for (auto [name, w, h] : {std::tuple{"menu_strip.png", 80, 16}, {"players_16.png", 208, 16},
                              {"players_24.png", 312, 24}, {"players_32.png", 416, 32},
                              {"scan_banner.png", 450, 69}, {"scan_types.png", 1700, 55}, {"scan_popup.png", 16, 16}}) {
        std::ifstream in(dir + name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        const auto image = DecodePng(std::string(std::istreambuf_iterator<char>(in), {}));
        EXPECT_EQ(image.Width, w) << name;
        EXPECT_EQ(image.Height, h) << name;
    }
}

TEST(Png, OtherKindsOfPicturesAreRefusedSayingWhatTheyAre) {
    const std::string z = Deflate(Filtered(Pixels(W, H), W, H));
    EXPECT_NE(Message(Png(Header(W, H, 8, 6), z)).find("colour type 6, depth 8"), std::string::npos);
    EXPECT_NE(Message(Png(Header(W, H, 16, 2), z)).find("colour type 2, depth 16"), std::string::npos);
    EXPECT_NE(Message(Png(Header(W, H, 8, 3), z)).find("colour type 3"), std::string::npos);
    EXPECT_NE(Message(Png(Header(W, H, 8, 2, 1), z)).find("interlaced"), std::string::npos);
    EXPECT_NE(Message("GIF89a" + std::string(40, '\0')).find("not a PNG"), std::string::npos);
    EXPECT_NE(Message(Png(Header(W, H), z, Chunk("ZZZZ", ""))).find("(ZZZZ)"), std::string::npos);
    // Beyond the limits: a header asking for memory, whatever follows.
    EXPECT_NE(Message(Png(Header(5000, 1), z)).find("beyond the limits"), std::string::npos);
    EXPECT_NE(Message(Png(Header(4096, 4096), z)).find("beyond the limits"), std::string::npos);
    EXPECT_NE(Message(Png(Header(0, 5), z)).find("beyond the limits"), std::string::npos);
    EXPECT_NE(Message(Signature + Chunk("IDAT", z) + Chunk("IEND", "")).find("header"), std::string::npos);
    EXPECT_NE(Message(Signature + Chunk("IHDR", Header(W, H)) + Chunk("IEND", "")).find("no data"), std::string::npos);
    const std::string interrupted = Signature + Chunk("IHDR", Header(W, H)) + Chunk("IDAT", z.substr(0, 9)) +
                                    Chunk("tEXt", "a") + Chunk("IDAT", z.substr(9)) + Chunk("IEND", "");
    EXPECT_NE(Message(interrupted).find("split"), std::string::npos);
}

TEST(Png, DamagedDataIsRefusedWhereverItIs) {
    const std::string good = Png(Header(W, H), Deflate(Filtered(Pixels(W, H), W, H)));
    // Cut anywhere: never a picture, never a read past the end (the sanitizer run watches).
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_THROW(DecodePng(good.substr(0, n)), Error) << n;
    // Any byte changed is caught by a chunk's checksum, the signature or the header.
    for (std::size_t i = 0; i < good.size(); ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] ^ 0x10);
        EXPECT_THROW(DecodePng(bad), Error) << i;
    }
    // A filter that does not exist, in an intact stream.
    std::string rows = Filtered(Pixels(W, H), W, H);
    rows[(W * 3 + 1) * 4] = 5;
    EXPECT_NE(Message(Png(Header(W, H), Deflate(rows))).find("row 4 has an unknown filter (5)"), std::string::npos);
    // Too little and too much data for the picture the header declares.
    EXPECT_NE(Message(Png(Header(W, H + 1), Deflate(Filtered(Pixels(W, H), W, H)))).find("ends before"),
              std::string::npos);
    EXPECT_NE(Message(Png(Header(W, H - 1), Deflate(Filtered(Pixels(W, H), W, H)))).find("more than the picture"),
              std::string::npos);
}

TEST(Png, BrokenCompressedStreamsAreRefusedWithIntactChecksums) {
    const std::string raw(1000, 'a');
    auto fails = [](const std::string& zlibData, const char* what) {
        try {
            Inflate(zlibData, 1 << 20);
        } catch (const Error& e) {
            return std::string(e.what()).find(what) != std::string::npos ? ::testing::AssertionSuccess()
                                                                          : ::testing::AssertionFailure() << e.what();
        }
        return ::testing::AssertionFailure() << "inflated";
    };
    EXPECT_EQ(Inflate(Deflate(raw), 1000), raw);
    // A stream of a million zeros from a file of a kilobyte stops at the picture's size.
    EXPECT_TRUE([&] {
        try {
            Inflate(Deflate(std::string(1 << 20, '\0')), 5000);
        } catch (const Error& e) {
            return std::string(e.what()).find("more than the picture") != std::string::npos;
        }
        return false;
    }());
    std::string z = Deflate(raw);
    z[z.size() - 1] ^= 1;
    EXPECT_TRUE(fails(z, "checksum"));
    EXPECT_TRUE(fails(Deflate(raw) + "x", "more after"));
    EXPECT_TRUE(fails(std::string("\x78\x9c", 2), "ends early"));
    EXPECT_TRUE(fails(std::string("\x79\x9c", 2), "not a deflate stream"));  // method 9
    EXPECT_TRUE(fails(std::string("\x78\xbb", 2) + std::string(8, '\0'), "preset dictionary"));
    // Hand-made blocks after the header 78 01 (bits are read from the low end of each byte).
    EXPECT_TRUE(fails(std::string("\x78\x01\x07", 3), "unknown kind"));                      // final, type 3
    EXPECT_TRUE(fails(std::string("\x78\x01\x01\x05\x00\xfa\xff", 7), "ends early"));        // stored, 5 bytes missing
    EXPECT_TRUE(fails(std::string("\x78\x01\x01\x05\x00\x00\x00", 7), "bad length"));        // NLEN not ~LEN
    // Fixed block: the first code is a match (length 3, distance 1) with nothing before it.
    EXPECT_TRUE(fails(std::string("\x78\x01\x03\x02", 4) + std::string(4, '\0'), "before its start"));
    // Dynamic block whose code-length code is over-subscribed: four lengths of 1.
    EXPECT_TRUE(fails(std::string("\x78\x01\x05\x00\x92\x04", 6) + std::string(8, '\0'), "over-subscribed"));
    // Random damage inside the stream: refused or inflated, never a fault.
    std::mt19937 random(11);
    const std::string base = Deflate(Filtered(Pixels(W, H), W, H));
    for (int round = 0; round < 3000; ++round) {
        std::string bad = base;
        for (int k = 0; k < 3; ++k) bad[2 + random() % (bad.size() - 2)] ^= static_cast<char>(1 << (random() % 8));
        try {
            Inflate(bad, (W * 3 + 1) * H);
        } catch (const Error&) {
        }
    }
}

}  // namespace
