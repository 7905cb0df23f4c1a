#!/usr/bin/env python3
"""Draws Vexamo's icons and menu pictures into resources/.

Everything is drawn from geometry (signed distances), supersampled and
averaged, so the output is byte-for-byte the same on every run and needs
nothing beyond the Python standard library.

    python3 scripts/make-artwork.py [output-dir]

Outputs:
  tray_on.ico   16, 32      monitoring on: disc with a green play badge
  tray_off.ico  16, 32      monitoring off: greyed disc with a red stop badge
  app.ico       16, 32, 48  program icon
  menu_*.bmp    16x16       24-bit, magenta (#FF00FF) marks transparency
  menu_strip.png 80x16      the five menu pictures in image-list order:
                            0 scan, 1 off, 2 settings, 3 exit, 4 on
  players_N.png  13N x N    the configuration window's player pictures for
                            N = 16, 24, 32 (96, 144, 192 DPI), magenta-keyed
                            against the white of a list: 0 a player made
                            with the wizard (and an AutoPlay handler's),
                            1-12 the default players
  banner.ico     40, 60, 80 the disc of the configuration window's banner
  step_K.ico     16, 24, 32 the pictures of its four steps (K = 1..4)
  wizard_banner.jpg 500x60  the player wizard's banner (baseline JPEG)
  wizard_test.ico 16, 32    the wizard's test bar: a play badge on a console
  wizard_cmd.ico  16, 32    the wizard's command-line group: a console prompt
  about_product.jpg 180x120 the about box's product picture
  about_maker.jpg   210x120 the about box's maker picture
                            (both drawn at 144 DPI size; the box shows them
                            at 2/3 on a 96 DPI screen)
  ../installer/wizard.bmp   164x314 the installer's welcome and finish panel
                            (into output-dir too when one is given)

Every JPEG picture (of this script and of make-scan-artwork.py) is written by
the small baseline encoder below, so nothing beyond the standard library is
needed and every run gives the same bytes.
"""

import math
import os
import struct
import sys
import zlib

SUPERSAMPLE = 4

# Menu pictures have no alpha channel, so half-covered edge pixels are
# blended against the usual light menu background instead of the key colour;
# blending against magenta would leave a pink fringe.
MENU_BACKGROUND = (240, 240, 240)
MAGENTA = (255, 0, 255)


# --------------------------------------------------------------------------
# Signed distance shapes: negative inside, positive outside, in pixels.

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r_outer, r_inner):
    def sd(x, y):
        d = math.hypot(x - cx, y - cy)
        return max(d - r_outer, r_inner - d)
    return sd


def segment(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sd(x, y):
        t = ((x - ax) * dx + (y - ay) * dy) / length2
        t = min(1.0, max(0.0, t))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - half_width
    return sd


def polygon(points):
    n = len(points)

    def sd(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            dx, dy = bx - ax, by - ay
            t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
            t = min(1.0, max(0.0, t))
            best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * dx / (by - ay):
                    inside = not inside
        return -best if inside else best
    return sd


def rounded_box(cx, cy, half_w, half_h, radius):
    def sd(x, y):
        qx = abs(x - cx) - half_w + radius
        qy = abs(y - cy) - half_h + radius
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return sd


def grown(sd, amount):
    return lambda x, y: sd(x, y) - amount


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


# --------------------------------------------------------------------------
# Canvas: premultiplied RGBA samples at SUPERSAMPLE x the output size.

class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.sw, self.sh = width * SUPERSAMPLE, height * SUPERSAMPLE
        self.samples = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.sw * self.sh)]

    def fill(self, shape, paint):
        """Composites `paint` (RGBA tuple, or function of x, y giving one)
        over every sample inside `shape`."""
        step = 1.0 / SUPERSAMPLE
        for j in range(self.sh):
            y = (j + 0.5) * step
            row = j * self.sw
            for i in range(self.sw):
                x = (i + 0.5) * step
                if shape(x, y) > 0:
                    continue
                r, g, b, a = paint(x, y) if callable(paint) else paint
                a /= 255.0
                s = self.samples[row + i]
                keep = 1.0 - a
                s[0] = r / 255.0 * a + s[0] * keep
                s[1] = g / 255.0 * a + s[1] * keep
                s[2] = b / 255.0 * a + s[2] * keep
                s[3] = a + s[3] * keep

    def pixels(self):
        """Rows top to bottom of straight-alpha (r, g, b, a) bytes."""
        n = SUPERSAMPLE * SUPERSAMPLE
        rows = []
        for py in range(self.height):
            row = []
            for px in range(self.width):
                acc = [0.0, 0.0, 0.0, 0.0]
                for j in range(SUPERSAMPLE):
                    base = (py * SUPERSAMPLE + j) * self.sw + px * SUPERSAMPLE
                    for i in range(SUPERSAMPLE):
                        s = self.samples[base + i]
                        for k in range(4):
                            acc[k] += s[k]
                a = acc[3] / n
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(to_byte(acc[k] / n / a) for k in range(3))
                           + (to_byte(a),))
            rows.append(row)
        return rows


def to_byte(v):
    return max(0, min(255, int(round(v * 255.0))))


def mix(c1, c2, t):
    t = min(1.0, max(0.0, t))
    return tuple(c1[k] + (c2[k] - c1[k]) * t for k in range(len(c1)))


def greyed(paint):
    """Washes a paint out to a flat light grey, for the 'off' look."""
    def grey_paint(x, y):
        r, g, b, a = paint(x, y) if callable(paint) else paint
        lum = 0.30 * r + 0.59 * g + 0.11 * b
        v = 150 + (lum - 150) * 0.55
        return (v, v, v, a)
    return grey_paint


# --------------------------------------------------------------------------
# Motifs. Each takes the canvas and the geometry in pixels so one drawing
# serves every size; the small sizes pass simplified=True.

def draw_disc(cv, cx, cy, radius, grey=False, simplified=False):
    rim_w = max(1.0, radius * 0.075)
    hub_r = radius * (0.42 if simplified else 0.38)
    hole_r = radius * (0.2 if simplified else 0.15)

    def surface(x, y):
        ang = math.atan2(y - cy, x - cx)
        t = math.hypot(x - cx, y - cy) / radius
        # Cyan sheen along the rising diagonal, white glint along the falling
        # one; squared cosines keep the bands soft at 16 pixels.
        sheen = max(0.0, math.cos(2 * (ang + math.pi / 4))) ** 2
        glint = max(0.0, math.cos(2 * (ang - math.pi / 4))) ** 4
        c = mix((188, 198, 212), (80, 190, 230), sheen * (0.9 if simplified else 0.8))
        c = mix(c, (252, 253, 255), glint * 0.85 * min(1.0, t * 1.4))
        return c + (255,)

    def paint(p):
        return greyed(p) if grey else p

    rim = (58, 70, 88, 255)
    cv.fill(ring(cx, cy, radius, hole_r), paint(rim))
    cv.fill(ring(cx, cy, radius - rim_w, hub_r), paint(surface))
    if not simplified:
        # Faint track grooves.
        for f in (0.62, 0.8):
            cv.fill(ring(cx, cy, radius * f + 0.35, radius * f - 0.35),
                    paint((110, 130, 150, 110)))
    # The clear plastic hub, with its edge and the hole's edge in rim colour.
    cv.fill(ring(cx, cy, hub_r, hole_r), paint((120, 135, 152, 255)))
    cv.fill(ring(cx, cy, hub_r - rim_w * 0.8, hole_r + rim_w * 0.8),
            paint((232, 238, 244, 255)))


def draw_play(cv, left, top, size, outline):
    """Green play triangle inside the box (left, top, size), dark edged."""
    inset = outline
    pts = [(left + inset, top + inset),
           (left + inset, top + size - inset),
           (left + size - inset, top + size / 2.0)]
    tri = polygon(pts)
    cv.fill(grown(tri, outline), (18, 84, 24, 255))

    def green(x, y):
        return mix((150, 236, 110), (34, 160, 44), (y - top) / size) + (255,)
    cv.fill(tri, green)


def draw_stop(cv, left, top, size, outline):
    """Red stop square inside the box (left, top, size), dark edged."""
    half = size / 2.0
    box = rounded_box(left + half, top + half, half - outline, half - outline, size * 0.12)
    cv.fill(grown(box, outline), (110, 14, 14, 255))

    def red(x, y):
        return mix((255, 120, 100), (200, 24, 24), (y - top) / size) + (255,)
    cv.fill(box, red)


def draw_lamp(cv, cx, cy, r, dark, mid, light):
    cv.fill(circle(cx, cy, r), dark + (255,))

    def body(x, y):
        d = math.hypot(x - (cx - r * 0.3), y - (cy - r * 0.3)) / (r * 1.3)
        return mix(light, mid, d) + (255,)
    cv.fill(circle(cx, cy, r - 1.0), body)
    cv.fill(circle(cx - r * 0.3, cy - r * 0.35, r * 0.28), (255, 255, 255, 190))


def draw_gear(cv, cx, cy, r_out, r_root, r_hole, teeth):
    # Teeth narrow slightly towards the tip so they read as a gear, not a star.
    points = []
    pitch = 2 * math.pi / teeth
    for k in range(teeth):
        a = k * pitch
        for da, r in ((-0.30, r_root), (-0.19, r_out), (0.19, r_out), (0.30, r_root)):
            points.append((cx + r * math.cos(a + da * pitch * 1.45),
                           cy + r * math.sin(a + da * pitch * 1.45)))
    gear = subtract(union(polygon(points), circle(cx, cy, r_root)), circle(cx, cy, r_hole))
    cv.fill(gear, (60, 66, 76, 255))

    def steel(x, y):
        return mix((236, 240, 246), (118, 128, 142), (x - cx + y - cy) / (4 * r_out) + 0.5) + (255,)
    cv.fill(grown(gear, -1.0), steel)


def draw_cross(cv, cx, cy, arm, half_width):
    bars = union(segment(cx - arm, cy - arm, cx + arm, cy + arm, half_width),
                 segment(cx - arm, cy + arm, cx + arm, cy - arm, half_width))
    cv.fill(grown(bars, 1.0), (120, 10, 10, 255))

    def red(x, y):
        return mix((255, 110, 96), (196, 20, 20), (y - cy + arm) / (2 * arm)) + (255,)
    cv.fill(bars, red)


# --------------------------------------------------------------------------
# Images.

def tray_image(size, on):
    cv = Canvas(size, size)
    simplified = size <= 16
    # The drawing fills size-1 pixels, leaving the last row and column clear.
    span = size - 1
    radius = span / 2.0
    draw_disc(cv, radius, radius, radius, grey=not on, simplified=simplified)
    badge = span * (0.56 if simplified else 0.5) * (1.0 if on else 0.9)
    left = span - badge
    outline = 1.0 if simplified else max(1.0, size / 24.0)
    if on:
        draw_play(cv, left, left, badge, outline)
    else:
        draw_stop(cv, left, left, badge, outline)
    return cv.pixels()


def menu_scan():
    cv = Canvas(16, 16)
    draw_disc(cv, 7.5, 7.5, 7.5, simplified=True)
    draw_play(cv, 6.0, 6.0, 9.5, 1.0)
    return cv.pixels()


def menu_off():
    cv = Canvas(16, 16)
    draw_lamp(cv, 8.0, 8.0, 6.0, (110, 16, 16), (196, 30, 30), (255, 150, 140))
    return cv.pixels()


def menu_on():
    cv = Canvas(16, 16)
    draw_lamp(cv, 8.0, 8.0, 6.0, (14, 84, 20), (36, 168, 44), (170, 250, 140))
    return cv.pixels()


def menu_settings():
    cv = Canvas(16, 16)
    draw_gear(cv, 8.0, 8.0, 7.4, 5.3, 2.1, 8)
    return cv.pixels()


def menu_exit():
    cv = Canvas(16, 16)
    draw_cross(cv, 8.0, 8.0, 4.6, 1.6)
    return cv.pixels()


# Player pictures: a rounded tile of its own colour with a white sign, so
# the rows of the player list tell apart at a glance. The signs are plain
# geometry, not any player's mark.

TILE_COLOURS = [
    ((150, 156, 166), (96, 102, 112)),   # 0 made with the wizard: grey
    ((96, 150, 236), (32, 84, 178)),     # 1 blue
    ((196, 128, 230), (112, 52, 160)),   # 2 purple
    ((255, 184, 72), (204, 112, 16)),    # 3 amber
    ((80, 206, 200), (16, 128, 128)),    # 4 teal
    ((124, 214, 96), (40, 140, 40)),     # 5 green
    ((250, 120, 112), (188, 36, 36)),    # 6 red
    ((136, 140, 236), (60, 60, 168)),    # 7 indigo
    ((255, 156, 84), (214, 84, 16)),     # 8 orange
    ((92, 116, 168), (28, 44, 96)),      # 9 navy
    ((204, 160, 112), (132, 84, 40)),    # 10 brown
    ((244, 120, 188), (172, 32, 112)),   # 11 pink
    ((196, 214, 80), (112, 134, 20)),    # 12 olive
]
WHITE = (255, 255, 255, 255)


def player_sign(cv, k, s):
    """White sign number k on a tile of size s (pixels)."""
    c = s / 2.0
    if k == 0:    # play
        cv.fill(polygon([(s * 0.36, s * 0.26), (s * 0.36, s * 0.74), (s * 0.76, c)]), WHITE)
    elif k == 1:  # disc
        cv.fill(ring(c, c, s * 0.30, s * 0.09), WHITE)
    elif k == 2:  # film frame with sprocket holes
        cv.fill(subtract(rounded_box(c, c, s * 0.30, s * 0.24, s * 0.04),
                         union(rounded_box(c, c, s * 0.14, s * 0.15, s * 0.02),
                               *[rounded_box(c + dx * s * 0.23, c + dy * s * 0.13, s * 0.035, s * 0.05, 0.0)
                                 for dx in (-1, 1) for dy in (-1, 1)])), WHITE)
    elif k == 3:  # note
        cv.fill(union(circle(s * 0.40, s * 0.68, s * 0.12),
                      segment(s * 0.50, s * 0.66, s * 0.50, s * 0.24, s * 0.045),
                      segment(s * 0.50, s * 0.26, s * 0.70, s * 0.36, s * 0.05)), WHITE)
    elif k == 4:  # screen on a foot
        cv.fill(union(subtract(rounded_box(c, s * 0.44, s * 0.28, s * 0.20, s * 0.04),
                               rounded_box(c, s * 0.44, s * 0.20, s * 0.12, 0.0)),
                      rounded_box(c, s * 0.74, s * 0.14, s * 0.04, 0.0)), WHITE)
    elif k == 5:  # level bars
        cv.fill(union(*[rounded_box(s * (0.32 + 0.18 * i), s * 0.78 - h / 2, s * 0.06, h / 2, s * 0.02)
                        for i, h in enumerate((s * 0.30, s * 0.50, s * 0.38))]), WHITE)
    elif k == 6:  # diamond
        cv.fill(polygon([(c, s * 0.20), (s * 0.78, c), (c, s * 0.80), (s * 0.22, c)]), WHITE)
    elif k == 7:  # rings of a lamp
        cv.fill(union(circle(c, c, s * 0.10), ring(c, c, s * 0.31, s * 0.21)), WHITE)
    elif k == 8:  # play sign in a ring
        cv.fill(union(ring(c, c, s * 0.32, s * 0.23),
                      polygon([(s * 0.43, s * 0.37), (s * 0.43, s * 0.63), (s * 0.63, c)])), WHITE)
    elif k == 9:  # fast forward
        cv.fill(union(polygon([(s * 0.22, s * 0.30), (s * 0.22, s * 0.70), (s * 0.50, c)]),
                      polygon([(s * 0.50, s * 0.30), (s * 0.50, s * 0.70), (s * 0.78, c)])), WHITE)
    elif k == 10:  # a list: three rows, each with its bullet
        cv.fill(union(*[union(circle(s * 0.28, s * (0.32 + 0.18 * i), s * 0.055),
                              rounded_box(s * 0.57, s * (0.32 + 0.18 * i), s * 0.19, s * 0.045, s * 0.02))
                        for i in range(3)]), WHITE)
    elif k == 11:  # a crescent
        cv.fill(subtract(circle(c, c, s * 0.30), circle(s * 0.62, s * 0.42, s * 0.22)), WHITE)
    else:         # a five-pointed star
        points = []
        for i in range(10):
            r = s * (0.32 if i % 2 == 0 else 0.13)
            a = -math.pi / 2 + i * math.pi / 5
            points.append((c + r * math.cos(a), s * 0.53 + r * math.sin(a)))
        cv.fill(polygon(points), WHITE)


def player_picture(k, s):
    cv = Canvas(s, s)
    light, dark = TILE_COLOURS[k]
    edge = max(1.0, s / 16.0)
    tile = rounded_box(s / 2.0, s / 2.0, s / 2.0 - 0.5, s / 2.0 - 0.5, s * 0.2)
    cv.fill(tile, tuple(int(v * 0.8) for v in dark) + (255,))

    def body(x, y):
        return mix(light, dark, y / s) + (255,)
    cv.fill(grown(tile, -edge), body)
    player_sign(cv, k, s)
    return cv.pixels()


def step_picture(k, s):
    """The pictures of the window's four steps: choose a player, tick its
    file types, say whether to ask, add it to the list."""
    cv = Canvas(s, s)
    dark = (40, 56, 84, 255)
    if k == 1:    # a player: a small screen with a play sign
        box = rounded_box(s / 2.0, s / 2.0, s * 0.44, s * 0.36, s * 0.08)
        cv.fill(box, dark)
        cv.fill(grown(box, -max(1.0, s / 16.0)), lambda x, y: mix((110, 170, 240), (40, 96, 190), y / s) + (255,))
        cv.fill(polygon([(s * 0.40, s * 0.32), (s * 0.40, s * 0.68), (s * 0.68, s * 0.5)]), WHITE)
    elif k == 2:  # a file with a folded corner and a tick
        page = polygon([(s * 0.18, s * 0.06), (s * 0.62, s * 0.06), (s * 0.84, s * 0.28),
                        (s * 0.84, s * 0.94), (s * 0.18, s * 0.94)])
        cv.fill(page, dark)
        cv.fill(grown(page, -max(1.0, s / 16.0)), (250, 250, 252, 255))
        cv.fill(polygon([(s * 0.60, s * 0.06), (s * 0.84, s * 0.30), (s * 0.60, s * 0.30)]), (160, 170, 186, 255))
        cv.fill(union(segment(s * 0.32, s * 0.60, s * 0.46, s * 0.74, s * 0.06),
                      segment(s * 0.46, s * 0.74, s * 0.72, s * 0.44, s * 0.06)), (34, 150, 44, 255))
    elif k == 3:  # a speech bubble with dots: the player asks first
        bubble = union(rounded_box(s / 2.0, s * 0.42, s * 0.44, s * 0.32, s * 0.14),
                       polygon([(s * 0.26, s * 0.66), (s * 0.44, s * 0.70), (s * 0.18, s * 0.92)]))
        cv.fill(bubble, dark)
        cv.fill(grown(bubble, -max(1.0, s / 16.0)), (255, 236, 150, 255))
        for i in range(3):
            cv.fill(circle(s * (0.30 + 0.20 * i), s * 0.42, s * 0.07), dark)
    else:         # a list with a plus
        for i in range(3):
            cv.fill(rounded_box(s * 0.36, s * (0.2 + 0.22 * i), s * 0.28, s * 0.07, s * 0.03), dark)
        plus = union(rounded_box(s * 0.74, s * 0.72, s * 0.22, s * 0.07, s * 0.02),
                     rounded_box(s * 0.74, s * 0.72, s * 0.07, s * 0.22, s * 0.02))
        cv.fill(grown(plus, max(1.0, s / 16.0)), (18, 84, 24, 255))
        cv.fill(plus, (90, 200, 80, 255))
    return cv.pixels()


# --------------------------------------------------------------------------
# The player wizard's pictures.

def draw_console(cv, left, top, w, h, simplified):
    """A small console window: dark body, light title strip, a '>_' prompt."""
    edge = max(1.0, w / 24.0)
    body = rounded_box(left + w / 2, top + h / 2, w / 2, h / 2, w * 0.12)
    cv.fill(body, (40, 48, 60, 255))

    def screen(x, y):
        return mix((34, 46, 70), (16, 20, 30), (y - top) / h) + (255,)
    cv.fill(grown(body, -edge), screen)
    strip = h * 0.2
    cv.fill(subtract(grown(body, -edge), lambda x, y: y - (top + strip)),
            (150, 184, 220, 255))
    lw = max(0.8, w / 20.0)
    px, py = left + w * 0.2, top + strip + (h - strip) * 0.5
    arm = (h - strip) * (0.22 if simplified else 0.2)
    cv.fill(union(segment(px, py - arm, px + arm, py, lw),
                  segment(px + arm, py, px, py + arm, lw)), (120, 240, 140, 255))
    cv.fill(segment(px + arm * 1.7, py + arm, px + arm * 3.2, py + arm, lw),
            (230, 236, 244, 255))


def wizard_cmd_image(size):
    cv = Canvas(size, size)
    span = size - 1
    draw_console(cv, 0.5, span * 0.1, span - 0.5, span * 0.8, size <= 16)
    return cv.pixels()


def wizard_test_image(size):
    cv = Canvas(size, size)
    span = size - 1
    simplified = size <= 16
    draw_console(cv, 0.5, 0.5, span * 0.8, span * 0.66, simplified)
    badge = span * (0.58 if simplified else 0.52)
    draw_play(cv, span - badge, span - badge, badge, 1.0 if simplified else max(1.0, size / 24.0))
    return cv.pixels()


def banner_pixels(width=500, height=60):
    """The banner: a night-blue band with a disc, sound arcs and a light
    track line; drawn per pixel with coverage from the signed distance."""
    disc_c, disc_r = (34.0, 30.0), 23.0
    shapes = []

    def cover(d):
        return min(1.0, max(0.0, 0.5 - d))

    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            fx, fy = x + 0.5, y + 0.5
            t = fx / width
            c = mix((16, 34, 72), (24, 96, 128), t ** 0.8)
            c = mix(c, (8, 16, 36), (fy / height) ** 2 * 0.6)
            # Sound arcs to the right of the disc.
            d = math.hypot(fx - disc_c[0], fy - disc_c[1])
            if fx > disc_c[0]:
                for k, rr in enumerate((34.0, 46.0, 58.0)):
                    a = cover(abs(d - rr) - 1.1) * (0.55 - k * 0.14)
                    c = mix(c, (120, 220, 240), a)
            # A track line running across, with beads.
            line_y = 44.0 + 4.0 * math.sin(fx / 38.0)
            c = mix(c, (90, 170, 210), cover(abs(fy - line_y) - 0.6) * 0.7 * min(1.0, max(0.0, (fx - 80) / 60)))
            for bx in range(120, width, 64):
                by = 44.0 + 4.0 * math.sin(bx / 38.0)
                c = mix(c, (200, 240, 255), cover(math.hypot(fx - bx, fy - by) - 2.0) * 0.8)
            # The disc: rim, surface with a sheen, hub and hole.
            if d < disc_r + 1.0:
                ang = math.atan2(fy - disc_c[1], fx - disc_c[0])
                sheen = max(0.0, math.cos(2 * (ang + math.pi / 4))) ** 2
                glint = max(0.0, math.cos(2 * (ang - math.pi / 4))) ** 4
                surf = mix((188, 198, 212), (80, 190, 230), sheen * 0.8)
                surf = mix(surf, (252, 253, 255), glint * 0.8)
                c = mix(c, (58, 70, 88), cover(d - disc_r))
                c = mix(c, surf, cover(d - (disc_r - 1.6)))
                c = mix(c, (120, 135, 152), cover(d - 9.0))
                c = mix(c, (232, 238, 244), cover(d - 7.8))
                c = mix(c, mix((16, 34, 72), (8, 16, 36), 0.3), cover(d - 3.6))
            # A play triangle on the disc's lower right.
            tri = polygon([(44.0, 34.0), (44.0, 54.0), (61.0, 44.0)])(fx, fy)
            c = mix(c, (18, 84, 24), cover(tri - 1.0))
            c = mix(c, mix((150, 236, 110), (34, 160, 44), (fy - 34.0) / 20.0), cover(tri))
            row.append(tuple(to_byte(v / 255.0) for v in c))
        rows.append(row)
    return rows


# --------------------------------------------------------------------------
# A small baseline JPEG encoder (4:4:4, the standard tables), so the banner
# needs no imaging library and comes out the same on every run.

ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48,
          41, 34, 27, 20, 13, 6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15,
          23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63]
LUMA_Q = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40,
          57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24, 35,
          55, 64, 81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112,
          100, 103, 99]
CHROMA_Q = [17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99,
            99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32
DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
AC_LUMA = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d], bytes.fromhex(
    "01020300041105122131410613516107227114328191a1082342b1c11552d1f02433627282090a161718191a"
    "25262728292a3435363738393a434445464748494a535455565758595a636465666768696a73747576777879"
    "7a838485868788898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9"
    "cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7f8f9fa"))
AC_CHROMA = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes.fromhex(
    "000102031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125f117"
    "18191a262728292a35363738393a434445464748494a535455565758595a636465666768696a737475767778"
    "797a82838485868788898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7"
    "c8c9cad2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f4f5f6f7f8f9fa"))


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


def scaled_table(base, quality):
    scale = 5000 // quality if quality < 50 else 200 - quality * 2
    return [min(255, max(1, (q * scale + 50) // 100)) for q in base]


class BitWriter:
    def __init__(self):
        self.out, self.acc, self.n = bytearray(), 0, 0

    def put(self, code, length):
        self.acc = (self.acc << length) | code
        self.n += length
        while self.n >= 8:
            self.n -= 8
            byte = (self.acc >> self.n) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)

    def flush(self):
        if self.n:
            self.put((1 << (8 - self.n)) - 1, 8 - self.n)


def baseline_jpeg_bytes(rows, quality=92):
    height, width = len(rows), len(rows[0])
    cos = [[(math.sqrt(0.5) if u == 0 else 1.0) * math.cos((2 * x + 1) * u * math.pi / 16) / 2
            for x in range(8)] for u in range(8)]
    tables = [scaled_table(LUMA_Q, quality), scaled_table(CHROMA_Q, quality)]
    dc = [huffman_codes(DC_LUMA), huffman_codes(DC_CHROMA)]
    ac = [huffman_codes(AC_LUMA), huffman_codes(AC_CHROMA)]

    def plane(k):
        out = []
        for row in rows:
            line = []
            for r, g, b in row:
                if k == 0:
                    v = 0.299 * r + 0.587 * g + 0.114 * b - 128
                elif k == 1:
                    v = -0.168736 * r - 0.331264 * g + 0.5 * b
                else:
                    v = 0.5 * r - 0.418688 * g - 0.081312 * b
                line.append(v)
            out.append(line)
        return out

    def magnitude(v):
        bits = abs(v).bit_length()
        return bits, (v if v >= 0 else v + (1 << bits) - 1)

    planes = [plane(k) for k in range(3)]
    writer = BitWriter()
    previous = [0, 0, 0]
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            for k in range(3):
                p = planes[k]
                block = [[p[min(by + y, height - 1)][min(bx + x, width - 1)] for x in range(8)]
                         for y in range(8)]
                rows_t = [[sum(cos[u][x] * block[y][x] for x in range(8)) for u in range(8)]
                          for y in range(8)]
                coef = [sum(cos[v][y] * rows_t[y][u] for y in range(8))
                        for v in range(8) for u in range(8)]
                q = tables[0 if k == 0 else 1]
                zz = [int(round(coef[ZIGZAG[i]] / q[ZIGZAG[i]])) for i in range(64)]
                t = 0 if k == 0 else 1
                diff = zz[0] - previous[k]
                previous[k] = zz[0]
                bits, value = magnitude(diff)
                writer.put(*dc[t][bits])
                if bits:
                    writer.put(value, bits)
                run = 0
                for i in range(1, 64):
                    if zz[i] == 0:
                        run += 1
                        continue
                    while run > 15:
                        writer.put(*ac[t][0xF0])
                        run -= 16
                    bits, value = magnitude(zz[i])
                    writer.put(*ac[t][(run << 4) | bits])
                    writer.put(value, bits)
                    run = 0
                if run:
                    writer.put(*ac[t][0x00])
    writer.flush()

    def segment_bytes(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload

    out = bytearray(b"\xff\xd8")
    out += segment_bytes(0xE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    for t in range(2):
        out += segment_bytes(0xDB, bytes([t]) + bytes(tables[t][ZIGZAG[i]] for i in range(64)))
    out += segment_bytes(0xC0, struct.pack(">BHHB", 8, height, width, 3)
                         + bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for cls, t, table in ((0, 0, DC_LUMA), (1, 0, AC_LUMA), (0, 1, DC_CHROMA), (1, 1, AC_CHROMA)):
        out += segment_bytes(0xC4, bytes([(cls << 4) | t]) + bytes(table[0]) + bytes(table[1]))
    out += segment_bytes(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    out += writer.out + b"\xff\xd9"
    return bytes(out)


# --------------------------------------------------------------------------
# File formats.

def wizard_panel():
    """The installer's side panel: the program's disc on a deep blue ground."""
    width, height = 164, 314
    cv = Canvas(width, height)

    def ground(x, y):
        return mix((22, 52, 96), (34, 120, 160), y / height) + (255,)
    cv.fill(lambda x, y: -1.0, ground)
    radius = 54.0
    cx, cy = width / 2.0, 118.0
    draw_disc(cv, cx, cy, radius)
    badge = radius
    draw_play(cv, cx + radius - badge * 0.8, cy + radius - badge * 0.8, badge, 2.5)
    return [[(r, g, b) for r, g, b, _ in row] for row in cv.pixels()]


def png_bytes(rows):
    """RGBA PNG, straight alpha, as an icon frame holds it."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def dib_frame(size, rows):
    """32-bit BGRA DIB with its AND mask."""
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0) + bytes(xor) + bytes(mask)


def ico_bytes(images, png=True):
    """ICO with one 32-bit frame per (size, rows) entry: PNG-compressed, which Windows since Vista
    and Wine read and which takes a fraction of the room, or a BGRA DIB for readers of older icons
    (the installer's)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = [], []
    for size, rows in images:
        frame = png_bytes(rows) if png else dib_frame(size, rows)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                                   len(frame), offset))
        blobs.append(frame)
        offset += len(frame)
    return header + b"".join(entries) + b"".join(blobs)


def keyed_rgb(rows, background=MENU_BACKGROUND):
    """Flattens straight-alpha pixels to RGB with magenta for the clear ones."""
    background = tuple(background)
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            if a < 96:
                line.append(MAGENTA)
            else:
                t = a / 255.0
                line.append(tuple(int(round(c * t + bg * (1 - t)))
                                  for c, bg in zip((r, g, b), background)))
        out.append(line)
    return out


def rgb_png_bytes(rows):
    """8-bit RGB PNG, the kind the program decodes. Each row under the filter that leaves the
    smallest sum (the usual guess at what compresses best), or every row unfiltered where that
    is smaller: flat drawn pictures often are."""
    height, width = len(rows), len(rows[0])
    lines = [bytes(c for px in row for c in px) for row in rows]
    raw = bytearray()
    previous = bytes(width * 3)
    for line in lines:
        candidates = []
        for kind in range(5):
            out = bytearray([kind])
            for i, x in enumerate(line):
                a = line[i - 3] if i >= 3 else 0
                b = previous[i]
                c = previous[i - 3] if i >= 3 else 0
                if kind == 0:
                    p = 0
                elif kind == 1:
                    p = a
                elif kind == 2:
                    p = b
                elif kind == 3:
                    p = (a + b) // 2
                else:
                    e = a + b - c
                    pa, pb, pc = abs(e - a), abs(e - b), abs(e - c)
                    p = a if pa <= pb and pa <= pc else b if pb <= pc else c
                out.append((x - p) & 0xFF)
            candidates.append((sum(v if v < 128 else 256 - v for v in out[1:]), kind, out))
        raw += min(candidates)[2]
        previous = line
    unfiltered = b"".join(b"\0" + line for line in lines)
    data = min(zlib.compress(bytes(raw), 9), zlib.compress(unfiltered, 9), key=len)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", data) + chunk(b"IEND", b""))


def bmp_bytes(rows):
    """24-bit bottom-up BI_RGB BMP."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        data += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data),
                       2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0,
                              14 + len(info))
    return file_header + info + bytes(data)


def about_product():
    """A disc on a deep blue plate, lit from the top left, with the play badge."""
    w, h = 180, 120
    cv = Canvas(w, h)

    def plate(x, y):
        return mix((36, 86, 160), (8, 24, 64), (x / w + y / h) / 2.0) + (255,)
    cv.fill(lambda x, y: -1.0, plate)
    # Soft light rays from behind the disc.
    for k in range(7):
        a = -0.9 + k * 0.3
        cv.fill(segment(60, 60, 60 + 160 * math.cos(a), 60 + 160 * math.sin(a), 3.0),
                (120, 180, 255, 40))
    draw_disc(cv, 60, 60, 46)
    draw_play(cv, 78, 66, 34, 2.0)
    # Three rising bars: sound coming out of the disc.
    for k, bar in enumerate((18, 30, 44)):
        left = 122 + k * 16
        cv.fill(rounded_box(left + 5, 92 - bar / 2.0, 5, bar / 2.0, 2.5),
                mix((150, 236, 110), (255, 210, 90), k / 2.0) + (255,))
    return cv.pixels()


def about_maker():
    """Warm interlocking rings on a light ground: the maker's mark."""
    w, h = 210, 120
    cv = Canvas(w, h)

    def ground(x, y):
        return mix((255, 250, 240), (238, 226, 206), y / h) + (255,)
    cv.fill(lambda x, y: -1.0, ground)
    colours = [(224, 96, 40), (240, 160, 40), (200, 50, 60)]
    for k, c in enumerate(colours):
        cx = 62 + k * 43
        cv.fill(ring(cx, 60, 34, 24), (90, 40, 20, 255))
        cv.fill(ring(cx, 60, 32.5, 25.5), c + (255,))
    cv.fill(segment(20, 106, 190, 106, 1.5), (150, 110, 80, 255))
    return cv.pixels()


def opaque(rows):
    return [[(r, g, b) for r, g, b, _ in row] for row in rows]


def write(path, data):
    # Rewrite only on change so a rerun leaves timestamps (and builds) alone.
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    os.makedirs(out, exist_ok=True)

    on16, on32, off16, off32 = (tray_image(16, True), tray_image(32, True),
                                tray_image(16, False), tray_image(32, False))
    write(os.path.join(out, "tray_on.ico"), ico_bytes([(16, on16), (32, on32)]))
    write(os.path.join(out, "tray_off.ico"), ico_bytes([(16, off16), (32, off32)]))
    write(os.path.join(out, "app.ico"),
          ico_bytes([(16, on16), (32, on32), (48, tray_image(48, True))], png=False))

    # Image-list order; the menu code indexes the strip by these positions.
    menu = [("menu_scan.bmp", menu_scan), ("menu_off.bmp", menu_off),
            ("menu_settings.bmp", menu_settings), ("menu_exit.bmp", menu_exit),
            ("menu_on.bmp", menu_on)]
    strip = [[] for _ in range(16)]
    for name, draw in menu:
        rows = keyed_rgb(draw())
        write(os.path.join(out, name), bmp_bytes(rows))
        for y in range(16):
            strip[y].extend(rows[y])
    write(os.path.join(out, "menu_strip.png"), rgb_png_bytes(strip))

    # List views are white behind their pictures.
    for size in (16, 24, 32):
        strip = [[] for _ in range(size)]
        for k in range(len(TILE_COLOURS)):
            rows = keyed_rgb(player_picture(k, size), (255, 255, 255))
            for y in range(size):
                strip[y].extend(rows[y])
        write(os.path.join(out, "players_%d.png" % size), rgb_png_bytes(strip))

    write(os.path.join(out, "banner.ico"),
          ico_bytes([(size, tray_image(size, True)) for size in (40, 60, 80)]))
    for k in range(1, 5):
        write(os.path.join(out, "step_%d.ico" % k),
              ico_bytes([(size, step_picture(k, size)) for size in (16, 24, 32)]))
    write(os.path.join(out, "about_product.jpg"), baseline_jpeg_bytes(opaque(about_product())))
    write(os.path.join(out, "about_maker.jpg"), baseline_jpeg_bytes(opaque(about_maker())))

    write(os.path.join(out, "wizard_test.ico"),
          ico_bytes([(16, wizard_test_image(16)), (32, wizard_test_image(32))]))
    write(os.path.join(out, "wizard_cmd.ico"),
          ico_bytes([(16, wizard_cmd_image(16)), (32, wizard_cmd_image(32))]))
    write(os.path.join(out, "wizard_banner.jpg"), baseline_jpeg_bytes(banner_pixels()))

    installer = out if len(sys.argv) > 1 else os.path.join(here, "..", "installer")
    write(os.path.join(installer, "wizard.bmp"), bmp_bytes(wizard_panel()))


if __name__ == "__main__":
    main()
