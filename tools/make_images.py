#!/usr/bin/env python3
"""Draws the installer's two built-in pictures and writes them as XPM C headers.

  src/ui/IconXpm.h    256 x 256 window icon: a red rounded badge carrying a
                      white template sheet; one colour of the table is "None".
  src/ui/BannerXpm.h  158 x 286 banner at the left of every page: a deep red to
                      crimson gradient with soft diagonal light and a stack of
                      rose template sheets near the top; fully opaque.

Both use a table of exactly 256 colours and 2 characters per pixel. Shapes are
signed distance fields, so every edge is antialiased analytically; the smooth
result is reduced to 256 colours with a variance-splitting median cut.

Usage: tools/make_images.py [--out DIR] [--preview DIR]
  --out      where IconXpm.h and BannerXpm.h go (default: src/ui of the tree)
  --preview  also write icon.xpm and banner.xpm there, for viewing
Standard library only.
"""

import argparse
import math
import os

KEYS = [f"{i:02x}" for i in range(256)]  # two characters per pixel


# --- small colour and geometry helpers ---------------------------------------

def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def smoothstep(edge0, edge1, x):
    t = clamp((x - edge0) / (edge1 - edge0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def gradient(stops, t):
    """Colour at t in [0, 1] along (position, colour) stops in rising order."""
    t = clamp(t)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, smoothstep(0.0, 1.0, (t - p0) / (p1 - p0)))
    return stops[-1][1]


def coverage(distance):
    """Pixel coverage of a shape from its signed distance (negative inside)."""
    return clamp(0.5 - distance)


def rounded_box(u, v, half_w, half_h, radius):
    qx = abs(u) - (half_w - radius)
    qy = abs(v) - (half_h - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def capsule(u, v, x0, x1, y, half_thickness):
    """A horizontal bar with round ends from x0 to x1 at height y."""
    dx = u - clamp(u, x0, x1)
    return math.hypot(dx, v - y) - half_thickness


class Sheet:
    """A page with its top right corner folded over, in its own frame: centre
    (cx, cy), turned by `angle` degrees, v growing downwards."""

    def __init__(self, cx, cy, half_w, half_h, angle, fold, radius):
        self.cx, self.cy = cx, cy
        self.half_w, self.half_h = half_w, half_h
        self.cos = math.cos(math.radians(angle))
        self.sin = math.sin(math.radians(angle))
        self.fold, self.radius = fold, radius
        self.cut = half_w + half_h - fold  # the fold line is u - v = cut

    def local(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return dx * self.cos + dy * self.sin, -dx * self.sin + dy * self.cos

    def body(self, u, v):
        box = rounded_box(u, v, self.half_w, self.half_h, self.radius)
        return max(box, (u - v - self.cut) / math.sqrt(2.0))

    def flap(self, u, v):
        left = (self.half_w - self.fold) - u
        below = v - (-self.half_h + self.fold)
        return max(left, below, (u - v - self.cut) / math.sqrt(2.0))

    def outline(self, u, v):
        return min(self.body(u, v), self.flap(u, v))


def over(base, colour, alpha):
    return mix(base, colour, clamp(alpha))


# --- the banner ----------------------------------------------------------------

BANNER_W, BANNER_H = 158, 286

BANNER_BACKGROUND = [
    (0.00, (84, 4, 14)),
    (0.45, (138, 10, 32)),
    (1.00, (196, 22, 54)),
]


def banner_background(x, y):
    colour = gradient(BANNER_BACKGROUND, y / (BANNER_H - 1))
    # Soft diagonal light, rising to the right like a sheen on silk.
    s = x * 0.55 + y * 0.85
    light = 0.0
    for centre, width, strength in ((70, 30, 0.10), (150, 20, 0.12), (225, 40, 0.20), (290, 14, 0.10)):
        light += strength * math.exp(-((s - centre) / width) ** 2)
    colour = over(colour, (255, 118, 138), light)
    # Hairlines along the bands, the thin bright edges of the folds.
    for centre, strength in ((172, 0.14), (248, 0.18), (305, 0.12)):
        colour = over(colour, (255, 170, 182), strength * coverage(abs(s - centre) - 0.45))
    # A warm glow behind the emblem.
    glow = math.hypot((x - 80) / 1.0, (y - 92) / 1.15)
    colour = over(colour, (226, 60, 88), 0.32 * (1.0 - smoothstep(0.0, 84.0, glow)))
    # Darker towards the left and bottom corners, a lighter seam on the right.
    shade = 0.18 * (1.0 - smoothstep(0.0, 40.0, x)) + 0.22 * smoothstep(230.0, 286.0, y)
    colour = over(colour, (40, 0, 8), shade)
    if x >= BANNER_W - 2:
        colour = over(colour, (255, 170, 185), 0.18 if x == BANNER_W - 1 else 0.08)
    return colour


BANNER_SHEETS = [
    # sheet, fill top, fill bottom, opacity
    (Sheet(66, 100, 29, 37, -13, 13, 3.5), (214, 104, 124), (186, 70, 94), 0.45),
    (Sheet(74, 96, 29, 37, -5, 13, 3.5), (236, 148, 164), (206, 98, 120), 0.62),
    (Sheet(86, 90, 29, 37, 5, 13, 3.5), (255, 222, 228), (240, 176, 190), 0.94),
]

# Lines of the front sheet: (y, x from, x to, half thickness, colour).
BANNER_LINES = [
    (-24, -19, 3, 2.6, (196, 40, 66)),
    (-12, -19, 17, 1.3, (214, 124, 142)),
    (-4, -19, 12, 1.3, (214, 124, 142)),
    (4, -19, 17, 1.3, (214, 124, 142)),
    (12, -19, 6, 1.3, (214, 124, 142)),
]
BANNER_FIELD = (9.0, 24.0, 9.0, 4.5)  # centre u, centre v, half width, half height


def draw_sheet(colour, x, y, sheet, top, bottom, opacity, shadow_alpha):
    u, v = sheet.local(x, y)
    shadow = sheet.outline(u - 2.5, v - 4.0)
    colour = over(colour, (30, 0, 6), shadow_alpha * opacity * (1.0 - smoothstep(-3.0, 7.0, shadow)))
    fill = mix(top, bottom, clamp((v + sheet.half_h) / (2 * sheet.half_h)))
    colour = over(colour, fill, opacity * coverage(sheet.body(u, v)))
    flap_fill = mix((255, 244, 246), mix(top, bottom, 0.55), clamp((u - v - sheet.cut + sheet.fold) / sheet.fold))
    colour = over(colour, flap_fill, opacity * coverage(sheet.flap(u, v)))
    return colour, u, v


def banner_pixel(x, y):
    px, py = x + 0.5, y + 0.5
    colour = banner_background(x, y)
    for sheet, top, bottom, opacity in BANNER_SHEETS:
        colour, u, v = draw_sheet(colour, px, py, sheet, top, bottom, opacity, 0.35)
    front = BANNER_SHEETS[-1][0]  # u, v are now in the front sheet's frame
    inside = coverage(front.body(u, v))
    for line_y, x0, x1, half, line_colour in BANNER_LINES:
        colour = over(colour, line_colour, 0.9 * inside * coverage(capsule(u, v, x0, x1, line_y, half)))
    fu, fv, fw, fh = BANNER_FIELD
    field = rounded_box(u - fu, v - fv, fw, fh, 2.0)
    colour = over(colour, (200, 48, 74), 0.85 * inside * coverage(abs(field) - 0.9))
    return colour


def render_banner():
    return [[banner_pixel(x, y) for x in range(BANNER_W)] for y in range(BANNER_H)]


# --- the icon ------------------------------------------------------------------

ICON_SIZE = 256
BADGE_HALF, BADGE_RADIUS = 118.0, 54.0

ICON_BADGE = [
    (0.00, (236, 62, 78)),
    (0.50, (200, 26, 50)),
    (1.00, (142, 10, 32)),
]

ICON_SHEET = Sheet(128, 132, 54, 72, 0, 30, 9)
ICON_BACK_SHEET = Sheet(116, 124, 54, 72, -9, 30, 9)
ICON_LINES = [
    (-48, -38, 4, 6.0, (206, 30, 56)),
    (-24, -38, 38, 3.2, (222, 172, 182)),
    (-8, -38, 26, 3.2, (222, 172, 182)),
    (8, -38, 38, 3.2, (222, 172, 182)),
    (24, -38, 14, 3.2, (222, 172, 182)),
]
ICON_FIELD = (16.0, 50.0, 22.0, 10.0)


def badge_colour(x, y, distance):
    colour = gradient(ICON_BADGE, y / (ICON_SIZE - 1))
    # A soft gloss over the upper half.
    gloss = math.hypot((x - 110) / 1.6, (y - 40) / 1.0)
    colour = over(colour, (255, 150, 160), 0.22 * (1.0 - smoothstep(20.0, 110.0, gloss)))
    # A thin lighter bevel inside the edge, darker at the bottom.
    bevel = 1.0 - smoothstep(2.0, 7.0, -distance)
    rim = mix((255, 160, 170), (110, 6, 24), smoothstep(70.0, 190.0, y))
    colour = over(colour, rim, 0.35 * bevel)
    return colour


def icon_pixel(x, y):
    """(colour, alpha) of one pixel; alpha is the badge's coverage."""
    px, py = x + 0.5, y + 0.5
    distance = rounded_box(px - 128, py - 128, BADGE_HALF, BADGE_HALF, BADGE_RADIUS)
    alpha = coverage(distance)
    if alpha <= 0.0:
        return None, 0.0
    colour = badge_colour(px, py, distance)
    colour, _, _ = draw_sheet(colour, px, py, ICON_BACK_SHEET, (255, 220, 226), (250, 196, 206), 0.40, 0.0)
    colour, u, v = draw_sheet(colour, px, py, ICON_SHEET, (255, 255, 255), (242, 234, 236), 1.0, 0.45)
    inside = coverage(ICON_SHEET.body(u, v))
    for line_y, x0, x1, half, line_colour in ICON_LINES:
        colour = over(colour, line_colour, inside * coverage(capsule(u, v, x0, x1, line_y, half)))
    fu, fv, fw, fh = ICON_FIELD
    field = rounded_box(u - fu, v - fv, fw, fh, 4.0)
    colour = over(colour, (206, 30, 56), inside * coverage(abs(field) - 1.8))
    return colour, alpha


def render_icon():
    """Rows of colours; None where the pixel is transparent. The XPM has
    only on/off transparency, so partly covered edge pixels are kept when at
    least half covered and darkened with their missing coverage, which reads
    as a smooth edge on light and dark backgrounds alike."""
    rows = []
    for y in range(ICON_SIZE):
        row = []
        for x in range(ICON_SIZE):
            colour, alpha = icon_pixel(x, y)
            if alpha < 0.5:
                row.append(None)
            else:
                row.append(over(colour, (96, 4, 20), (1.0 - alpha) * 1.4))
        rows.append(row)
    return rows


# --- reduction to a colour table --------------------------------------------------

def to_rgb(colour):
    return tuple(int(round(clamp(c, 0, 255))) for c in colour)


class Box:
    """A set of distinct colours with their pixel counts."""

    def __init__(self, items):
        self.items = items
        total = sum(n for _, n in items)
        self.total = total
        self.mean = tuple(sum(c[k] * n for c, n in items) / total for k in range(3))
        variances = [sum(n * (c[k] - self.mean[k]) ** 2 for c, n in items) for k in range(3)]
        self.channel = max(range(3), key=lambda k: variances[k])
        self.error = variances[self.channel] if len(items) > 1 else -1.0

    def split(self):
        items = sorted(self.items, key=lambda item: item[0][self.channel])
        half, running = self.total / 2.0, 0
        for i, (_, n) in enumerate(items[:-1]):
            running += n
            if running >= half:
                break
        return Box(items[: i + 1]), Box(items[i + 1:])


def median_cut(counts, size):
    boxes = [Box(list(counts.items()))]
    while len(boxes) < size:
        worst = max(boxes, key=lambda box: box.error)
        if worst.error < 0:
            break
        boxes.remove(worst)
        boxes.extend(worst.split())
    return boxes


def build_palette(rows, size):
    """Exactly `size` distinct colours and the table index of every pixel."""
    counts = {}
    for row in rows:
        for colour in row:
            if colour is not None:
                rgb = to_rgb(colour)
                counts[rgb] = counts.get(rgb, 0) + 1
    boxes = median_cut(counts, size)
    palette, index_of = [], {}
    for box in boxes:
        entry = distinct(to_rgb(box.mean), palette)
        for rgb, _ in box.items:
            index_of[rgb] = len(palette)
        palette.append(entry)
    while len(palette) < size:  # fewer distinct colours than table slots
        palette.append(distinct((0, 0, 0), palette))
    indices = [[None if c is None else index_of[to_rgb(c)] for c in row] for row in rows]
    return palette, indices


def distinct(rgb, palette):
    """`rgb`, nudged until no table entry already holds it."""
    taken = set(palette)
    r, g, b = rgb
    step = 0
    while (r, g, b) in taken:
        step += 1
        r, g, b = [clamp(c + (step if i == step % 3 else 0), 0, 255) for i, c in enumerate(rgb)]
    return (int(r), int(g), int(b))


# --- output ------------------------------------------------------------------------

def xpm_lines(rows, with_transparency):
    size = 255 if with_transparency else 256
    palette, indices = build_palette(rows, size)
    offset = 1 if with_transparency else 0
    height, width = len(rows), len(rows[0])
    lines = [f"{width} {height} 256 2"]
    if with_transparency:
        lines.append(f"{KEYS[0]} c None")
    lines += [f"{KEYS[i + offset]} c #{r:02X}{g:02X}{b:02X}" for i, (r, g, b) in enumerate(palette)]
    for row in indices:
        lines.append("".join(KEYS[0] if i is None else KEYS[i + offset] for i in row))
    return lines


def write_header(path, name, what, lines):
    body = ",\n".join(f'"{line}"' for line in lines)
    with open(path, "w", encoding="ascii") as out:
        out.write(f"// {what}\n")
        out.write("// Generated by tools/make_images.py; edit the script, not this file.\n")
        out.write("#pragma once\n\n")
        out.write(f"static const char* const {name}[] = {{\n{body}\n}};\n")


def write_xpm(path, name, lines):
    body = ",\n".join(f'"{line}"' for line in lines)
    with open(path, "w", encoding="ascii") as out:
        out.write(f"/* XPM */\nstatic char * {name}[] = {{\n{body}\n}};\n")


def main():
    tree = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description="Generates the built-in XPM images.")
    parser.add_argument("--out", default=os.path.join(tree, "src", "ui"))
    parser.add_argument("--preview", default=None)
    args = parser.parse_args()

    images = [
        ("IconXpm.h", "icon_xpm", "The window icon: 256 x 256, 256 colours, 2 characters per pixel, one transparent.",
         xpm_lines(render_icon(), True)),
        ("BannerXpm.h", "banner_xpm", "The page banner: 158 x 286, 256 colours, 2 characters per pixel, opaque.",
         xpm_lines(render_banner(), False)),
    ]
    for file_name, name, what, lines in images:
        write_header(os.path.join(args.out, file_name), name, what, lines)
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            write_xpm(os.path.join(args.preview, name.replace("_xpm", ".xpm")), name, lines)


if __name__ == "__main__":
    main()
