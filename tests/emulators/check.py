#!/usr/bin/env python3
"""Edits a save state the emulators made and checks what came back from them.

  check.py edit STATE [CLI]    the edits below, by statewright-cli, or patched here without it
  check.py verify SAVED EDITED RESAVED [--wram0 DUMP] [--wram1 DUMP]
  check.py edited SAVED EDITED   the first half of verify, for states no emulator loads here
  check.py show STATE CLI        what `show --json` reads from the ROM's pattern
  check.py ready STATE           exit 0 once the ROM had written every field

SAVED is the state as the emulator wrote it, EDITED the same after the edit, RESAVED what the
emulator wrote after loading EDITED and running on; DUMPs are the work RAM a core showed right
after loading SAVED and EDITED. States are bsnes-mercury v094 serializer output, bare or in
RetroArch's RASTATE container, bare or compressed as RZIP; snes9x snapshots, as the
npm build of it wraps them in RASTATE; and ares v126 serializer output."""
import json
import struct
import subprocess
import sys
import zlib

WRAM_BYTES = 131072
COUNTER = range(0x10, 0x14)  # the ROM's loop counter: the only bytes that change as it runs
READY = b"\x5a\xa5"  # at 0x14 once the ROM has written every field
MEMBER = [0x99CE + 95 * s for s in range(4)]
# bsnes-mercury v094: state length without battery RAM, by profile; WRAM follows the RAM.
BSNES_BASE = {b"Accuracy": 289684, b"Balanced": 375848, b"Performance": 320941}
BSNES_WRAM_WITHOUT_SRAM = 10915
# ares v126 (serializer "125"): state length without battery RAM; WRAM follows the RAM.
ARES_BASE = 265948
ARES_WRAM_WITHOUT_SRAM = 651


def text(s):
    return bytes(ord(c) + 0x30 for c in s)


def le(value, width):
    return value.to_bytes(width, "little")


GOODS = [0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xFE]
# What `set` is told, where in WRAM, and the bytes that must be there after: a text shorter
# than its field ends in a 0, and the field's bytes behind that keep their values.
EDITS = [
    ("playerName=Quillon Ashbury-Fenwick!", 0x9801, text("Quillon Ashbury-Fenwick!")),
    ("dogName=Moss", 0x9819, text("Moss") + b"\0"),
    ("favoriteFood=Quince", 0x981F, text("Quince")),
    ("psiSpecial=Glimmer", 0x9825, text("Glimmer") + b"\0"),
    ("money=654321", 0x9831, le(654321, 4)),
    ("bank=10203040", 0x9835, le(10203040, 3)),
    ("member0.level=42", MEMBER[0] + 5, bytes([42])),
    ("member0.experience=1193046", MEMBER[0] + 6, le(0x123456, 4)),
    ("member0.offense=201", MEMBER[0] + 21, bytes([201])),
    ("member1.hpMax=513", MEMBER[1] + 10, le(513, 2)),
    ("member1.hp=770", MEMBER[1] + 71, le(770, 2)),
    ("member2.ppMax=999", MEMBER[2] + 12, le(999, 2)),
    ("member2.pp=258", MEMBER[2] + 77, le(258, 2)),
    ("member2.goods=" + ",".join(map(hex, GOODS)), MEMBER[2] + 35, bytes(GOODS)),
    ("member3.name=Kestr", MEMBER[3], text("Kestr")),
    ("member3.luck=5", MEMBER[3] + 25, bytes([5])),
    ("member3.iq=255", MEMBER[3] + 27, bytes([255])),
]
# `flag` turns these on or off; each must start the other way in the ROM's pattern.
FLAGS = [("on", 3), ("on", 0x400), ("off", 0x3FF)]
FLAGS_AT = 0x9C08


def expected(wram):
    """The work RAM after every edit of the table."""
    out = bytearray(wram)
    for _, at, new in EDITS:
        out[at:at + len(new)] = new
    for action, number in FLAGS:
        at, bit = FLAGS_AT + (number - 1) // 8, 1 << (number - 1) % 8
        assert bool(wram[at] & bit) != (action == "on"), f"flag {number} is {action} already"
        out[at] = out[at] | bit if action == "on" else out[at] & ~bit
    return bytes(out)


# ---- the containers ---------------------------------------------------------------------

RZIP = b"#RZIPv\x01#"
RASTATE = b"RASTATE\x01"
SNES9X = b"#!s9xsnp:"


def snes9x_block(snapshot, name):
    """Where the data of a snapshot's block begins: "#!s9xsnp:" + 4 digits + newline, then
    blocks of a 3-character name, ":", 6 digits of length, ":" and the data."""
    at = len(SNES9X) + 5
    while at < len(snapshot):
        length = int(snapshot[at + 4:at + 10])
        if snapshot[at:at + 3] == name:
            assert length == WRAM_BYTES, f"a {name.decode()} block of {length} bytes"
            return at + 11
        at += 11 + length
    raise AssertionError(f"no {name.decode()} block")


class State:
    """A state file unwrapped down to the core's data: `inner` is the RASTATE (or bare core)
    bytes, the core's data lies in it at `core`."""

    def __init__(self, path):
        self.path = path
        data = open(path, "rb").read()
        self.container = "raw"
        if data.startswith(RZIP):
            self.container = "RZIP"
            self.chunk, size = struct.unpack_from("<IQ", data, 8)
            parts, at = [], 20
            while at < len(data):
                (length,) = struct.unpack_from("<I", data, at)
                parts.append(zlib.decompress(data[at + 4:at + 4 + length]))
                at += 4 + length
            data = b"".join(parts)
            assert len(data) == size, f"{path}: RZIP says {size} bytes, holds {len(data)}"
        self.inner = bytearray(data)
        self.core = slice(0, len(data))
        if data.startswith(RASTATE):
            self.container = "RASTATE" if self.container == "raw" else self.container
            at = len(RASTATE)
            while True:
                tag, length = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
                if tag == b"MEM ":
                    self.core = slice(at + 8, at + 8 + length)
                if tag == b"END ":
                    break
                at += 8 + (length + 7) // 8 * 8
        core = bytes(self.inner[self.core])
        if core.startswith(SNES9X):
            self.name, self.sram = "snes9x " + core[9:13].decode(), None
            self.wram_at = snes9x_block(core, b"RAM")
        elif core[:5] == b"BST1\x01" and core[5:21] == b"125".ljust(16, b"\0"):
            self.name = "ares v126"
            self.sram = len(core) - ARES_BASE
            self.wram_at = ARES_WRAM_WITHOUT_SRAM + self.sram
        else:
            assert core[:4] == b"BST1" and struct.unpack_from("<I", core, 4)[0] == 27, \
                f"{path}: no bsnes-mercury v094 or ares v126 state and no snes9x snapshot"
            profile = core[584:600].rstrip(b"\0")
            self.name = "bsnes-mercury " + profile.decode()
            self.sram = len(core) - BSNES_BASE[profile]
            self.wram_at = BSNES_WRAM_WITHOUT_SRAM + self.sram  # where the editor must find it

    def wram(self):
        start = self.core.start + self.wram_at
        return bytes(self.inner[start:start + WRAM_BYTES])

    def set_wram(self, wram):
        start = self.core.start + self.wram_at
        self.inner[start:start + WRAM_BYTES] = wram

    def write(self):
        data = bytes(self.inner)
        if self.container == "RZIP":
            chunks = [data[i:i + self.chunk] for i in range(0, len(data), self.chunk)]
            data = RZIP + struct.pack("<IQ", self.chunk, len(data)) + b"".join(
                struct.pack("<I", len(z)) + z for z in map(zlib.compress, chunks))
        open(self.path, "wb").write(data)


# ---- the commands -----------------------------------------------------------------------

def edit(path, cli=None):
    if cli is None:  # the stand-in: bytes patched where the editor is to find them
        state = State(path)
        state.set_wram(expected(state.wram()))
        state.write()
        return
    commands = [["set", "--no-backup", path] + [e[0] for e in EDITS]]
    for action in ("on", "off"):
        commands.append(["flag", "--no-backup", path, action] +
                        [f"${n:04X}" for a, n in FLAGS if a == action])
    for command in commands:
        if subprocess.run([cli] + command).returncode != 0:
            sys.exit(f"statewright-cli {command[0]} failed on {path}")


def differences(what, got, want, ignore=()):
    bad = [i for i in range(len(want)) if got[i] != want[i] and i not in ignore]
    return [f"{what}: {len(bad)} bytes differ, first at 0x{bad[0]:05X} "
            f"(0x{got[bad[0]]:02X}, not 0x{want[bad[0]]:02X})"] if bad else []


def edit_faults(s, e, wram0=None):
    """What is wrong with EDITED against SAVED, or None when SAVED is too early to tell."""
    w0 = s.wram()
    # The WRAM found by its contents: the ROM's player name sits at 0x9801.
    found = bytes(s.inner[s.core]).find(text("Tamsin Vellor")) - 0x9801
    faults = [] if found == s.wram_at else [f"WRAM found at {found}, not at {s.wram_at}"]
    if w0[0x14:0x16] != READY:
        print(f"{s.path}: the ROM had not written every field when the state was saved")
        return None
    if wram0:
        faults += differences("the saved state against the core's WRAM", w0,
                              open(wram0, "rb").read())
    if len(e.inner) != len(s.inner) or e.container != s.container:
        faults.append(f"the edit made a {e.container} file of {len(e.inner)} bytes "
                      f"from a {s.container} file of {len(s.inner)}")
    else:
        faults += differences("the edited WRAM", e.wram(), expected(w0))
        wram = range(s.core.start + s.wram_at, s.core.start + s.wram_at + WRAM_BYTES)
        faults += differences("the edited file outside WRAM", e.inner, s.inner, wram)
    return faults, found


def report(s, found, faults, done):
    sram = "" if s.sram is None else f", {s.sram // 1024} KiB SRAM"
    print(f"{s.name}{sram}, {s.container}: "
          f"{len(s.inner[s.core])} bytes of core data, WRAM at {found}: "
          + ("; ".join(faults) if faults else done))
    return not faults


def edited(saved, edited):
    s, e = State(saved), State(edited)
    result = edit_faults(s, e)
    return result is not None and report(s, result[1], result[0], f"{len(EDITS)} fields and "
                                         f"{len(FLAGS)} flags written, every other byte kept")


def verify(saved, edited, resaved, wram0=None, wram1=None):
    s, e, r = State(saved), State(edited), State(resaved)
    result = edit_faults(s, e, wram0)
    if result is None:
        return False
    faults, found = result
    if wram1:
        faults += differences("the core's WRAM after loading the edit",
                              open(wram1, "rb").read(), e.wram())
    faults += differences("the WRAM saved again after the load", r.wram(), e.wram(), COUNTER)
    return report(s, found, faults,
                  f"{len(EDITS)} fields and {len(FLAGS)} flags arrived, every other byte kept")


# What `show --json` must read from the ROM's pattern: member name, level, experience, hpMax,
# ppMax, hp, pp (the ROM's `member` lines), then the game's other fields.
SHOWN_MEMBERS = [("Tams", 12, 4321, 120, 40, 97, 33), ("Orin", 7, 880, 64, 0, 64, 0),
                 ("Wren", 23, 51234, 310, 150, 288, 149), ("Pell", 99, 999999, 999, 999, 1, 998)]
SHOWN = {"money": 123456, "bank": 9876543, "playerName": "Tamsin Vellor", "dogName": "Brisk",
         "favoriteFood": "Plum", "psiSpecial": "Emberline"}


def show(path, cli):
    run = subprocess.run([cli, "show", "--json", path], capture_output=True, text=True)
    if run.returncode != 0:
        print(f"{path}: statewright-cli show --json failed: {run.stderr.strip()}")
        return False
    shown = json.loads(run.stdout)
    keys = ("name", "level", "experience", "hpMax", "ppMax", "hp", "pp")
    want = dict(SHOWN, members=[dict(zip(keys, m)) for m in SHOWN_MEMBERS])
    got = dict({k: shown.get(k) for k in SHOWN},
               members=[{k: m.get(k) for k in keys} for m in shown.get("members", [])])
    bad = [f"{k} is {got[k]}, not {want[k]}" for k in want if got[k] != want[k]]
    print(f"{shown.get('format')}, show --json: "
          + ("; ".join(bad) if bad else "every field of the ROM's pattern read"))
    return not bad


if __name__ == "__main__":
    args = sys.argv[1:]
    if args[:1] == ["edit"]:
        edit(*args[1:])
    elif args[:1] == ["verify"]:
        dumps = dict(zip(args[4::2], args[5::2]))
        sys.exit(0 if verify(*args[1:4], dumps.get("--wram0"), dumps.get("--wram1")) else 1)
    elif args[:1] == ["edited"]:
        sys.exit(0 if edited(*args[1:3]) else 1)
    elif args[:1] == ["show"]:
        sys.exit(0 if show(*args[1:3]) else 1)
    elif args[:1] == ["ready"]:
        sys.exit(0 if State(args[1]).wram()[0x14:0x16] == READY else 1)
    else:
        sys.exit(__doc__)
