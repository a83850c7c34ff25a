#!/usr/bin/env python3
"""Draws Kestrelix's icons and caption bars.

    python3 res/make_resources.py            # rewrites res/icons/*.ico, res/Kestrelix.ico, res/captions/*.jpg
    python3 res/make_resources.py --sheets   # also docs/screenshots/icons.png and caption_bars.png

The outputs are committed, so the build never runs this script. Icons are
pure Python (anti-aliased signed-distance shapes on a 16-unit grid, 4 x 4
samples a pixel) written as .ico files with 32-bit BGRA images and 1-bit AND
masks. The caption bars are written as PPM and turned into baseline JPEGs by
ImageMagick (/usr/bin/convert), which is needed only for them and the sheets.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CONVERT = "/usr/bin/convert"

# ---------------------------------------------------------------- shapes
# Every shape is a signed distance in design units (0..16 across the icon,
# x right, y down): negative inside.


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    # Not exact, but close enough for thin rings at icon sizes.
    def f(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        k = math.hypot(dx, dy)
        if k == 0:
            return -min(rx, ry)
        g = math.hypot(dx / rx, dy / ry)
        return (k - 1) * k / g if g else -min(rx, ry)
    return f


def box(x0, y0, x1, y1, r=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return f


def seg(x0, y0, x1, y1, w):
    """A line of half-width w with round caps."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def f(x, y):
        t = 0 if ll == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - w
    return f


def poly(pts):
    n = len(pts)

    def f(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            vi, vj = pts[i], pts[j]
            ex, ey = vj[0] - vi[0], vj[1] - vi[1]
            wx, wy = x - vi[0], y - vi[1]
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1 = y >= vi[1]
            c2 = y < vj[1]
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    return f


def ring(cx, cy, r, w):
    c = circle(cx, cy, r)
    return lambda x, y: abs(c(x, y)) - w


def arc(cx, cy, r, w, a0, a1):
    """Ring of radius r, half-width w, from angle a0 to a1 (degrees,
    clockwise on screen from 3 o'clock), with round caps."""
    a0r, a1r = math.radians(a0), math.radians(a1)
    p0 = (cx + r * math.cos(a0r), cy + r * math.sin(a0r))
    p1 = (cx + r * math.cos(a1r), cy + r * math.sin(a1r))
    span = (a1 - a0) % 360

    def f(x, y):
        a = math.degrees(math.atan2(y - cy, x - cx))
        if (a - a0) % 360 <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - w
        return min(math.hypot(x - p0[0], y - p0[1]), math.hypot(x - p1[0], y - p1[1])) - w
    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def inter(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def rotated(points, cx, cy, deg):
    a = math.radians(deg)
    c, s = math.cos(a), math.sin(a)
    return [(cx + (px - cx) * c - (py - cy) * s, cy + (px - cx) * s + (py - cy) * c) for px, py in points]


def vgrad(c0, c1, y0, y1):
    """Vertical gradient fill from colour c0 at y0 to c1 at y1."""
    def f(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return f


def dgrad(c0, c1, x0, y0, x1, y1):
    """Linear gradient along the line (x0,y0)->(x1,y1)."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def f(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return f


class Layer:
    def __init__(self, sdf, fill, line=None, lw=1.0):
        """fill and line are (r,g,b) or (r,g,b,a) or a function of (x, y);
        lw is the outline width in device pixels at every size."""
        self.sdf, self.fill, self.line, self.lw = sdf, fill, line, lw


def _colour(c, x, y):
    if callable(c):
        c = c(x, y)
    if len(c) == 3:
        return c[0], c[1], c[2], 255.0
    return c


def render(layers, size, ss=4):
    scale = size / 16.0
    out = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(ss):
                y = (py + (sy + 0.5) / ss) / scale
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) / scale
                    r = g = b = a = 0.0
                    for L in layers:
                        d = L.sdf(x, y)
                        if d > 0:
                            continue
                        if L.line is not None and d > -L.lw / scale:
                            cr, cg, cb, ca = _colour(L.line, x, y)
                        else:
                            cr, cg, cb, ca = _colour(L.fill, x, y)
                        ca /= 255.0
                        r = cr * ca + r * (1 - ca)
                        g = cg * ca + g * (1 - ca)
                        b = cb * ca + b * (1 - ca)
                        a = ca + a * (1 - ca)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = ss * ss
            a = acc[3] / n
            if a <= 0.002:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(min(255, v / n / a))) for v in acc[:3]) + (int(round(a * 255)),))
        out.append(row)
    return out


# ---------------------------------------------------------------- palette
BLUE, BLUE_HI, BLUE_LINE = (52, 120, 210), (110, 170, 240), (22, 62, 130)
GREEN, GREEN_HI, GREEN_LINE = (58, 160, 58), (120, 210, 100), (22, 95, 22)
RED, RED_HI, RED_LINE = (214, 48, 40), (245, 110, 90), (130, 16, 16)
GOLD, GOLD_HI, GOLD_LINE = (240, 180, 40), (255, 225, 120), (150, 95, 10)
GREY, GREY_HI, GREY_LINE = (170, 176, 186), (232, 235, 240), (70, 76, 90)
SLATE, SLATE_LINE = (60, 84, 130), (30, 44, 76)
WHITE = (255, 255, 255)
PAPER = (252, 252, 248)
RUST, RUST_HI, RUST_LINE = (196, 92, 36), (238, 150, 70), (100, 40, 12)


def badge(c, hi, line, r=6.5):
    """A round glossy badge filling the icon."""
    return Layer(circle(8, 8, r), vgrad(hi, c, 2, 13), line)


# ---------------------------------------------------------------- icons
def k_glyph(dx=0.0, dy=0.0):
    return union(box(3.5 + dx, 3 + dy, 6.5 + dx, 13 + dy),
                 poly([(p[0] + dx, p[1] + dy) for p in [(6.3, 7.6), (10, 3), (13.4, 3), (7.6, 9.6), (6.3, 11)]]),
                 poly([(p[0] + dx, p[1] + dy) for p in [(8.4, 7.2), (13.6, 13), (10, 13), (6.5, 9.2)]]))


def icon_program():
    return [Layer(box(0.5, 0.5, 15.5, 15.5, 3), vgrad(RUST_HI, RUST, 1, 15), RUST_LINE),
            Layer(box(1.5, 1.5, 14.5, 6, 2.2), (255, 255, 255, 45)),
            Layer(k_glyph(0.6, 0.6), (90, 30, 5, 150)),
            Layer(k_glyph(), WHITE)]


def icon_close():
    x = union(seg(4.5, 4.5, 11.5, 11.5, 1.6), seg(11.5, 4.5, 4.5, 11.5, 1.6))
    return [Layer(x, vgrad(RED_HI, RED, 3, 13), RED_LINE)]


def icon_minimize():
    return [Layer(box(3, 10, 13, 13.5, 0.5), SLATE, SLATE_LINE)]


def icon_hide():
    arrow = poly([(6.5, 2), (9.5, 2), (9.5, 6.5), (12.5, 6.5), (8, 11), (3.5, 6.5), (6.5, 6.5)])
    return [Layer(arrow, vgrad((110, 140, 200), SLATE, 2, 11), SLATE_LINE),
            Layer(box(2, 12.5, 14, 15, 0.5), SLATE, SLATE_LINE)]


def icon_help():
    q = union(arc(8, 6.3, 2.4, 1.05, 165, 95),
              seg(8, 8.6, 8, 9.6, 1.05),
              circle(8, 12.1, 1.2))
    return [badge(BLUE, BLUE_HI, BLUE_LINE, 7), Layer(q, WHITE)]


def icon_about():
    i = union(circle(8, 4.6, 1.3), box(7, 6.8, 9, 12.5), box(6, 6.8, 9, 7.8), box(6, 11.5, 10, 12.5))
    return [badge((40, 150, 170), (110, 210, 225), (14, 80, 96), 7), Layer(i, WHITE)]


def icon_config():
    teeth = []
    for k in range(8):
        teeth.append(poly(rotated([(6.6, 0.8), (9.4, 0.8), (9.4, 4), (6.6, 4)], 8, 8, k * 45)))
    gear = minus(union(circle(8, 8, 5.2), *teeth), circle(8, 8, 2.2))
    return [Layer(gear, vgrad((128, 138, 158), (72, 80, 98), 1, 15), (48, 54, 68, 160)),
            Layer(ring(8, 8, 2.75, 0.45), (200, 206, 218))]


def icon_email():
    env = box(1, 3.5, 15, 12.5, 0.8)
    flap = union(seg(1.8, 4.3, 8, 9, 0.5), seg(14.2, 4.3, 8, 9, 0.5))
    return [Layer(env, vgrad(WHITE, (230, 228, 210), 3, 13), (90, 90, 80)),
            Layer(inter(flap, box(1.3, 3.8, 14.7, 12.2)), (110, 110, 100))]


def icon_find():
    return [Layer(circle(6.5, 6.5, 4.2), (200, 228, 255, 200)),
            Layer(ring(6.5, 6.5, 4.2, 1.0), (40, 50, 70)),
            Layer(box(4.3, 3.8, 6.7, 5, 0.6), (255, 255, 255, 200)),
            Layer(seg(9.8, 9.8, 13.8, 13.8, 1.5), vgrad((150, 95, 40), (100, 60, 20), 9, 14), (60, 35, 10))]


def globe_layers(cx=8, cy=8, r=6.8):
    grid = (225, 240, 255, 230)
    mer = lambda x, y: abs(ellipse(cx, cy, r * 0.42, r)(x, y)) - 0.45
    return [
        Layer(circle(cx, cy, r), dgrad((130, 200, 255), (30, 90, 190), cx - r, cy - r, cx + r * 0.6, cy + r)),
        Layer(inter(union(mer, seg(cx - r, cy, cx + r, cy, 0.45),
                          seg(cx - r, cy - r * 0.55, cx + r, cy - r * 0.55, 0.4),
                          seg(cx - r, cy + r * 0.55, cx + r, cy + r * 0.55, 0.4)),
                    circle(cx, cy, r - 0.3)), grid),
        Layer(ring(cx, cy, r - 0.5, 0.5), BLUE_LINE),
    ]


def icon_website():
    return globe_layers()


def icon_update():
    arrow = poly([(9.5, 6.5), (12.5, 6.5), (12.5, 10.5), (15, 10.5), (11, 15), (7, 10.5), (9.5, 10.5)])
    return globe_layers(6.8, 6.8, 5.8) + [Layer(arrow, vgrad(GREEN_HI, GREEN, 6, 15), GREEN_LINE)]


def icon_forbidden():
    bar = seg(4.2, 11.8, 11.8, 4.2, 1.25)
    return [Layer(circle(8, 8, 7), (255, 255, 255, 230)),
            Layer(inter(union(ring(8, 8, 5.9, 1.25), bar), circle(8, 8, 7.4)), vgrad(RED_HI, RED, 1, 15)),
            Layer(ring(8, 8, 7.15, 0.4), RED_LINE)]


def icon_whitelist():
    tick = poly([(1.5, 8.5), (4, 6.2), (6.5, 8.8), (12.5, 2.2), (15, 4.5), (6.5, 13.8)])
    return [Layer(tick, vgrad(GREEN_HI, GREEN, 2, 14), GREEN_LINE)]


def icon_delete():
    body = poly([(3.5, 5), (12.5, 5), (11.6, 15), (4.4, 15)])
    ribs = union(seg(6.2, 7, 6.4, 13, 0.45), seg(9.8, 7, 9.6, 13, 0.45), seg(8, 7, 8, 13, 0.45))
    return [Layer(body, dgrad(GREY_HI, (150, 158, 172), 3, 0, 13, 0), GREY_LINE),
            Layer(ribs, (100, 108, 122)),
            Layer(box(2, 2.8, 14, 5, 0.6), vgrad(GREY_HI, (160, 166, 180), 2.8, 5), GREY_LINE),
            Layer(box(6, 1, 10, 3.3, 0.5), GREY, GREY_LINE)]


def icon_edit():
    # A pencil from the bottom-left corner up to the top right.
    body = rotated([(3.6, 6.3), (15.2, 6.3), (15.2, 9.7), (3.6, 9.7)], 8, 8, -45)
    tip = rotated([(0.4, 8), (3.8, 6.3), (3.8, 9.7)], 8, 8, -45)
    lead = rotated([(0.4, 8), (1.7, 7.35), (1.7, 8.65)], 8, 8, -45)
    cap = rotated([(12.8, 6.3), (15.2, 6.3), (15.2, 9.7), (12.8, 9.7)], 8, 8, -45)
    return [Layer(poly(tip), (245, 215, 170), (110, 80, 40)),
            Layer(poly(lead), (50, 50, 50)),
            Layer(poly(body), dgrad(GOLD_HI, GOLD, 6, 6, 10, 10), GOLD_LINE),
            Layer(poly(cap), (230, 120, 130), (130, 50, 60))]


def icon_add():
    plus = union(box(6.2, 1.8, 9.8, 14.2, 0.6), box(1.8, 6.2, 14.2, 9.8, 0.6))
    return [Layer(plus, vgrad(GREEN_HI, GREEN, 2, 14), GREEN_LINE)]


def icon_save():
    disk = poly([(1.5, 1.5), (12.5, 1.5), (14.5, 3.5), (14.5, 14.5), (1.5, 14.5)])
    return [Layer(disk, vgrad((90, 140, 220), (40, 80, 160), 1, 15), (20, 40, 96)),
            Layer(box(4, 1.5, 12, 6.5), (225, 230, 238), (20, 40, 96)),
            Layer(box(9, 2.5, 11, 5.5), (60, 80, 120)),
            Layer(box(3.5, 9, 12.5, 14.5, 0.4), PAPER, (20, 40, 96)),
            Layer(union(box(5, 10.6, 11, 11.4), box(5, 12.4, 11, 13.2)), (150, 160, 180))]


def icon_delete_cache():
    back = poly([(4.5, 1), (11, 1), (13.5, 3.5), (13.5, 12), (4.5, 12)])
    page = poly([(2, 3.5), (8.5, 3.5), (11, 6), (11, 14.5), (2, 14.5)])
    lines = union(*[box(3.5, yy, 9.5, yy + 0.8) for yy in (7.2, 9.2, 11.2)])
    x = union(seg(9.3, 9.3, 13.7, 13.7, 1.15), seg(13.7, 9.3, 9.3, 13.7, 1.15))
    return [Layer(back, (225, 228, 235), GREY_LINE),
            Layer(page, PAPER, GREY_LINE),
            Layer(lines, (150, 160, 180)),
            Layer(x, vgrad(RED_HI, RED, 9, 14), RED_LINE)]


def arc_arrow(cx, cy, r, w, a_head, a_tail, head_len, head_w):
    """An arc from a_tail clockwise to a_head (degrees, clockwise on screen
    from 3 o'clock) with an arrow head at a_head pointing on clockwise."""
    a = math.radians(a_head)
    ex, ey = cx + r * math.cos(a), cy + r * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)  # clockwise tangent on screen
    nx, ny = math.cos(a), math.sin(a)
    head = poly([(ex + tx * head_len, ey + ty * head_len),
                 (ex - tx * 0.4 + nx * head_w, ey - ty * 0.4 + ny * head_w),
                 (ex - tx * 0.4 - nx * head_w, ey - ty * 0.4 - ny * head_w)])
    return union(arc(cx, cy, r, w, a_tail, a_head), head)


def icon_refresh():
    shape = arc_arrow(7.6, 8.8, 5.1, 1.35, 268, 355, 3.8, 3.3)
    return [Layer(shape, vgrad(GREEN_HI, GREEN, 2, 14), GREEN_LINE)]


def icon_play():
    tri = poly([(6, 4.3), (12.2, 8), (6, 11.7)])
    return [badge(GREEN, GREEN_HI, GREEN_LINE, 7), Layer(tri, WHITE)]


ICONS = [
    # id, file stem, what it stands for, drawing
    (128, "128-program", "program: window, tray, 'Show me'", icon_program),
    (130, "130-help", "Help (F1) / tray 'Help'", icon_help),
    (131, "131-minimize", "caption 'Minimize'", icon_minimize),
    (132, "132-about", "About / tray 'About...'", icon_about),
    (133, "133-config", "Config", icon_config),
    (134, "134-hide", "caption and tray 'Hide me'", icon_hide),
    (136, "136-email", "Send email to us", icon_email),
    (139, "139-find", "Find item in this list (F3)", icon_find),
    (142, "142-close", "caption 'Close' / tray 'Exit'", icon_close),
    (143, "143-website", "Visit our web site", icon_website),
    (144, "144-update", "Online Update", icon_update),
    (177, "177-forbidden", "Add selected item to the forbidden list", icon_forbidden),
    (178, "178-delete", "Delete selected item (Delete)", icon_delete),
    (180, "180-whitelist", "Add selected item to the White list", icon_whitelist),
    (186, "186-edit", "Update item with your input", icon_edit),
    (189, "189-add", "Add new item with your input", icon_add),
    (190, "190-save", "Save selected flash to...", icon_save),
    (200, "200-delete-cache", "Delete cache files of the selected URL", icon_delete_cache),
    (217, "217-refresh", "Refresh the log (F5)", icon_refresh),
    (218, "218-play", "Visit/Play", icon_play),
]

# ---------------------------------------------------------------- .ico


def dib(img):
    size = len(img)
    xor = bytearray()
    for row in reversed(img):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    andm = bytearray()
    for row in reversed(img):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        andm += bits
    hdr = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    return hdr + bytes(xor) + bytes(andm)


def write_ico(path, images):
    blobs = [dib(img) for img in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for img, blob in zip(images, blobs):
        s = len(img)
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- captions
THEMES = [
    # index, name, left colour, right colour, title colour (column 7)
    (1, "sky", (226, 232, 246), (168, 181, 210), (30, 60, 104)),
    (2, "lime", (8, 84, 8), (50, 132, 50), (255, 255, 255)),
    (3, "orange", (255, 222, 160), (246, 160, 62), (50, 0, 0)),
    (4, "licorice", (62, 62, 122), (118, 118, 176), (255, 255, 255)),
    (5, "silver", (236, 237, 242), (172, 174, 194), (0, 0, 0)),
    (6, "blue", (40, 74, 146), (78, 122, 200), (255, 255, 255)),
    (7, "green", (234, 240, 214), (168, 184, 128), (60, 75, 20)),
]
BAR_W, BAR_H = 1024, 25


def lum(c):
    def ch(v):
        v /= 255.0
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    return 0.2126 * ch(c[0]) + 0.7152 * ch(c[1]) + 0.0722 * ch(c[2])


def contrast(a, b):
    la, lb = sorted((lum(a), lum(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def caption_pixels(left, right):
    rows = []
    for y in range(BAR_H):
        # A soft gloss: the top rows a little lighter, the bottom line darker.
        if y == 0:
            mix, towards = 0.35, (255, 255, 255)
        elif y == BAR_H - 1:
            mix, towards = 0.22, (0, 0, 0)
        else:
            t = (y - 1) / (BAR_H - 3)
            mix, towards = (0.16 * (1 - t) ** 2, (255, 255, 255))
        row = []
        for x in range(BAR_W):
            s = x / (BAR_W - 1)
            s = s * s * (3 - 2 * s)  # smoothstep
            c = [left[i] + (right[i] - left[i]) * s for i in range(3)]
            c = [c[i] + (towards[i] - c[i]) * mix for i in range(3)]
            row.append(tuple(int(round(v)) for v in c))
        rows.append(row)
    return rows


def write_caption(path, rows):
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "bar.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (BAR_W, BAR_H))
            f.write(bytes(v for row in rows for p in row for v in p))
        subprocess.run([CONVERT, ppm, "-strip", "-interlace", "none", "-sampling-factor", "1x1",
                        "-quality", "95", "jpeg:" + path], check=True)


# ---------------------------------------------------------------- sheets


def write_png(path, pixels):
    """pixels: rows of (r,g,b); written through a PPM and convert."""
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "s.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (len(pixels[0]), len(pixels)))
            f.write(bytes(v for row in pixels for p in row for v in p))
        subprocess.run([CONVERT, ppm, "png:" + path], check=True)


def icon_sheet(path, rendered):
    # Each icon: 16 at 4x and 32 at 2x on a light and a dark background, then
    # both at 1x on the light one.
    cell = 64
    backs = [(240, 240, 240), (236, 233, 216), (70, 74, 84)]
    pad = 8
    w = pad + len(rendered) * (cell + pad)
    h = pad + len(backs) * 2 * (cell + pad) + 40 + pad
    px = [[(255, 255, 255)] * w for _ in range(h)]

    def put(img, zoom, ox, oy, back):
        for y, row in enumerate(img):
            for x, (r, g, b, a) in enumerate(row):
                af = a / 255.0
                c = tuple(int(round(v * af + bv * (1 - af))) for v, bv in zip((r, g, b), back))
                for yy in range(zoom):
                    for xx in range(zoom):
                        px[oy + y * zoom + yy][ox + x * zoom + xx] = c

    for i, (_, i16, i32) in enumerate(rendered):
        ox = pad + i * (cell + pad)
        oy = pad
        for back in backs:
            for img, zoom in ((i16, 4), (i32, 2)):
                for y in range(oy - 4, oy + cell + 4):
                    for x in range(ox - 4, ox + cell + 4):
                        px[y][x] = back
                put(img, zoom, ox, oy, back)
                oy += cell + pad
        put(i16, 1, ox, oy, (255, 255, 255))
        put(i32, 1, ox + 20, oy, (255, 255, 255))
    write_png(path, px)


def caption_sheet(path, bars):
    # Each bar at 1x (first 512 pixels) with a sample title drawn by convert.
    with tempfile.TemporaryDirectory() as tmp:
        args = [CONVERT, "-background", "white"]
        for (idx, name, _, _, title), jpg in bars:
            crop = os.path.join(tmp, "%d.png" % idx)
            subprocess.run([CONVERT, jpg, "-crop", "640x25+0+0", "+repage",
                            "-font", "DejaVu-Sans-Bold", "-pointsize", "10",
                            "-fill", "rgb(%d,%d,%d)" % title, "-annotate", "+24+17",
                            "Kestrelix - %d %s" % (idx, name.capitalize()),
                            "-fill", "rgb(150,150,150)", "-annotate", "+400+17", "inactive title",
                            "-bordercolor", "white", "-border", "4",
                            crop], check=True)
            args.append(crop)
        args += ["-append", "-scale", "200%", path]
        subprocess.run(args, check=True)


# ---------------------------------------------------------------- main


def main():
    sheets = "--sheets" in sys.argv
    icon_dir = os.path.join(HERE, "icons")
    cap_dir = os.path.join(HERE, "captions")
    os.makedirs(icon_dir, exist_ok=True)
    os.makedirs(cap_dir, exist_ok=True)
    only = [a for a in sys.argv[1:] if a.isdigit()]
    rendered = []
    for rid, stem, _, draw in ICONS:
        if only and str(rid) not in only:
            continue
        layers = draw()
        i16, i32 = render(layers, 16), render(layers, 32)
        images = [i16, i32]
        if rid == 128:
            images.append(render(layers, 48))
        write_ico(os.path.join(icon_dir, stem + ".ico"), images)
        rendered.append((rid, i16, i32))
        if rid == 128:
            shutil.copyfile(os.path.join(icon_dir, stem + ".ico"), os.path.join(HERE, "Kestrelix.ico"))
        print("icon", rid, stem)
    bars = []
    for theme in THEMES:
        idx, name, left, right, title = theme
        rows = caption_pixels(left, right)
        worst_left = min(contrast(title, p) for row in rows[1:-1] for p in row[:320])
        worst = min(contrast(title, p) for row in rows[1:-1] for p in row)
        assert worst_left >= 4.5 and worst >= 3.0, (name, worst_left, worst)
        jpg = os.path.join(cap_dir, "caption_%d_%s.jpg" % (idx, name))
        write_caption(jpg, rows)
        bars.append((theme, jpg))
        print("caption", idx, name, "title contrast %.1f (left) %.1f (whole)" % (worst_left, worst))
    if sheets:
        shots = os.path.join(ROOT, "docs", "screenshots")
        os.makedirs(shots, exist_ok=True)
        if not only:
            icon_sheet(os.path.join(shots, "icons.png"), rendered)
        caption_sheet(os.path.join(shots, "caption_bars.png"), bars)


if __name__ == "__main__":
    main()
