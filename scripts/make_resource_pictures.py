#!/usr/bin/env python3
"""Draws the pictures of the resource script: the two banners, the eight menu
item bitmaps and the program icon (16, 32, 48 and 256 pixels).

Standard library only, and deterministic, so that the committed files change
only when the drawing does. Run it from anywhere; it writes into res/ beside
this script's folder, or into the folder given as the only argument.

    python3 scripts/make_resource_pictures.py [output-folder]
"""
import math
import struct
import sys
import zlib
from pathlib import Path

NAVY = (24, 44, 92)
TEAL = (34, 128, 158)
MIST = (226, 234, 242)
GOLD = (242, 182, 58)
WHITE = (255, 255, 255)
MENU_BACKGROUND = (240, 240, 240)  # the menu colour of current Windows versions


# ---------------------------------------------------------------- canvas

class Canvas:
    """RGB picture with a coverage-weighted painter, top row first."""

    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.pixels = [[tuple(map(float, fill)) for _ in range(width)] for _ in range(height)]
        self.alpha = [[1.0] * width for _ in range(height)]

    def blend(self, x, y, colour, coverage):
        if coverage <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        coverage = min(coverage, 1.0)
        old = self.pixels[y][x]
        self.pixels[y][x] = tuple(o + (c - o) * coverage for o, c in zip(old, colour))

    def paint(self, distance, colour, box=None, opacity=1.0, fade=None):
        """Paints the shape whose signed distance (negative inside) the
        function gives for a pixel centre; the half-pixel ramp smooths edges.
        fade, if given, weights the opacity by the pixel column."""
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                d = distance(x + 0.5, y + 0.5)
                weight = opacity * (fade(x) if fade else 1.0)
                self.blend(x, y, colour, min(1.0, max(0.0, 0.5 - d)) * weight)

    def paint_sampled(self, inside, colour, samples=4):
        """Paints a shape given as an inside test, averaged over a grid of
        samples per pixel; suits the small pictograms, whose shapes are not
        easy to give as distances."""
        step = 1.0 / samples
        for y in range(self.height):
            for x in range(self.width):
                hits = sum(inside(x + (i + 0.5) * step, y + (j + 0.5) * step)
                           for i in range(samples) for j in range(samples))
                self.blend(x, y, colour, hits / (samples * samples))

    def stamp(self, rows, palette):
        """Sets single pixels from a character grid; '.' leaves a pixel alone."""
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in palette:
                    self.blend(x, y, palette[ch], 1.0)

    def rgb_bytes(self, x, y):
        return tuple(int(round(min(255.0, max(0.0, c)))) for c in self.pixels[y][x])


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def ramp(start, end):
    """0 before start, 1 after end, smooth in between; start > end ramps down."""
    def weight(x):
        t = min(1.0, max(0.0, (x - start) / (end - start)))
        return t * t * (3 - 2 * t)
    return weight


# ----------------------------------------------------------- distances

def rounded_box(cx, cy, half_w, half_h, radius):
    def distance(x, y):
        qx = abs(x - cx) - half_w + radius
        qy = abs(y - cy) - half_h + radius
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(ax, ay, bx, by, half_width):
    def distance(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - half_width
    return distance


def wave(base, amplitude, wavelength, phase, half_width):
    """A sine stroke; the distance is the vertical one scaled by the slope,
    which is close enough for gentle curves."""
    k = 2 * math.pi / wavelength

    def distance(x, y):
        f = base + amplitude * math.sin(k * x + phase)
        slope = amplitude * k * math.cos(k * x + phase)
        return abs(y - f) / math.sqrt(1 + slope * slope) - half_width
    return distance


# ------------------------------------------------------------- the mark

def draw_mark(canvas, left, top, size, track_colour, knob_colour):
    """Three slider tracks with their knobs at different heights: the
    program's mark, tuning one setting at a time. The middle knob, the one
    just moved, is gold."""
    knob_heights = (0.62, 0.30, 0.48)
    gap = size / 3.0
    for n, level in enumerate(knob_heights):
        colour = GOLD if n == 1 else knob_colour
        x = left + gap * (n + 0.5)
        canvas.paint(segment(x, top + size * 0.08, x, top + size * 0.92, size * 0.035),
                     track_colour, (x - size * 0.1, top, x + size * 0.1, top + size))
        y = top + size * level
        half_w, half_h = size * 0.12, size * 0.07
        canvas.paint(rounded_box(x, y, half_w, half_h, half_h * 0.9), colour,
                     (x - half_w - 1, y - half_h - 1, x + half_w + 1, y + half_h + 1))


# ------------------------------------------------------------- banners

def banner_top():
    width, height = 633, 71
    canvas = Canvas(width, height, NAVY)
    for y in range(height):
        for x in range(width):
            across = x / (width - 1)
            down = y / (height - 1)
            canvas.pixels[y][x] = mix(mix(NAVY, TEAL, across ** 1.4), WHITE, 0.06 * (1 - down))
    for n, (amplitude, wavelength, phase, opacity) in enumerate(
            ((9.0, 260.0, 0.0, 0.16), (6.0, 190.0, 1.9, 0.12), (11.0, 340.0, 4.1, 0.09))):
        canvas.paint(wave(34.0 + 4 * n, amplitude, wavelength, phase, 0.9), WHITE,
                     (80, 0, width, height), opacity, ramp(80, 220))
    draw_mark(canvas, 18, 9, 52, mix(NAVY, WHITE, 0.55), WHITE)
    canvas.paint(segment(0, height - 2.5, width, height - 2.5, 1.0), GOLD, (0, height - 5, width, height))
    return canvas


def banner_bottom():
    width, height = 634, 59
    canvas = Canvas(width, height, MIST)
    for y in range(height):
        for x in range(width):
            across = x / (width - 1)
            canvas.pixels[y][x] = mix(MIST, mix(MIST, TEAL, 0.55), across ** 2.2)
    canvas.paint(segment(0, 1.5, width, 1.5, 1.0), GOLD, (0, 0, width, 4))
    canvas.paint(wave(34.0, 7.0, 230.0, 0.8, 0.8), WHITE, (0, 0, width - 70, height), 0.35,
                 ramp(width - 70, width - 200))
    draw_mark(canvas, width - 58, 10, 40, mix(TEAL, WHITE, 0.35), WHITE)
    return canvas


# ------------------------------------------------------ menu pictograms

def pictogram_reverse():
    canvas = Canvas(12, 12, MENU_BACKGROUND)
    canvas.stamp([
        "...o........",
        "..oo........",
        ".ooo........",
        "oooooooo....",
        "ooooooooo...",
        ".ooo....oo..",
        "..oo.....oo.",
        "...o.....oo.",
        ".........oo.",
        "........oo..",
        "...ooooooo..",
        "...oooooo...",
    ], {"o": (20, 96, 180)})
    return canvas


def pictogram_language():
    canvas = Canvas(12, 12, MENU_BACKGROUND)
    canvas.stamp([
        "............",
        ".oooooooooo.",
        "ooooowoooooo",
        "oooowowooooo",
        "oooowowooooo",
        "ooowwwwwoooo",
        "ooowooowoooo",
        "ooowooowoooo",
        ".oooooooooo.",
        "..ooo.......",
        "..oo........",
        "..o.........",
    ], {"o": (16, 132, 96), "w": WHITE})
    return canvas


def pictogram_exit():
    canvas = Canvas(12, 12, MENU_BACKGROUND)
    canvas.stamp([
        "ffffffff....",
        "fddddddf....",
        "fddddddf....",
        "fddddddf.a..",
        "fddddddf.aa.",
        "fdkddaaaaaaa",
        "fddddaaaaaaa",
        "fddddddf.aa.",
        "fddddddf.a..",
        "fddddddf....",
        "fddddddf....",
        "ffffffff....",
    ], {"f": (96, 58, 26), "d": (176, 116, 56), "k": (250, 214, 84), "a": (200, 32, 32)})
    return canvas


def pictogram_find():
    canvas = Canvas(12, 12, MENU_BACKGROUND)
    canvas.stamp([
        "...gggg.....",
        "..gwwwwg....",
        ".gwwwwwwg...",
        ".gwwwwwwg...",
        ".gwwwwwwg...",
        ".gwwwwwwg...",
        "..gwwwwg....",
        "...ggggh....",
        ".......hhh..",
        "........hhh.",
        ".........hhh",
        "..........hh",
    ], {"g": (20, 96, 180), "w": (214, 232, 250), "h": (96, 58, 26)})
    return canvas


def pictogram_history():
    """A clock: the changes in the order they were made."""
    canvas = Canvas(12, 12, MENU_BACKGROUND)
    canvas.stamp([
        "...oooooo...",
        "..owwwwwwo..",
        ".owwwwkwwwo.",
        "owwwwwkwwwwo",
        "owwwwwkwwwwo",
        "owwwwwkwwwwo",
        "owwwwwgkkwwo",
        "owwwwwwwwwwo",
        "owwwwwwwwwwo",
        ".owwwwwwwwo.",
        "..owwwwwwo..",
        "...oooooo...",
    ], {"o": TEAL, "w": (250, 250, 250), "k": NAVY, "g": GOLD})
    return canvas


def disc(colour):
    canvas = Canvas(12, 12, MENU_BACKGROUND)
    canvas.paint_sampled(lambda x, y: math.hypot(x - 6, y - 6) <= 5.9, colour)
    return canvas


def pictogram_help():
    canvas = disc((20, 100, 200))
    canvas.stamp([
        "............",
        "............",
        ".....ww.....",
        "....w..w....",
        ".......w....",
        "......w.....",
        ".....w......",
        ".....w......",
        "............",
        ".....w......",
        "............",
        "............",
    ], {"w": WHITE})
    return canvas


def pictogram_about():
    canvas = disc((20, 100, 200))
    canvas.stamp([
        "............",
        "............",
        ".....ww.....",
        "............",
        "....www.....",
        ".....ww.....",
        ".....ww.....",
        ".....ww.....",
        ".....ww.....",
        "....wwww....",
        "............",
        "............",
    ], {"w": WHITE})
    return canvas


def pictogram_website():
    canvas = disc((30, 124, 204))
    line = (196, 228, 255)

    def on_grid(x, y):
        dx, dy = x - 6, y - 6
        if math.hypot(dx, dy) > 5.2:
            return False
        meridian = abs(math.hypot(dx / 2.4, dy / 5.2) - 1.0) < 0.11
        return meridian or abs(dx) < 0.35 or abs(dy) < 0.35 or abs(abs(dy) - 3.2) < 0.3
    canvas.paint_sampled(on_grid, line)
    return canvas


# ---------------------------------------------------------------- icon

ICON_SIZES = (16, 32, 48, 256)


def program_icon(size):
    """The mark on a rounded plate, drawn for each size from the same shapes
    scaled, so that Windows picks a sharp image for every place it shows the
    icon (title bar, taskbar, Explorer's views)."""
    k = size / 32.0
    canvas = Canvas(size, size, (0, 0, 0))
    plate = rounded_box(16 * k, 16 * k, 15 * k, 15 * k, 6 * k)
    for y in range(size):
        for x in range(size):
            t = (x + y) / (2 * size - 2)
            canvas.pixels[y][x] = mix(NAVY, TEAL, t)
            canvas.alpha[y][x] = min(1.0, max(0.0, 0.5 - plate(x + 0.5, y + 0.5)))
    draw_mark(canvas, 4 * k, 4 * k, 24 * k, mix(NAVY, WHITE, 0.6), WHITE)
    return canvas


def program_icons():
    return [program_icon(size) for size in ICON_SIZES]


# ------------------------------------------------------------ encoders

def bmp_24(canvas):
    """Uncompressed 24-bit Windows bitmap, bottom row first, rows padded to
    four bytes."""
    row_size = (canvas.width * 3 + 3) & ~3
    pixel_bytes = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b = canvas.rgb_bytes(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        pixel_bytes += row
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0,
                       len(pixel_bytes), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixel_bytes), 0, 0, offset)
    return head + info + pixel_bytes


def ico_image_32(canvas):
    """One 32-bit icon image: a bitmap of doubled height whose colour part
    carries the alpha, followed by the AND mask that older renderers use (set
    where the picture is fully transparent)."""
    w, h = canvas.width, canvas.height
    colour = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b = canvas.rgb_bytes(x, y)
            a = int(round(canvas.alpha[y][x] * 255))
            colour += bytes((b, g, r, a))
    mask_row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        bits = bytearray(mask_row)
        for x in range(w):
            if canvas.alpha[y][x] <= 0.0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + colour + mask


def png(canvas):
    """A PNG of the picture with its alpha, as icons carry their 256-pixel
    image since Windows Vista."""
    raw = bytearray()
    for y in range(canvas.height):
        raw.append(0)  # no filter
        for x in range(canvas.width):
            raw += bytes(canvas.rgb_bytes(x, y)) + bytes((int(round(canvas.alpha[y][x] * 255)),))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def ico(canvases):
    """Icon container with one image per size, smallest first: 32-bit
    bitmaps, and a PNG for 256 pixels, which the directory writes as 0."""
    images = [png(c) if c.width >= 256 else ico_image_32(c) for c in canvases]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for canvas, image in zip(canvases, images):
        entries += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32, len(image),
                               offset)
        offset += len(image)
    return directory + entries + b"".join(images)


PICTURES = {
    "banner_top.bmp": (banner_top, bmp_24),
    "banner_bottom.bmp": (banner_bottom, bmp_24),
    "menu_reverse.bmp": (pictogram_reverse, bmp_24),
    "menu_language.bmp": (pictogram_language, bmp_24),
    "menu_exit.bmp": (pictogram_exit, bmp_24),
    "menu_help.bmp": (pictogram_help, bmp_24),
    "menu_website.bmp": (pictogram_website, bmp_24),
    "menu_about.bmp": (pictogram_about, bmp_24),
    "menu_find.bmp": (pictogram_find, bmp_24),
    "menu_history.bmp": (pictogram_history, bmp_24),
    "tunewright.ico": (program_icons, ico),
}


def main(argv):
    if len(argv) > 2:
        sys.exit("usage: make_resource_pictures.py [output-folder]")
    out = Path(argv[1]) if len(argv) == 2 else Path(__file__).resolve().parent.parent / "res"
    out.mkdir(parents=True, exist_ok=True)
    for name, (draw, encode) in PICTURES.items():
        (out / name).write_bytes(encode(draw()))
        print(out / name)


if __name__ == "__main__":
    main(sys.argv)
