#!/usr/bin/env python3
"""Draws the pictures of the scan's windows into resources/.

Uses the shapes and canvas of make-artwork.py, and writes its JPEG itself
(baseline, 4:4:4, the standard Huffman tables), so every run gives the same
bytes with nothing beyond the Python standard library.

    python3 scripts/make-scan-artwork.py [output-dir]

Outputs:
  scan_splash.jpg     127x97   the progress window's picture; its lower part
                               stays plain for "Please Wait..." and the bar
  scan_banner.bmp     450x69   the chooser's banner behind "File Scan Results"
  scan_types.bmp      650x55   13 row pictures of 50x55, magenta-keyed: 0 is
                               never shown, n + 1 is the n-th known extension
                               (.mp3 .wav .asx .cda .ogg .wma .wmv .avi .divx
                               .mov .mpg .mpeg)
  scan_popup.bmp      16x16    the picture of "Enqueue && &Play"
"""

import importlib.util
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_found = importlib.util.spec_from_file_location("artwork", os.path.join(HERE, "make-artwork.py"))
art = importlib.util.module_from_spec(_found)
_found.loader.exec_module(art)

WHITE = (255, 255, 255)


# --------------------------------------------------------------------------
# Baseline JPEG encoder.

ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63]

LUMA_Q = [
    16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99]
CHROMA_Q = [
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32

# (code counts for lengths 1..16, symbols) of the tables of the JPEG standard's annex K.
DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
AC_LUMA = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d], bytes.fromhex(
    "01020300041105122131410613516107227114328191a1082342b1c11552d1f02433627282090a161718191a25262728292a"
    "3435363738393a434445464748494a535455565758595a636465666768696a737475767778797a838485868788898a9293949596"
    "9798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3"
    "f4f5f6f7f8f9fa"))
AC_CHROMA = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes.fromhex(
    "000102031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125f11718191a262728292a"
    "35363738393a434445464748494a535455565758595a636465666768696a737475767778797a82838485868788898a9293949596"
    "9798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f4"
    "f5f6f7f8f9fa"))


def huffman_codes(table):
    counts, symbols = table
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(counts[length - 1]):
            codes[symbols[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


def scaled(q, quality):
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [min(255, max(1, (v * scale + 50) // 100)) for v in q]


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, code, length):
        self.acc = (self.acc << length) | code
        self.n += length
        while self.n >= 8:
            byte = (self.acc >> (self.n - 8)) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)
            self.n -= 8
        self.acc &= (1 << self.n) - 1

    def flush(self):
        if self.n:
            self.put((1 << (8 - self.n)) - 1, 8 - self.n)


COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]


def fdct(block):
    out = [0.0] * 64
    for v in range(8):
        for u in range(8):
            s = 0.0
            for y in range(8):
                cy = COS[v][y]
                row = block[y * 8:(y + 1) * 8]
                for x in range(8):
                    s += row[x] * COS[u][x] * cy
            cu = 1 / math.sqrt(2) if u == 0 else 1.0
            cv = 1 / math.sqrt(2) if v == 0 else 1.0
            out[v * 8 + u] = 0.25 * cu * cv * s
    return out


def magnitude(v):
    size = abs(v).bit_length()
    return size, (v if v >= 0 else v + (1 << size) - 1)


def jpeg_bytes(rows, quality=92):
    height, width = len(rows), len(rows[0])
    qt = [scaled(LUMA_Q, quality), scaled(CHROMA_Q, quality)]
    dc = [huffman_codes(DC_LUMA), huffman_codes(DC_CHROMA)]
    ac = [huffman_codes(AC_LUMA), huffman_codes(AC_CHROMA)]

    def plane(fn):
        return [[fn(*rows[min(y, height - 1)][min(x, width - 1)]) for x in range((width + 7) // 8 * 8)]
                for y in range((height + 7) // 8 * 8)]
    planes = [plane(lambda r, g, b: 0.299 * r + 0.587 * g + 0.114 * b - 128),
              plane(lambda r, g, b: -0.168736 * r - 0.331264 * g + 0.5 * b),
              plane(lambda r, g, b: 0.5 * r - 0.418688 * g - 0.081312 * b)]

    bits = BitWriter()
    previous = [0, 0, 0]
    for by in range(0, len(planes[0]), 8):
        for bx in range(0, len(planes[0][0]), 8):
            for c in range(3):
                t = 0 if c == 0 else 1
                block = [planes[c][by + y][bx + x] for y in range(8) for x in range(8)]
                coeffs = fdct(block)
                q = [int(round(coeffs[ZIGZAG[i]] / qt[t][ZIGZAG[i]])) for i in range(64)]
                diff = q[0] - previous[c]
                previous[c] = q[0]
                size, value = magnitude(diff)
                bits.put(*dc[t][size])
                if size:
                    bits.put(value, size)
                run = 0
                for i in range(1, 64):
                    if q[i] == 0:
                        run += 1
                        continue
                    while run > 15:
                        bits.put(*ac[t][0xF0])
                        run -= 16
                    size, value = magnitude(q[i])
                    bits.put(*ac[t][(run << 4) | size])
                    bits.put(value, size)
                    run = 0
                if run:
                    bits.put(*ac[t][0x00])
    bits.flush()

    def segment(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload

    out = bytearray(b"\xff\xd8")
    out += segment(0xE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    for t in range(2):
        out += segment(0xDB, bytes([t]) + bytes(qt[t][ZIGZAG[i]] for i in range(64)))
    out += segment(0xC0, struct.pack(">BHHB", 8, height, width, 3) +
                   bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for cls, t, table in ((0, 0, DC_LUMA), (1, 0, AC_LUMA), (0, 1, DC_CHROMA), (1, 1, AC_CHROMA)):
        out += segment(0xC4, bytes([(cls << 4) | t] + table[0]) + bytes(table[1]))
    out += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    out += bits.out
    out += b"\xff\xd9"
    return bytes(out)


# --------------------------------------------------------------------------
# Pictures.

def flatten(rows, background):
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            t = a / 255.0
            line.append(tuple(int(round(c * t + bg * (1 - t))) for c, bg in zip((r, g, b), background)))
        out.append(line)
    return out


def vertical(top_colour, bottom_colour, top, bottom):
    return lambda x, y: art.mix(top_colour, bottom_colour, (y - top) / (bottom - top)) + (255,)


def splash():
    cv = art.Canvas(127, 97)
    cv.fill(lambda x, y: -1, WHITE + (255,))
    # A sky band above the text and the bar, with the disc rising out of it.
    cv.fill(art.rounded_box(63.5, 29, 60, 26, 6), vertical((36, 84, 160), (120, 180, 236), 3, 55))
    art.draw_disc(cv, 44, 29, 21)
    art.draw_play(cv, 72, 14, 30, 1.5)
    # Three notes' worth of dots: something is being looked for.
    for i, cx in enumerate((108, 114, 120)):
        cv.fill(art.circle(cx, 44, 1.8), (255, 255, 255, 140 + 40 * i))
    cv.fill(art.segment(4, 59, 123, 59, 0.5), (36, 84, 160, 255))
    return flatten(cv.pixels(), WHITE)


def banner():
    cv = art.Canvas(450, 69)
    cv.fill(lambda x, y: -1, lambda x, y: art.mix((255, 255, 255), (196, 218, 244), x / 450) + (255,))
    cv.fill(art.segment(0, 67.5, 450, 67.5, 0.9), (36, 84, 160, 255))
    for cx, r, alpha in ((404, 30, 255), (352, 20, 150)):
        art.draw_disc(cv, cx, 34, r)
        if alpha < 255:
            cv.fill(art.circle(cx, 34, r + 0.5), (255, 255, 255, 255 - alpha))
    art.draw_play(cv, 414, 40, 24, 1.2)
    return flatten(cv.pixels(), WHITE)


# Row pictures: a page with a folded corner, its colour band telling the extension, and a note
# for sound or a film frame for pictures.
TYPE_COLOURS = [
    (214, 64, 64), (226, 140, 40), (200, 170, 30), (90, 160, 60), (40, 150, 150), (60, 110, 200),
    (110, 80, 190), (170, 60, 170), (200, 60, 120), (120, 120, 120), (30, 110, 90), (150, 90, 40)]
TYPE_VIDEO = [False, False, False, False, False, False, True, True, True, True, True, True]


def note(cv, cx, cy, colour):
    cv.fill(art.circle(cx - 4, cy + 6, 3.4), colour + (255,))
    cv.fill(art.circle(cx + 6, cy + 4, 3.4), colour + (255,))
    cv.fill(art.segment(cx - 1, cy + 6, cx - 1, cy - 8, 0.9), colour + (255,))
    cv.fill(art.segment(cx + 9, cy + 4, cx + 9, cy - 10, 0.9), colour + (255,))
    cv.fill(art.polygon([(cx - 1.9, cy - 8.5), (cx + 9.9, cy - 10.5), (cx + 9.9, cy - 7), (cx - 1.9, cy - 5)]),
            colour + (255,))


def film(cv, cx, cy, colour):
    cv.fill(art.rounded_box(cx, cy, 11, 8, 1.5), (40, 40, 48, 255))
    cv.fill(art.rounded_box(cx, cy, 7, 5.5, 1), colour + (255,))
    for k in range(-2, 3):
        for side in (-1, 1):
            cv.fill(art.rounded_box(cx + side * 9.2, cy + k * 3.2, 0.9, 0.9, 0.3), (236, 236, 236, 255))


def type_picture(index):
    cv = art.Canvas(50, 55)
    if index == 0:
        return cv.pixels()
    colour = TYPE_COLOURS[index - 1]
    page = art.polygon([(9, 3), (33, 3), (42, 12), (42, 52), (9, 52)])
    cv.fill(art.grown(page, 1.0), (90, 98, 110, 255))
    cv.fill(page, vertical((255, 255, 255), (228, 234, 242), 3, 52))
    cv.fill(art.polygon([(33, 3), (33, 12), (42, 12)]), (200, 206, 216, 255))
    cv.fill(art.rounded_box(25.5, 45, 16.5, 5, 1), colour + (255,))
    if TYPE_VIDEO[index - 1]:
        film(cv, 25.5, 25, colour)
    else:
        note(cv, 24, 26, colour)
    # Dots under the band count the extension within its kind, so two of one hue still differ.
    kind_pos = (index - 1) % 6
    for k in range(kind_pos + 1):
        cv.fill(art.circle(14 + k * 4, 45, 1.2), (255, 255, 255, 255))
    return cv.pixels()


def popup_picture():
    cv = art.Canvas(16, 16)
    for k in range(3):
        cv.fill(art.segment(1.5, 3.5 + k * 4, 8, 3.5 + k * 4, 0.9), (60, 70, 90, 255))
    art.draw_play(cv, 7, 5, 9, 1.0)
    return cv.pixels()


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "resources")
    os.makedirs(out, exist_ok=True)
    art.write(os.path.join(out, "scan_splash.jpg"), jpeg_bytes(splash()))
    art.write(os.path.join(out, "scan_banner.bmp"), art.bmp_bytes(banner()))
    strip = [[] for _ in range(55)]
    for i in range(13):
        rows = art.keyed_rgb(type_picture(i))
        for y in range(55):
            strip[y].extend(rows[y])
    art.write(os.path.join(out, "scan_types.bmp"), art.bmp_bytes(strip))
    art.write(os.path.join(out, "scan_popup.bmp"), art.bmp_bytes(art.keyed_rgb(popup_picture())))


if __name__ == "__main__":
    main()
