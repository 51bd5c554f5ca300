#!/usr/bin/env python3
"""Turns the linked image into the cartridges the tests boot: a checksum in each header, the
battery RAM variants (states are laid out by its size), and .smc copies with a 512-byte
copier header, where the editor looks for the title at file offset 0x101C0."""
import sys

HEADER = 0xFFC0
# name: (cartridge type, SRAM size byte); 1 KiB << n of battery RAM, none for 0.
VARIANTS = {"vellum": (0x02, 0x03), "vellum-nosram": (0x00, 0x00), "vellum-32k": (0x02, 0x05)}

image, out = sys.argv[1], sys.argv[2]
rom = bytearray(open(image, "rb").read())
assert len(rom) == 512 * 1024 and rom[HEADER:HEADER + 11] == b"VELLUM GATE", "bad link"
for name, (cart, sram) in VARIANTS.items():
    rom[HEADER + 0x16], rom[HEADER + 0x18] = cart, sram
    rom[HEADER + 0x1C:HEADER + 0x20] = b"\xff\xff\x00\x00"  # sums like any valid pair
    checksum = sum(rom) & 0xFFFF
    rom[HEADER + 0x1C:HEADER + 0x20] = (checksum ^ 0xFFFF).to_bytes(2, "little") + \
        checksum.to_bytes(2, "little")
    open(f"{out}/{name}.sfc", "wb").write(rom)
    open(f"{out}/{name}.smc", "wb").write(bytes(512) + rom)
