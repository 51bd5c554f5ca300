#!/usr/bin/env python3
"""Writes tests/core/FoldTable.inc: what Find's case folding must give for every code point
it claims to know, taken from Python's str.lower, so that the test checks the folding against
an independent source. Run once and commit the output; run again only when the folding is
meant to cover more letters.

The folding knows the capitals of Basic Latin, Latin-1 Supplement, Latin Extended-A, the basic
Greek capitals (U+0391-U+03A9) and the basic Cyrillic capitals (U+0400-U+042F). A capital
whose lower case is more than one character (U+0130) keeps its case, as do all other code
points."""
from pathlib import Path

KNOWN = [(0x41, 0x5A), (0xC0, 0xDE), (0x100, 0x17F), (0x391, 0x3A9), (0x400, 0x42F)]
LAST = 0x52F  # every code point up to here is checked; the rest of the table maps to itself


def folded(code):
    if not any(low <= code <= high for low, high in KNOWN):
        return code
    lower = chr(code).lower()
    return ord(lower) if len(lower) == 1 else code


def main():
    pairs = [(code, folded(code)) for code in range(LAST + 1) if folded(code) != code]
    lines = ["// Made by tools/make_fold_table.py from Python's str.lower; do not edit.",
             f"// Code points up to U+{LAST:04X} not listed fold to themselves."]
    for k in range(0, len(pairs), 6):
        lines.append(" ".join(f"{{0x{a:04X}, 0x{b:04X}}}," for a, b in pairs[k:k + 6]))
    out = Path(__file__).resolve().parent.parent / "tests" / "core" / "FoldTable.inc"
    out.write_text("\n".join(lines) + "\n")
    print(f"{out}: {len(pairs)} pairs")


if __name__ == "__main__":
    main()
