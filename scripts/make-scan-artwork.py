#!/usr/bin/env python3
"""Draws the pictures of the scan's windows into resources/.

Uses the shapes, canvas and JPEG encoder of make-artwork.py, so every run
gives the same bytes with nothing beyond the Python standard library.

    python3 scripts/make-scan-artwork.py [output-dir]

Outputs:
  scan_splash.jpg     127x97   the progress window's picture; its lower part
                               stays plain for "Please Wait..." and the bar
  scan_banner.png     450x69   the chooser's banner behind "File Scan Results"
  scan_types.png      1700x55  34 row pictures of 50x55, magenta-keyed: 0 is
                               never shown, n + 1 is the n-th known extension
                               (.mp3 .wav .asx .cda .ogg .wma .wmv .avi .divx
                               .mov .mpg .mpeg, then today's: .mp4 .m4v .mkv
                               .webm .ts .m2ts .mts .vob .3gp .flv .flac .m4a
                               .aac .opus .ape .wv .mka), and 30 to 33 the discs
                               played whole (DVD-Video, Blu-ray, Video CD,
                               Super Video CD); pictures 0 to 12 never change
  scan_popup.png      16x16    the picture of "Enqueue && &Play"
"""

import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_found = importlib.util.spec_from_file_location("artwork", os.path.join(HERE, "make-artwork.py"))
art = importlib.util.module_from_spec(_found)
_found.loader.exec_module(art)

WHITE = (255, 255, 255)


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
# Today's formats: ten video, then seven audio.
TYPE_COLOURS += [
    (220, 90, 50), (70, 130, 210), (30, 140, 110), (160, 70, 140), (200, 120, 30), (90, 90, 170),
    (60, 150, 80), (150, 100, 60), (190, 60, 90), (80, 140, 160),
    (40, 120, 200), (210, 110, 60), (120, 160, 40), (170, 80, 170), (60, 140, 140), (200, 150, 40), (130, 90, 200)]
TYPE_VIDEO += [True] * 10 + [False] * 7
# The discs played whole, each with the colour of its label.
DISC_COLOURS = [(110, 60, 170), (30, 100, 210), (40, 150, 70), (20, 140, 150)]


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


def disc_picture(kind):
    cv = art.Canvas(50, 55)
    colour = DISC_COLOURS[kind]
    cv.fill(art.circle(25, 26, 21), (90, 98, 110, 255))
    cv.fill(art.circle(25, 26, 20), vertical((246, 248, 252), (200, 208, 222), 6, 46))
    cv.fill(art.circle(25, 26, 11), colour + (255,))
    cv.fill(art.circle(25, 26, 4.5), (236, 238, 242, 255))
    cv.fill(art.circle(25, 26, 2.2), (90, 98, 110, 255))
    # As on the row pictures of files: dots under the disc tell the kinds apart beyond their hue.
    for k in range(kind + 1):
        cv.fill(art.circle(25 - kind * 2.5 + k * 5, 51, 1.5), colour + (255,))
    return cv.pixels()


def type_picture(index):
    cv = art.Canvas(50, 55)
    if index == 0:
        return cv.pixels()
    if index > len(TYPE_COLOURS):
        return disc_picture(index - len(TYPE_COLOURS) - 1)
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
    kind_pos = (index - 1) % 6 if index <= 12 else (index - 13) % 6
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
    art.write(os.path.join(out, "scan_splash.jpg"), art.baseline_jpeg_bytes(splash()))
    art.write(os.path.join(out, "scan_banner.png"), art.rgb_png_bytes(banner()))
    strip = [[] for _ in range(55)]
    for i in range(1 + len(TYPE_COLOURS) + len(DISC_COLOURS)):
        rows = art.keyed_rgb(type_picture(i))
        for y in range(55):
            strip[y].extend(rows[y])
    art.write(os.path.join(out, "scan_types.png"), art.rgb_png_bytes(strip))
    art.write(os.path.join(out, "scan_popup.png"), art.rgb_png_bytes(art.keyed_rgb(popup_picture())))


if __name__ == "__main__":
    main()
