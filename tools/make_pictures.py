#!/usr/bin/python3
# Re-run: /usr/bin/python3 tools/make_pictures.py   (needs python3-pil, fonts-urw-base35)
"""Draws every picture of the program into resources/: the about-box banner and backdrop, the
Goods window frame pieces, the application icon and its desktop sizes, the four flag check
boxes and the hand cursor.

Everything is drawn from code with fixed seeds, so a re-run gives the same files."""

import math
import random
import struct
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = Path(__file__).resolve().parent.parent / "resources"
FONT_DIR = Path("/usr/share/fonts/opentype/urw-base35")

# The house colours: night indigo, vellum cream, ink brown, gate violet.
INDIGO = (34, 28, 78)
DUSK = (92, 62, 142)
VELLUM = (246, 234, 200)
VELLUM_DARK = (214, 194, 150)
INK = (74, 48, 30)
VIOLET = (112, 84, 232)
VIOLET_LIGHT = (176, 160, 255)
VIOLET_DARK = (66, 44, 160)
LAMP = (255, 206, 96)


def font(name, size):
    return ImageFont.truetype(str(FONT_DIR / name), size)


def save_bmp(image, name):
    path = ROOT / "bitmaps" / f"{name}.bmp"
    path.parent.mkdir(parents=True, exist_ok=True)
    image.save(path, "BMP")


def save_png(image, path):
    path.parent.mkdir(parents=True, exist_ok=True)
    # No time stamp or other chunk that would change from run to run.
    image.save(path, "PNG", optimize=True)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def vertical_gradient(size, stops):
    """stops: (position 0..1, colour) pairs in ascending order."""
    width, height = size
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(height):
        t = y / max(1, height - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                draw.line([(0, y), (width, y)], fill=lerp(c0, c1, (t - p0) / max(1e-9, p1 - p0)))
                break
    return image


# --- The gate emblem, shared by the icon, the banner and the backdrop --------------------------

def draw_emblem(size):
    """A stone arch holding a written page, with a quill across it. RGBA, drawn at 8x and
    reduced, so that it stays smooth at every size."""
    s = size * 8
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    u = s / 32.0  # one unit = one pixel of the 32 x 32 icon

    def box(x0, y0, x1, y1):
        return [x0 * u, y0 * u, x1 * u, y1 * u]

    # Arch: outer stone, then the page inside it.
    d.rounded_rectangle(box(4, 3, 24, 30), radius=10 * u, fill=VIOLET_DARK)
    d.rectangle(box(4, 14, 24, 30), fill=VIOLET_DARK)
    d.rounded_rectangle(box(6.5, 5.5, 21.5, 30), radius=7.5 * u, fill=VELLUM)
    d.rectangle(box(6.5, 14, 21.5, 30), fill=VELLUM)
    # Keystone and stone joints.
    d.polygon([(12 * u, 3 * u), (16 * u, 3 * u), (15 * u, 6 * u), (13 * u, 6 * u)], fill=LAMP)
    for y in (11, 17, 23):
        d.line(box(4, y, 6.5, y), fill=VIOLET, width=round(u))
        d.line(box(21.5, y, 24, y), fill=VIOLET, width=round(u))
    # Lines of writing on the page.
    for i, y in enumerate((11, 14, 17, 20, 23, 26)):
        x1 = 19 if i % 2 == 0 else 16.5
        d.line(box(9, y, x1, y), fill=INK, width=round(1.2 * u))
    # Base step.
    d.rectangle(box(2, 29, 26, 31), fill=VIOLET)
    # Quill: a white feather from the lower left to the upper right.
    feather = [(13, 27), (28, 4), (30, 5), (29.5, 9), (25, 15), (17, 24)]
    d.polygon([(x * u, y * u) for x, y in feather], fill=(255, 255, 255), outline=VIOLET_DARK,
              width=round(0.9 * u))
    d.line([(14 * u, 26 * u), (28.5 * u, 5.5 * u)], fill=VIOLET_LIGHT, width=round(0.9 * u))
    d.line([(10 * u, 31 * u), (14 * u, 26 * u)], fill=INK, width=round(1.6 * u))
    return image.resize((size, size), Image.LANCZOS)


# --- Application icon 128 ----------------------------------------------------------------------

def make_app_icon():
    icon = draw_emblem(32)
    save_png(icon, ROOT / "icons" / "128.png")
    big = draw_emblem(48)
    big.save(ROOT / "icons" / "128.ico", sizes=[(16, 16), (32, 32), (48, 48)])
    return icon


HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def make_desktop_icons():
    """The desktop's icons (hicolor theme), the same emblem drawn at each size's own resolution
    rather than scaled up from 32 x 32."""
    for size in HICOLOR_SIZES:
        save_png(draw_emblem(size), ROOT.parent / "packaging" / "icons" / f"{size}.png")


# --- About box: banner 130 and backdrop 131 ----------------------------------------------------

def stars(draw, rng, area, count, colours):
    x0, y0, x1, y1 = area
    for _ in range(count):
        x, y = rng.randrange(x0, x1), rng.randrange(y0, y1)
        colour = rng.choice(colours)
        draw.point((x, y), fill=colour)
        if rng.random() < 0.12:  # a few brighter ones with a little cross
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                draw.point((x + dx, y + dy), fill=lerp(colour, INDIGO, 0.5))


def make_banner():
    """413 x 65, 24-bit. The about box is narrower than the banner, so everything that matters
    stays in the left 380 pixels."""
    image = vertical_gradient((413, 65), [(0, INDIGO), (1, DUSK)])
    draw = ImageDraw.Draw(image)
    stars(draw, random.Random(130), (0, 0, 413, 60), 70,
          [(255, 255, 255), (220, 214, 255), (255, 236, 180)])
    # Crescent moon at the right.
    moon = Image.new("L", image.size, 0)
    moon_draw = ImageDraw.Draw(moon)
    moon_draw.ellipse([336, 10, 360, 34], fill=255)
    moon_draw.ellipse([343, 6, 367, 30], fill=0)
    image.paste((255, 240, 200), (0, 0), moon)
    emblem = draw_emblem(52)
    image.paste(emblem, (10, 7), emblem)
    title = font("P052-Bold.otf", 36)
    draw.text((74, 5), "Statewright", font=title, fill=VELLUM, stroke_width=1,
              stroke_fill=VIOLET_DARK)
    sub = font("P052-Italic.otf", 14)
    draw.text((77, 44), "the save state editor for Vellumgate", font=sub, fill=(220, 210, 255))
    draw.line([(74, 62), (330, 62)], fill=LAMP)
    save_bmp(image, 130)
    return image


def rooftops(draw, rng, base_y, x0, x1, colour, window_colour):
    x = x0
    while x < x1:
        w = rng.randrange(18, 34)
        h = rng.randrange(20, 46)
        top = base_y - h
        draw.rectangle([x, top, x + w, base_y], fill=colour)
        if rng.random() < 0.5:  # pitched roof
            draw.polygon([(x - 2, top), (x + w // 2, top - rng.randrange(8, 16)), (x + w + 2, top)],
                         fill=colour)
        else:  # chimney
            cx = x + rng.randrange(3, max(4, w - 6))
            draw.rectangle([cx, top - 7, cx + 4, top], fill=colour)
        for wy in range(top + 5, base_y - 6, 9):
            for wx in range(x + 4, x + w - 4, 8):
                if rng.random() < 0.35:
                    draw.rectangle([wx, wy, wx + 3, wy + 4], fill=window_colour)
        x += w + rng.randrange(0, 4)


def make_backdrop():
    """463 x 259, 8 bits with palette. Most of it lies under the about text; what shows around
    the text is the sky above and the town of Vellumgate below."""
    w, h = 463, 259
    image = vertical_gradient((w, h), [(0, DUSK), (0.55, (168, 92, 132)), (0.85, (236, 150, 96)),
                                       (1, (250, 196, 120))])
    draw = ImageDraw.Draw(image)
    rng = random.Random(131)
    stars(draw, rng, (0, 0, w, 90), 90, [(255, 255, 255), (230, 220, 255)])
    # The great gate: an arch of book spines on two pillars of stacked books.
    cx, cy, outer, inner = 220, 178, 70, 44
    glow = (250, 200, 130)
    spine_colours = [(120, 52, 60), (52, 84, 120), (96, 112, 52), (140, 100, 40), (88, 56, 124)]
    draw.rectangle([cx - outer, cy, cx + outer, h], fill=(58, 34, 70))
    draw.pieslice([cx - outer, cy - outer, cx + outer, cy + outer], 180, 360, fill=(58, 34, 70))
    for i, start in enumerate(range(180, 360, 12)):
        a0, a1 = math.radians(start + 1), math.radians(start + 11)
        ring = [(cx + math.cos(a) * r, cy + math.sin(a) * r)
                for r, a in ((inner + 2, a0), (outer - 2, a0), (outer - 2, a1), (inner + 2, a1))]
        draw.polygon(ring, fill=spine_colours[i % 5])
    for side in (-1, 1):
        x0 = cx + side * (inner + 2) if side > 0 else cx - outer + 2
        for j, y in enumerate(range(cy + 2, h, 9)):
            draw.rectangle([x0, y, x0 + outer - inner - 4, y + 6],
                           fill=spine_colours[(j * 2 + side) % 5])
    draw.pieslice([cx - inner, cy - inner, cx + inner, cy + inner], 180, 360, fill=glow)
    draw.rectangle([cx - inner, cy, cx + inner, h], fill=glow)
    gx0, gx1 = cx - outer, cx + outer
    # Rows of roofs: far (lighter) and near (darker), leaving the gate free.
    rooftops(draw, rng, 232, -10, gx0 - 4, (92, 54, 96), (255, 214, 120))
    rooftops(draw, rng, 232, gx1 + 4, w + 10, (92, 54, 96), (255, 214, 120))
    rooftops(draw, rng, 259, -10, gx0 - 20, (44, 26, 54), LAMP)
    rooftops(draw, rng, 259, gx1 + 20, w + 10, (44, 26, 54), LAMP)
    # Lamp posts at the right margin, where the text box leaves the picture open.
    for lx in (352, 372):
        draw.rectangle([lx, 180, lx + 2, 259], fill=(30, 20, 36))
        draw.ellipse([lx - 4, 172, lx + 6, 182], fill=LAMP)
    image = image.quantize(colors=256, method=Image.Quantize.MEDIANCUT,
                           dither=Image.Dither.NONE)
    save_bmp(image, 131)
    return image.convert("RGB")


# --- The Goods window frame ---------------------------------------------------------------------
# The pieces sit in the Goods page at dialog-unit positions converted as the dialog font does
# (1.5 px across, 1.625 px down, halves rounded up):
#   143 title bar (59, 39)   155 left arrow (228, 39)   156 right arrow (237, 39)
#   157 corner   (248, 39)   139 left edge   (59, 50)   144 right edge (255, 50)
#   142 bottom   (59, 151)   list 1017 (65, 52), 192 x 106
# All of them are cut from one drawing of the whole frame, 203 x 124 pixels from (59, 39), so
# where two pieces overlap they hold the same pixels and the stacking order does not matter.
# Nothing is drawn where the list lies: the list covers it with its own near-black.

FRAME_ORIGIN = (59, 39)
FRAME_SIZE = (203, 124)
LIST_RECT = (65 - 59, 52 - 39, 65 - 59 + 192, 52 - 39 + 106)  # canvas x0, y0, x1, y1
PIECES = {  # id: (x, y) in page pixels, (width, height)
    143: ((59, 39), (169, 14)),
    155: ((228, 39), (10, 14)),
    156: ((237, 39), (11, 14)),
    157: ((248, 39), (14, 14)),
    139: ((59, 50), (6, 102)),
    144: ((255, 50), (7, 102)),
    142: ((59, 151), (203, 12)),
}
NEAR_BLACK = (16, 16, 16)
FRAME_WHITE = (255, 255, 255)
FRAME_GREY = (150, 150, 160)

# A bold pixel face for the title, one string per row; "#" is ink.
TITLE_GLYPHS = {
    "G": [".####.", "##..##", "##....", "##.###", "##..##", "##..##", ".####."],
    "o": [".....", ".....", ".###.", "##.##", "##.##", "##.##", ".###."],
    "d": ["...##", "...##", ".####", "##.##", "##.##", "##.##", ".####"],
    "s": [".....", ".....", ".####", "##...", ".###.", "...##", "####."],
}


def draw_pixel_text(image, x, y, text, colour):
    for ch in text:
        rows = TITLE_GLYPHS[ch]
        for dy, row in enumerate(rows):
            for dx, cell in enumerate(row):
                if cell == "#":
                    image.putpixel((x + dx, y + dy), colour)
        x += len(rows[0]) + 1
    return x - 1  # right end, exclusive


def draw_arrow(image, tip_x, direction, top, colour, light, dark):
    """A solid triangle five columns wide, 2..10 rows tall, centred between rows top+4 and
    top+5; direction -1 points left, +1 right."""
    for c in range(5):
        x = tip_x - direction * c
        for y in range(top + 4 - c, top + 6 + c):
            shade = colour
            if y == top + 4 - c:
                shade = light
            elif y == top + 5 + c:
                shade = dark
            image.putpixel((x, y), shade)


def make_goods_frame():
    w, h = FRAME_SIZE
    canvas = Image.new("RGB", FRAME_SIZE, NEAR_BLACK)
    d = ImageDraw.Draw(canvas)
    line_top = 6  # white double line rows 6-7, grey line row 9
    right_white = w - 3  # columns 200-201 white, 198 grey
    bottom_white = h - 3  # rows 121-122 white, 119 grey
    # Outer white line (2 px) and inner grey line (1 px), with one near-black pixel between.
    d.rectangle([1, line_top, right_white, line_top + 1], fill=FRAME_WHITE)
    d.rectangle([1, line_top, 2, bottom_white], fill=FRAME_WHITE)
    d.rectangle([right_white - 1, line_top, right_white, bottom_white], fill=FRAME_WHITE)
    d.rectangle([1, bottom_white - 1, right_white, bottom_white], fill=FRAME_WHITE)
    d.rectangle([4, line_top + 3, w - 5, h - 5], outline=FRAME_GREY)
    # Soften the outer corners by one pixel.
    for x, y in ((1, line_top), (right_white, line_top), (1, bottom_white),
                 (right_white, bottom_white)):
        canvas.putpixel((x, y), NEAR_BLACK)
    # Title: a gap in the top line with the word "Goods" in it.
    d.rectangle([6, line_top, 41, line_top + 3], fill=NEAR_BLACK)
    draw_pixel_text(canvas, 9, 4, "Goods", FRAME_WHITE)
    # Arrows: a gap over both, each arrow centred in its own piece.
    d.rectangle([168, line_top, 188, line_top + 3], fill=NEAR_BLACK)
    draw_arrow(canvas, 171, -1, 3, VIOLET, VIOLET_LIGHT, VIOLET_DARK)
    draw_arrow(canvas, 185, +1, 3, VIOLET, VIOLET_LIGHT, VIOLET_DARK)
    # The list area must stay plain: the list paints over it.
    x0, y0, x1, y1 = LIST_RECT
    assert all(canvas.getpixel((x, y)) == NEAR_BLACK
               for x in range(x0, min(x1, w)) for y in range(y0, min(y1, h)))
    for piece, ((px, py), (pw, ph)) in PIECES.items():
        cx, cy = px - FRAME_ORIGIN[0], py - FRAME_ORIGIN[1]
        save_bmp(canvas.crop((cx, cy, cx + pw, cy + ph)), piece)
    return canvas


# --- Flag check boxes 167-170 -------------------------------------------------------------------

def check_box(inside):
    """16 x 16 on white: a sunken 14 x 14 box (grey above and left, light below and right)."""
    image = Image.new("RGB", (16, 16), (255, 255, 255))
    d = ImageDraw.Draw(image)
    d.rectangle([1, 1, 14, 14], fill=inside)
    d.line([(1, 1), (14, 1)], fill=(128, 128, 128))
    d.line([(1, 1), (1, 14)], fill=(128, 128, 128))
    d.line([(2, 2), (13, 2)], fill=(64, 64, 64))
    d.line([(2, 2), (2, 13)], fill=(64, 64, 64))
    d.line([(1, 14), (14, 14)], fill=(224, 224, 224))
    d.line([(14, 1), (14, 14)], fill=(224, 224, 224))
    d.line([(2, 13), (13, 13)], fill=(200, 200, 200))
    d.line([(13, 2), (13, 13)], fill=(200, 200, 200))
    return image


def make_check_boxes():
    white, light_grey = (255, 255, 255), (200, 200, 200)
    ticked = check_box(white)
    d = ImageDraw.Draw(ticked)
    for dy in range(3):  # a tick three pixels thick
        d.line([(4, 7 + dy), (6, 9 + dy)], fill=(0, 0, 0))
        d.line([(6, 9 + dy), (11, 4 + dy)], fill=(0, 0, 0))
    warning = check_box(white)
    d = ImageDraw.Draw(warning)
    d.polygon([(11, 6), (6, 15), (15, 15)], fill=(255, 210, 0), outline=(0, 0, 0))
    d.line([(11, 9), (11, 12)], fill=(0, 0, 0))
    d.point((11, 14), fill=(0, 0, 0))
    boxes = {167: ticked, 168: check_box(white), 169: warning, 170: check_box(light_grey)}
    for number, image in boxes.items():
        save_png(image, ROOT / "icons" / f"{number}.png")
    return boxes


# --- Hand cursor 147 ----------------------------------------------------------------------------
# "X" black, "o" white, "." transparent. The hot spot (11, 4) is the tip of the index finger.
HAND = """
................................
................................
................................
................................
..........XXX...................
.........XoooX..................
.........XoooX..................
.........XoooX..................
.........XoooX..................
.........XoooX..................
.........XoooXXXX...............
.........XoooXoooXXXX...........
.........XoooXoooXoooXXX........
...XX....XoooXoooXoooXooX.......
..XooX...XoooXoooXoooXooX.......
..XoooX..XoooXoooXoooXooX.......
...XoooXXXoooooooooooooooX......
....XoooXoooooooooooooooX.......
....XoooooooooooooooooooX.......
.....XooooooooooooooooooX.......
.....XooooooooooooooooooX.......
......XoooooooooooooooooX.......
.......XooooooooooooooooX.......
........XooooooooooooooX........
........XooooooooooooooX........
.........XooooooooooooX.........
.........XXXXXXXXXXXXXX.........
.........XoooooooooooooX........
.........XXXXXXXXXXXXXXX........
................................
................................
................................
"""
HOT_SPOT = (11, 4)


def make_cursor():
    rows = [r.ljust(32, ".")[:32] for r in HAND.strip("\n").split("\n")]
    assert len(rows) == 32
    assert rows[HOT_SPOT[1]][HOT_SPOT[0]] == "X"

    def mask(bit_of):
        # 1-bpp rows of 4 bytes, stored bottom-up.
        out = bytearray()
        for row in reversed(rows):
            bits = 0
            for x, cell in enumerate(row):
                if bit_of(cell):
                    bits |= 1 << (31 - x)
            out += struct.pack(">I", bits)
        return bytes(out)

    xor_mask = mask(lambda c: c == "o")  # palette index 1 (white) where set
    and_mask = mask(lambda c: c == ".")  # screen shows through where set
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor_mask) + len(and_mask),
                         0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor_mask + and_mask
    # File header: reserved, type 2 (cursor), one image; then its directory entry, whose
    # planes and bit-count fields hold the hot spot.
    data = struct.pack("<HHH", 0, 2, 1)
    data += struct.pack("<BBBBHHII", 32, 32, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 22)
    data += image
    path = ROOT / "cursors" / "147.cur"
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    preview = Image.new("RGB", (32, 32), (190, 200, 220))
    for y, row in enumerate(rows):
        for x, cell in enumerate(row):
            if cell != ".":
                preview.putpixel((x, y), (0, 0, 0) if cell == "X" else (255, 255, 255))
    return preview


def main():
    make_app_icon()
    make_desktop_icons()
    make_banner()
    make_backdrop()
    make_goods_frame()
    make_check_boxes()
    make_cursor()


if __name__ == "__main__":
    main()
