#include "platform/Png.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/Errors.h"

namespace vexamo {

namespace {

[[noreturn]] void Fail(const std::string& what) { throw Error("PNG picture: " + what); }

// --- Inflate (RFC 1950/1951) ----------------------------------------------------------------

class Bits {
public:
    Bits(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    unsigned Take(int count) {
        while (held_ < count) {
            if (pos_ == size_) Fail("the compressed data ends early");
            buffer_ |= std::uint32_t{data_[pos_++]} << held_;
            held_ += 8;
        }
        const unsigned value = buffer_ & ((1u << count) - 1);
        buffer_ >>= count;
        held_ -= count;
        return value;
    }
    // Stored blocks and the checksum start on a byte.
    void ToByte() {
        buffer_ = 0;
        held_ = 0;
    }
    unsigned char Byte() {
        if (pos_ == size_) Fail("the compressed data ends early");
        return data_[pos_++];
    }
    std::size_t Left() const { return size_ - pos_; }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::uint32_t buffer_ = 0;
    int held_ = 0;
};

constexpr int MaxCodeBits = 15;

// A canonical Huffman code: how many codes of each length, and the symbols in code order.
// Decoded a bit at a time: the pictures are small, and it needs no table to build or check.
struct Code {
    std::array<std::uint16_t, MaxCodeBits + 1> Count{};
    std::array<std::uint16_t, 288> Symbol{};
};

// An over-subscribed set of lengths is no code at all; an incomplete one is allowed (deflate
// permits a single distance code) and fails only if the data uses a code that is not there.
void Build(Code& code, const std::uint8_t* lengths, int n) {
    code.Count.fill(0);
    for (int s = 0; s < n; ++s) ++code.Count[lengths[s]];
    if (code.Count[0] == n) return;  // no codes: any use of it fails in Decode
    int left = 1;
    for (int len = 1; len <= MaxCodeBits; ++len) {
        left = left * 2 - code.Count[len];
        if (left < 0) Fail("a Huffman code of the compressed data is over-subscribed");
    }
    std::array<std::uint16_t, MaxCodeBits + 1> offset{};
    for (int len = 1; len < MaxCodeBits; ++len) offset[len + 1] = offset[len] + code.Count[len];
    for (int s = 0; s < n; ++s)
        if (lengths[s]) code.Symbol[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
}

int Decode(Bits& in, const Code& code) {
    int value = 0, first = 0, index = 0;
    for (int len = 1; len <= MaxCodeBits; ++len) {
        value |= static_cast<int>(in.Take(1));
        const int count = code.Count[len];
        if (value - first < count) return code.Symbol[index + value - first];
        index += count;
        first = (first + count) << 1;
        value <<= 1;
    }
    Fail("the compressed data holds a code that is not in its table");
}

constexpr std::uint16_t LengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t DistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                            33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                            1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t DistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class Inflater {
public:
    Inflater(Bits& in, std::size_t limit) : in_(in), limit_(limit) {}

    std::string Run() {
        bool last = false;
        while (!last) {
            last = in_.Take(1) != 0;
            switch (in_.Take(2)) {
            case 0: Stored(); break;
            case 1: Fixed(); break;
            case 2: Dynamic(); break;
            default: Fail("the compressed data has a block of an unknown kind");
            }
        }
        return std::move(out_);
    }

private:
    void Put(char c) {
        if (out_.size() == limit_) Fail("the compressed data holds more than the picture");
        out_.push_back(c);
    }

    void Stored() {
        in_.ToByte();
        unsigned len = in_.Byte();
        len |= unsigned{in_.Byte()} << 8;
        unsigned check = in_.Byte();
        check |= unsigned{in_.Byte()} << 8;
        if ((len ^ 0xFFFFu) != check) Fail("a stored block of the compressed data has a bad length");
        if (len > in_.Left()) Fail("the compressed data ends early");
        for (unsigned i = 0; i < len; ++i) Put(static_cast<char>(in_.Byte()));
    }

    void Fixed() {
        std::uint8_t lengths[288 + 30];
        int s = 0;
        for (; s < 144; ++s) lengths[s] = 8;
        for (; s < 256; ++s) lengths[s] = 9;
        for (; s < 280; ++s) lengths[s] = 7;
        for (; s < 288; ++s) lengths[s] = 8;
        for (; s < 288 + 30; ++s) lengths[s] = 5;
        Build(literals_, lengths, 288);
        Build(distances_, lengths + 288, 30);
        Codes();
    }

    void Dynamic() {
        const int literalCount = static_cast<int>(in_.Take(5)) + 257;
        const int distanceCount = static_cast<int>(in_.Take(5)) + 1;
        const int lengthCodeCount = static_cast<int>(in_.Take(4)) + 4;
        if (literalCount > 286 || distanceCount > 30) Fail("a block of the compressed data has too many codes");
        static constexpr std::uint8_t Order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        std::uint8_t lengths[286 + 30] = {};
        for (int i = 0; i < lengthCodeCount; ++i) lengths[Order[i]] = static_cast<std::uint8_t>(in_.Take(3));
        Code lengthCode;
        Build(lengthCode, lengths, 19);
        const int total = literalCount + distanceCount;
        for (int i = 0; i < total;) {
            const int symbol = Decode(in_, lengthCode);
            if (symbol < 16) {
                lengths[i++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            std::uint8_t repeated = 0;
            int times;
            if (symbol == 16) {
                if (i == 0) Fail("a block of the compressed data repeats a length before the first");
                repeated = lengths[i - 1];
                times = 3 + static_cast<int>(in_.Take(2));
            } else if (symbol == 17) {
                times = 3 + static_cast<int>(in_.Take(3));
            } else {
                times = 11 + static_cast<int>(in_.Take(7));
            }
            if (i + times > total) Fail("a block of the compressed data has more code lengths than codes");
            while (times--) lengths[i++] = repeated;
        }
        if (lengths[256] == 0) Fail("a block of the compressed data has no end code");
        Build(literals_, lengths, literalCount);
        Build(distances_, lengths + literalCount, distanceCount);
        Codes();
    }

    void Codes() {
        for (;;) {
            int symbol = Decode(in_, literals_);
            if (symbol < 256) {
                Put(static_cast<char>(symbol));
                continue;
            }
            if (symbol == 256) return;
            symbol -= 257;
            if (symbol >= 29) Fail("the compressed data holds a length code that does not exist");
            const std::size_t length = LengthBase[symbol] + in_.Take(LengthExtra[symbol]);
            const int d = Decode(in_, distances_);
            if (d >= 30) Fail("the compressed data holds a distance code that does not exist");
            const std::size_t distance = DistanceBase[d] + in_.Take(DistanceExtra[d]);
            if (distance > out_.size()) Fail("the compressed data refers to bytes before its start");
            for (std::size_t k = 0; k < length; ++k) Put(out_[out_.size() - distance]);
        }
    }

    Bits& in_;
    std::size_t limit_;
    std::string out_;
    Code literals_, distances_;
};

std::uint32_t Adler32(const std::string& data) {
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : data) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// --- PNG ------------------------------------------------------------------------------------

constexpr std::array<std::uint32_t, 256> CrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

std::uint32_t Crc32(const unsigned char* data, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) c = CrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t BigEndian(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

unsigned char Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<unsigned char>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes the row filters in place: `rows` holds each row's filter byte and its bytes.
std::vector<unsigned char> Unfilter(const std::string& rows, std::size_t width, std::size_t height) {
    constexpr std::size_t Step = 3;  // bytes per pixel
    const std::size_t stride = width * Step;
    std::vector<unsigned char> out(stride * height);
    for (std::size_t y = 0; y < height; ++y) {
        const unsigned char filter = static_cast<unsigned char>(rows[y * (stride + 1)]);
        const unsigned char* in = reinterpret_cast<const unsigned char*>(rows.data()) + y * (stride + 1) + 1;
        unsigned char* row = out.data() + y * stride;
        const unsigned char* up = y ? row - stride : nullptr;
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= Step ? row[i - Step] : 0, b = up ? up[i] : 0, c = up && i >= Step ? up[i - Step] : 0;
            switch (filter) {
            case 0: row[i] = in[i]; break;
            case 1: row[i] = static_cast<unsigned char>(in[i] + a); break;
            case 2: row[i] = static_cast<unsigned char>(in[i] + b); break;
            case 3: row[i] = static_cast<unsigned char>(in[i] + (a + b) / 2); break;
            case 4: row[i] = static_cast<unsigned char>(in[i] + Paeth(a, b, c)); break;
            default: Fail("row " + std::to_string(y) + " has an unknown filter (" + std::to_string(filter) + ")");
            }
        }
    }
    return out;
}

}  // namespace

std::string Inflate(const std::string& zlibStream, std::size_t limit) {
    const auto* data = reinterpret_cast<const unsigned char*>(zlibStream.data());
    if (zlibStream.size() < 2) Fail("the compressed data ends early");
    const unsigned method = data[0], flags = data[1];
    if ((method & 0x0F) != 8 || (method >> 4) > 7 || (method * 256 + flags) % 31 != 0)
        Fail("the compressed data is not a deflate stream");
    if (flags & 0x20) Fail("the compressed data asks for a preset dictionary");
    Bits in(data + 2, zlibStream.size() - 2);
    std::string out = Inflater(in, limit).Run();
    in.ToByte();
    std::uint32_t check = 0;
    for (int i = 0; i < 4; ++i) check = check << 8 | in.Byte();
    if (check != Adler32(out)) Fail("the checksum of the compressed data does not match");
    if (in.Left()) Fail("there is more after the compressed data");
    return out;
}

PngImage DecodePng(const std::string& bytes) {
    static constexpr unsigned char Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < 8 || !std::equal(Signature, Signature + 8, data)) Fail("the data is not a PNG file");
    std::size_t pos = 8;
    unsigned width = 0, height = 0;
    std::string compressed;
    bool header = false, ended = false, idatDone = false;
    while (!ended) {
        if (bytes.size() - pos < 12) Fail("the data ends before the picture does");
        const std::uint32_t length = BigEndian(data + pos);
        const unsigned char* type = data + pos + 4;
        if (length > bytes.size() - pos - 12) Fail("the data ends before the picture does");
        const unsigned char* body = type + 4;
        if (Crc32(type, length + 4) != BigEndian(body + length))
            Fail("the checksum of a chunk (" + std::string(reinterpret_cast<const char*>(type), 4) + ") does not match");
        const std::string kind(reinterpret_cast<const char*>(type), 4);
        pos += 12 + length;
        if (!header && kind != "IHDR") Fail("the picture does not start with its header");
        if (!compressed.empty() && kind != "IDAT") idatDone = true;
        if (kind == "IHDR") {
            if (header) Fail("the picture has two headers");
            if (length != 13) Fail("the header has the wrong size");
            header = true;
            width = BigEndian(body);
            height = BigEndian(body + 4);
            const unsigned depth = body[8], colour = body[9];
            if (depth != 8 || colour != 2)
                Fail("only 8-bit RGB pictures are read (this one has colour type " + std::to_string(colour) +
                     ", depth " + std::to_string(depth) + ")");
            if (body[10] != 0 || body[11] != 0) Fail("the picture uses an unknown compression or filter method");
            if (body[12] != 0) Fail("interlaced pictures are not read");
            if (width == 0 || height == 0 || width > PngMaxSide || height > PngMaxSide ||
                static_cast<unsigned long long>(width) * height > PngMaxPixels)
                Fail("the picture's size (" + std::to_string(width) + " x " + std::to_string(height) +
                     ") is beyond the limits");
        } else if (kind == "IDAT") {
            if (idatDone) Fail("the picture's data is split by other chunks");
            compressed.append(reinterpret_cast<const char*>(body), length);
        } else if (kind == "IEND") {
            ended = true;
        } else if (kind == "PLTE") {
            // A suggested palette for an RGB picture: only for screens of 256 colours.
        } else if (!(type[0] & 0x20)) {
            Fail("the picture has a chunk (" + kind + ") that is not read");
        }
    }
    if (compressed.empty()) Fail("the picture has no data");
    const std::size_t rowBytes = std::size_t{width} * 3 + 1, expected = rowBytes * height;
    const std::string rows = Inflate(compressed, expected);
    if (rows.size() != expected) Fail("the picture's data ends before the picture does");
    PngImage image;
    image.Width = static_cast<int>(width);
    image.Height = static_cast<int>(height);
    image.Rgb = Unfilter(rows, width, height);
    return image;
}

}  // namespace vexamo
