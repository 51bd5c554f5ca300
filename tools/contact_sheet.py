#!/usr/bin/python3
# Re-run: /usr/bin/python3 tools/contact_sheet.py [OUT.png]   (default /tmp/contact.png)
"""A review sheet of the committed pictures at 4x: the Goods frame put together at its page
positions, the about box as laid out, the loose pieces, icons and the cursor. Not an asset."""

import struct
import sys
from pathlib import Path

from PIL import Image, ImageDraw

ROOT = Path(__file__).resolve().parent.parent / "resources"
ZOOM = 4
PAGE_GREY = (239, 239, 239)


def bmp(number):
    return Image.open(ROOT / "bitmaps" / f"{number}.bmp").convert("RGB")


def zoom(image, factor=ZOOM):
    return image.resize((image.width * factor, image.height * factor), Image.NEAREST)


def goods_page():
    """The frame as the Goods page shows it (pixels from the page's top-left), list filled."""
    page = Image.new("RGB", (280, 175), PAGE_GREY)
    positions = {143: (59, 39), 155: (228, 39), 156: (237, 39), 157: (248, 39),
                 139: (59, 50), 144: (255, 50), 142: (59, 151)}
    for number, pos in positions.items():
        page.paste(bmp(number), pos)
    d = ImageDraw.Draw(page)
    d.rectangle([65, 52, 65 + 192 - 1, 52 + 106 - 1], fill=(16, 16, 16))
    for row in range(7):
        for col in range(2):
            d.text((65 + 18 + col * 96, 54 + row * 15), "Honey Bun" if (row + col) % 3 else
                   "Null", fill=(255, 255, 255))
    return page


def about_box():
    """383 x 315: banner at the top, backdrop from y 65, text box and button over it."""
    box = Image.new("RGB", (383, 315), PAGE_GREY)
    box.paste(bmp(131), (0, 65))
    box.paste(bmp(130), (0, 0))
    d = ImageDraw.Draw(box)
    d.rectangle([14, 86, 14 + 326, 86 + 190], fill=(255, 255, 255), outline=(100, 100, 100))
    about = (ROOT / "data" / "about.dat")
    if about.exists():
        y = 90
        for line in about.read_bytes().decode("latin-1").split("\r\n")[:14]:
            d.text((18, y), line[:60], fill=(0, 0, 0))
            y += 13
    d.rectangle([198, 284, 198 + 141, 284 + 23], fill=(225, 225, 225), outline=(90, 90, 90))
    d.text((230, 290), "I Worship Parsnip", fill=(0, 0, 0))
    return box


def cursor_preview():
    data = (ROOT / "cursors" / "147.cur").read_bytes()
    hot_x, hot_y = struct.unpack_from("<HH", data, 10)
    xor, and_ = data[22 + 48:22 + 48 + 128], data[22 + 48 + 128:22 + 48 + 256]
    image = Image.new("RGB", (32, 32), (150, 190, 230))
    for row in range(32):
        y = 31 - row
        for x in range(32):
            bit = 1 << (7 - x % 8)
            if not and_[row * 4 + x // 8] & bit:
                white = xor[row * 4 + x // 8] & bit
                image.putpixel((x, y), (255, 255, 255) if white else (0, 0, 0))
    image.putpixel((hot_x, hot_y), (255, 0, 0))
    return image


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "/tmp/contact.png")
    tiles = [zoom(goods_page(), 3), zoom(about_box(), 2)]
    small = [bmp(n) for n in (143, 155, 156, 157, 139, 144, 142)]
    small += [Image.open(ROOT / "icons" / f"{n}.png").convert("RGBA") for n in
              (128, 167, 168, 169, 170)]
    small.append(cursor_preview())
    row_width = sum(zoom(s).width + 12 for s in small)
    row_height = max(zoom(s).height for s in small)
    sheet = Image.new("RGB", (max(row_width, sum(t.width + 12 for t in tiles)),
                              max(t.height for t in tiles) + row_height + 24), (200, 205, 215))
    x = 0
    for t in tiles:
        sheet.paste(t, (x, 0))
        x += t.width + 12
    x, y = 0, max(t.height for t in tiles) + 12
    for s in small:
        z = zoom(s)
        if z.mode == "RGBA":
            sheet.paste(z, (x, y), z)
        else:
            sheet.paste(z, (x, y))
        x += z.width + 12
    sheet.save(out)
    print(out)


if __name__ == "__main__":
    main()
