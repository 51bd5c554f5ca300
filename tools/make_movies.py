#!/usr/bin/python3
# Re-run: /usr/bin/python3 tools/make_movies.py   (needs python3-pil and gifsicle)
"""Makes the two movies of the hidden extras as animated GIFs and packs them into
resources/data/statewright.dat at their fixed places:

    0      .. 623     text header
    624    .. 69,073  movie A (68,450 bytes): Pip the dog bounding over the roofs at night
    69,074 .. 69,327  text filler
    69,328 .. 75,841  movie B (6,514 bytes): a small parsnip bobbing and winking

Each GIF is padded to its exact length with comment extensions before its trailer, which every
GIF reader skips. Drawn with fixed seeds, so a re-run gives the same bytes."""

import io
import math
import random
import subprocess
from pathlib import Path

from PIL import Image, ImageDraw

DATA = Path(__file__).resolve().parent.parent / "resources" / "data"

MOVIE_A_OFFSET, MOVIE_A_LENGTH = 624, 68450
MOVIE_B_OFFSET, MOVIE_B_LENGTH = 69328, 6514
TOTAL_LENGTH = MOVIE_B_OFFSET + MOVIE_B_LENGTH  # 75,842

# One palette for each movie; drawing uses the indices directly, so nothing is dithered.
PALETTE_A = [
    (22, 18, 52), (34, 28, 78), (52, 40, 104), (74, 56, 130),  # 0-3 sky bands
    (255, 240, 200), (255, 255, 255), (200, 196, 255),  # 4 moon, 5 white, 6 pale star
    (40, 24, 50), (64, 40, 76), (255, 206, 96),  # 7 near roofs, 8 far roofs, 9 lamp light
    (250, 244, 232), (170, 110, 60), (110, 66, 34), (20, 16, 16),  # 10-13 dog: fur, patch, ear, ink
    (236, 120, 140), (246, 234, 200), (214, 194, 150), (112, 84, 232),  # 14 tongue, 15-16 page, 17 violet
]
PALETTE_B = [
    (255, 255, 255), (246, 234, 200), (232, 214, 150), (196, 170, 100),  # 0 bg, 1-3 parsnip
    (92, 150, 60), (60, 110, 40), (20, 16, 16), (236, 120, 140),  # 4-5 leaves, 6 ink, 7 cheek
]


def palette_image(colours):
    flat = [c for rgb in colours for c in rgb]
    return flat + [0] * (768 - len(flat))


def new_frame(size, colours, background):
    frame = Image.new("P", size, background)
    frame.putpalette(palette_image(colours))
    return frame


def encode(frames, duration):
    buffer = io.BytesIO()
    frames[0].save(buffer, "GIF", save_all=True, append_images=frames[1:], duration=duration,
                   loop=0, optimize=False)
    # gifsicle stores only what changes from frame to frame.
    result = subprocess.run(["gifsicle", "-O3", "--no-comments", "--no-names"],
                            input=buffer.getvalue(), capture_output=True, check=True)
    return result.stdout


def pad_gif(gif, length, label):
    """Inserts comment extensions before the trailer so the GIF is exactly `length` bytes."""
    assert gif[:6] == b"GIF89a" and gif[-1] == 0x3B
    need = length - len(gif)
    if need < 0:
        raise SystemExit(f"{label}: {len(gif)} bytes, more than {length}")
    if need in (1, 2, 4):
        raise SystemExit(f"{label}: {need} bytes of padding cannot form a comment extension")
    text = f"{label}, padded to its place in statewright.dat. ".encode("ascii")
    blocks = bytearray()
    if need:
        # One comment extension: 0x21 0xFE, sub-blocks of 1 + (1..255) bytes, a zero end.
        body = need - 3
        blocks += b"\x21\xfe"
        while body > 0:
            size = min(255, body - 1)
            if body - (size + 1) == 1:  # a single byte left over could not form a sub-block
                size -= 1
            blocks.append(size)
            blocks += (text * (size // len(text) + 1))[:size]
            body -= size + 1
        blocks.append(0)
    padded = gif[:-1] + blocks + gif[-1:]
    assert len(padded) == length
    return padded


# --- Movie A -------------------------------------------------------------------------------------

def draw_sky(d, w, h):
    bands = [0, 1, 2, 3]
    for i, colour in enumerate(bands):
        d.rectangle([0, i * h // 6, w, (i + 1) * h // 6], fill=colour)
    d.rectangle([0, 4 * h // 6, w, h], fill=3)


def draw_roofs(d, w, h, rng_seed):
    rng = random.Random(rng_seed)
    x = -6
    while x < w:
        bw, bh = rng.randrange(20, 36), rng.randrange(22, 44)
        top = h - 38 - bh // 2
        d.rectangle([x, top, x + bw, h], fill=8)
        d.polygon([(x - 2, top), (x + bw // 2, top - 10), (x + bw + 2, top)], fill=8)
        for wy in range(top + 6, h - 40, 9):
            for wx in range(x + 4, x + bw - 4, 8):
                if rng.random() < 0.3:
                    d.rectangle([wx, wy, wx + 2, wy + 3], fill=9)
        x += bw + 2
    # The near roof line that Pip runs along.
    d.rectangle([0, h - 30, w, h], fill=7)
    for cx in range(8, w, 46):
        d.rectangle([cx, h - 40, cx + 6, h - 30], fill=7)


def draw_dog(d, x, y, phase):
    """Pip, about 40 x 30 pixels, facing right; phase 0..1 moves the legs and the tail."""
    swing = math.sin(phase * 2 * math.pi)
    # Tail, wagging.
    tail_tip = (x - 14, y - 12 - round(6 * swing))
    d.line([(x - 4, y - 4), tail_tip], fill=11, width=3)
    # Legs: front and back pairs move against each other.
    for lx, s in ((x + 2, swing), (x + 20, -swing)):
        d.line([(lx, y + 4), (lx + round(5 * s), y + 14)], fill=10, width=4)
        d.line([(lx + 4, y + 4), (lx + 4 - round(5 * s), y + 14)], fill=16, width=3)
    # Body with a brown patch, then the head.
    d.ellipse([x - 6, y - 8, x + 28, y + 10], fill=10, outline=13)
    d.ellipse([x + 4, y - 6, x + 14, y + 2], fill=11)
    d.ellipse([x + 20, y - 22, x + 40, y - 2], fill=10, outline=13)
    d.ellipse([x + 34, y - 12, x + 44, y - 5], fill=10, outline=13)  # snout
    d.ellipse([x + 41, y - 11, x + 45, y - 8], fill=13)  # nose
    d.ellipse([x + 30, y - 17, x + 33, y - 14], fill=13)  # eye
    d.polygon([(x + 22, y - 20), (x + 27, y - 26), (x + 29, y - 12), (x + 23, y - 10)],
              fill=12)  # ear, flopping
    if swing > 0:
        d.ellipse([x + 37, y - 6, x + 41, y - 1], fill=14)  # tongue out on the up-beat


def draw_page(d, cx, cy, angle, size=7):
    pts = []
    for a in (0, 0.5 * math.pi, math.pi, 1.5 * math.pi):
        r = size if a in (0, math.pi) else size * 0.7
        pts.append((cx + r * math.cos(a + angle), cy + r * math.sin(a + angle) * 0.8))
    d.polygon(pts, fill=15, outline=16)


def movie_a():
    w, h, count = 210, 184, 36
    rng = random.Random(2024)
    stars = [(rng.randrange(w), rng.randrange(h // 2)) for _ in range(34)]
    pages = [(rng.random(), rng.randrange(20, 90), rng.random() * math.pi) for _ in range(4)]
    frames = []
    for i in range(count):
        t = i / count
        frame = new_frame((w, h), PALETTE_A, 0)
        d = ImageDraw.Draw(frame)
        draw_sky(d, w, h)
        for k, (sx, sy) in enumerate(stars):  # half the stars twinkle in turn
            d.point((sx, sy), fill=5 if (k + i // 3) % 4 else 6)
        for mx in range(158, 187):  # a crescent: the moon's disc less a disc beside it
            for my in range(14, 43):
                if ((mx - 172) ** 2 + (my - 28) ** 2 <= 14 ** 2 and
                        (mx - 180) ** 2 + (my - 24) ** 2 > 14 ** 2):
                    frame.putpixel((mx, my), 4)
        if 0.1 < t < 0.3:  # a shooting star early in the loop
            sx = round(20 + (t - 0.1) * 600)
            sy = round(8 + (t - 0.1) * 160)
            d.line([(sx - 14, sy - 4), (sx, sy)], fill=6, width=1)
            d.point((sx, sy), fill=5)
        draw_roofs(d, w, h, 7)
        for p0, py, spin in pages:  # loose pages drifting to the left
            px = w + 10 - ((t + p0) % 1.0) * (w + 20)
            draw_page(d, px, py + 6 * math.sin(2 * math.pi * (t * 2 + p0)), spin + t * 4 * math.pi)
        # Pip runs across once per loop, bounding in four hops.
        x = -46 + t * (w + 52)
        hop = abs(math.sin(4 * math.pi * t))
        y = h - 44 - round(34 * hop)
        draw_dog(d, round(x), y, (t * 8) % 1.0)
        if 0.35 < t < 0.65:  # a bark in the middle of the run
            bx, by = round(x) + 30, y - 44
            d.rounded_rectangle([bx, by, bx + 46, by + 18], radius=6, fill=5, outline=17)
            d.polygon([(bx + 8, by + 18), (bx + 4, by + 26), (bx + 16, by + 18)], fill=5)
            d.text((bx + 6, by + 3), "Woof!", fill=13)
        frames.append(frame)
    return encode(frames, 70)


# --- Movie B -------------------------------------------------------------------------------------

def movie_b():
    w, h, count = 64, 72, 8
    frames = []
    for i in range(count):
        frame = new_frame((w, h), PALETTE_B, 0)
        d = ImageDraw.Draw(frame)
        bob = round(3 * math.sin(2 * math.pi * i / count))
        sway = round(3 * math.cos(2 * math.pi * i / count))
        top = 22 + bob
        # Leaves, swaying.
        d.polygon([(32, top + 2), (24 + sway, top - 14), (30, top)], fill=4)
        d.polygon([(32, top + 2), (40 + sway, top - 16), (35, top)], fill=5)
        d.polygon([(32, top + 2), (32 + sway, top - 18), (33, top)], fill=4)
        # The root: wide at the top, tapering to a point.
        d.polygon([(20, top + 6), (44, top + 6), (35, top + 38), (32, top + 44), (29, top + 38)],
                  fill=1, outline=3)
        d.ellipse([20, top, 44, top + 14], fill=1, outline=3)
        for ry in (top + 20, top + 28):
            d.line([(27, ry), (30, ry)], fill=2)
        # Face: one eye winks on the last frames.
        d.ellipse([26, top + 5, 29, top + 8], fill=6)
        if i < count - 2:
            d.ellipse([35, top + 5, 38, top + 8], fill=6)
        else:
            d.line([(35, top + 7), (38, top + 7)], fill=6)
        d.arc([28, top + 8, 36, top + 14], 20, 160, fill=6)
        d.point((24, top + 11), fill=7)
        d.point((40, top + 11), fill=7)
        frames.append(frame)
    return encode(frames, 120)


def header(text, length):
    body = text.encode("ascii")
    assert len(body) <= length
    return body + b" " * (length - len(body) - 1) + b"\n"


def main():
    raw_a, raw_b = movie_a(), movie_b()
    print(f"movie A {len(raw_a)} bytes before padding, movie B {len(raw_b)}")
    a = pad_gif(raw_a, MOVIE_A_LENGTH, "Statewright movie A")
    b = pad_gif(raw_b, MOVIE_B_LENGTH, "Statewright movie B")
    gap = MOVIE_B_OFFSET - (MOVIE_A_OFFSET + MOVIE_A_LENGTH)
    data = (header("Statewright movie data\n"
                   "Two animated GIF movies for the hidden extras:\n"
                   f"movie A at byte {MOVIE_A_OFFSET}, {MOVIE_A_LENGTH} bytes;\n"
                   f"movie B at byte {MOVIE_B_OFFSET}, {MOVIE_B_LENGTH} bytes.\n"
                   "Nothing else in this file is read.\n", MOVIE_A_OFFSET)
            + a + header("End of movie A. Movie B follows.\n", gap) + b)
    assert len(data) == TOTAL_LENGTH
    DATA.mkdir(parents=True, exist_ok=True)
    (DATA / "statewright.dat").write_bytes(data)
    print(f"statewright.dat: {len(data)} bytes; movie A {len(a)} bytes, movie B {len(b)} bytes")


if __name__ == "__main__":
    main()
