#!/usr/bin/python3
# Re-run: /usr/bin/python3 tools/make_texts.py
"""Writes the two generated text files of resources/data/:

- about.dat: the about-box text, lines ending in CR LF (the text box needs both to break a
  line), kept well under the 2,160 characters the box shows;
- event.txt: the default event-flag descriptions, two comment lines and then one line
  "$NNNN:description" for every flag 1-1024, as the editor itself writes them. Flags whose
  meaning nobody has worked out yet have an empty description.

README.TXT and WHATSNEW.TXT are written by hand and live beside them."""

from pathlib import Path

DATA = Path(__file__).resolve().parent.parent / "resources" / "data"

ABOUT = """\
Statewright 0.1.0
The save state editor for Vellumgate

Statewright opens a Vellumgate save state written by the ZSNES emulator and lets you change \
what is in it: the party's levels, hit points, psychic points and attributes, the goods each \
of them carries, the money on hand and in the bank, the player's and the dog's names, the \
favourite food, the special power, and all 1,024 event flags of the story. Changes are written \
back into the same file, in place; every other byte stays as it was.

Keep a copy of your save states before you edit them. The game will believe whatever you \
write, and so will the town of Vellumgate.

Read README.TXT (Help > Readme) for how it all works, and WHATSNEW.TXT (Help > What's New) \
for what has changed.

Thanks to Wren, Odile, Tobi and Pell for holding still while we counted their pockets, to \
Marlowe for lending us a name, and to Pip, who did not eat the ROM even once.

About the button below. Every bindery in Vellumgate keeps a parsnip on a shelf above the \
presses. Nobody remembers who started it, and nobody is brave enough to stop. The apprentices \
bow to it on their first day; the master binders pretend not to, and then do it anyway when \
they think nobody is looking. We have kept the custom. You may click the button with as much \
or as little devotion as you like. The parsnip does not mind. The parsnip never minds.

Built with Qt and libsndfile.
"""

# Flag number: what it means in the story. No colon may appear in a text.
FLAGS = {
    # Prologue: the Bindery and Inkwell Hill
    0x001: "Started as an apprentice at the Bindery on Spine Row",
    0x002: "Master Binder Osgood gave Marlowe the first errand",
    0x003: "Pip followed Marlowe to work",
    0x004: "Found the town's founding book smudged with ink",
    0x005: "Picked up the Umbrella from the Bindery hall stand",
    0x006: "Talked to Mr. Thistlewood the lamplighter on Quill Street",
    0x007: "Mr. Thistlewood lent Marlowe the Lamplighter's Key",
    0x008: "Unlocked the lamp gate at the foot of Inkwell Hill",
    0x009: "Followed the trail of ink drops up Inkwell Hill",
    0x00A: "Found the ink pool at the top of Inkwell Hill",
    0x00B: "A Torn Page floated up out of the ink pool",
    0x00C: "Heard the Voice of the Margin for the first time",
    0x00D: "Took the first Torn Page back down the hill",
    0x00E: "Chased off the paper wasps on the hill path",
    0x00F: "Met Wren sketching the ink pool at dawn",
    0x010: "Wren joined the party",
    0x011: "Wren drew a map of Quill Street with Mapmaker's Chalk",
    0x012: "Walked home past the sleeping bakery",
    0x013: "Osgood's housekeeper packed Oatcakes for the road",
    0x014: "Postmistress Hazel asked for a Postcard from every town",
    0x015: "Left Quill Street for the first time",
    0x016: "Pip dug up a Bent Nail behind the shed",
    0x017: "Read the sign at the crossroads",
    0x018: "Signed the Bindery day book for the first time",
    0x019: "Mr. Thistlewood asked for his key back (and let Marlowe keep it)",
    0x01A: "Found the Ink Pot in the hedge maze",
    0x01B: "The hedge maze gardener gave a Garden Rake",
    0x01C: "Beat the Runaway Inkblot on the hill road",
    0x01D: "Learned that stories in Vellumgate can come unbound",
    0x020: "Reached the North Gate of Vellumgate",
    0x021: "The gate warden let the party into town",
    0x022: "Got the Library Card from the gate warden",
    # Vellumgate: the bound town
    0x030: "Brought the first Torn Page back to the Bindery",
    0x031: "Master Binder Osgood explained the great gate",
    0x032: "Saw the parsnip on the Bindery shelf",
    0x033: "Bowed to the parsnip (it did not notice)",
    0x034: "Talked to Nerys the librarian",
    0x035: "Nerys stamped the Library Card",
    0x036: "Found the Sealed Letter in the returns chute",
    0x037: "Delivered the Sealed Letter to the Mayor's office",
    0x038: "Mayor Lucius Penhallow received the party",
    0x039: "Got the Mayor's Seal",
    0x03A: "Museum opened its doors after the letter was read",
    0x03B: "Got the Museum Badge from the curator",
    0x03C: "Saw the empty plinth of the first Gate Fragment",
    0x03D: "Curator Ambrose told the tale of the Unbinding",
    0x03E: "Heard the clocktower strike thirteen",
    0x03F: "Climbed the clocktower stairs",
    0x040: "Met Edmund the clockmaker's grandson",
    0x041: "Edmund's grandfather was found asleep in the works",
    0x042: "Woke Edmund's grandfather with the Tin Whistle",
    0x043: "Got the Tin Whistle from the toy stall",
    0x044: "The clocktower needs a new Clocktower Cog",
    0x045: "Caspar the baker sold the first Honey Bun",
    0x046: "Caspar asked for help with the runaway dough",
    0x047: "Caught the runaway dough in the cellar",
    0x048: "Caspar gave a Baker's Loaf as thanks",
    0x049: "Found the Clockwork Mouse under the bakery oven",
    0x04A: "The Clockwork Mouse was wound and ran off",
    0x04B: "Caught the Clockwork Mouse in the library stacks",
    0x04C: "Gave the Clockwork Mouse back to the toymaker",
    0x04D: "Toymaker gave the Spinning Top",
    0x04E: "Read the notice about the missing Bell Rope",
    0x04F: "Found the Bell Rope tied to a kite in the park",
    0x050: "Returned the Bell Rope to the chapel",
    0x051: "Chapel bell rang for the first time in years",
    0x052: "Beat the Ledger Golem in the town archive",
    0x053: "Got the Bound Chapter from the archive",
    0x054: "The Bound Chapter was returned to the Bindery",
    0x055: "Master Binder Osgood gave the Signet Ring",
    0x056: "Heard that the ferry has stopped running",
    0x057: "The lamplighters' guild asked for Lantern Oil",
    0x058: "Bought Lantern Oil at the chandler",
    0x059: "Lit the lamps of Spine Row at dusk",
    0x05A: "The guild made Marlowe an honorary lamplighter",
    0x05B: "Slept at the Open Book inn for the first time",
    0x05C: "The innkeeper's cat took a liking to Pip",
    # The harbour and the lighthouse
    0x080: "Walked down to the harbour",
    0x081: "Barnaby the ferryman was found sulking on the pier",
    0x082: "Barnaby's boat has a hole in it",
    0x083: "Borrowed the Glue Pot from the boatwright",
    0x084: "Mended Barnaby's boat",
    0x085: "Got the Ferry Token from Barnaby",
    0x086: "Took the ferry across the bay",
    0x087: "Met Odile reading on the lighthouse steps",
    0x088: "Odile joined the party",
    0x089: "The lighthouse keeper asked about the dark lamp",
    0x08A: "Found the Tide Chart in the harbour office",
    0x08B: "Waited for low tide",
    0x08C: "Walked the tide path to the sea cave",
    0x08D: "Beat the Brine Scribbler in the sea cave",
    0x08E: "Got the Lighthouse Lens",
    0x08F: "Set the Lighthouse Lens in the lamp room",
    0x090: "The lighthouse shone again",
    0x091: "The fishing boats came home",
    0x092: "The harbourmaster gave the Harbor Pass",
    0x093: "Ate Harbor Chowder with the fishermen",
    0x094: "Found the first Gate Fragment in the lamp room",
    0x095: "Returned the first Gate Fragment to the museum",
    0x096: "Found a Seashell with a story inside",
    0x097: "Odile learned the first page-bound power",
    0x098: "Sent Hazel a Postcard of the lighthouse",
    # Glimmerforge
    0x0C0: "Took the cliff road to Glimmerforge",
    0x0C1: "The Glimmerforge bridge was out",
    0x0C2: "Borrowed the Wrench from a stranded carter",
    0x0C3: "Fixed the Glimmerforge bridge",
    0x0C4: "Reached Glimmerforge",
    0x0C5: "The forge fires were cold",
    0x0C6: "Met Tobi tinkering in the tool shed",
    0x0C7: "Tobi joined the party",
    0x0C8: "Tobi built the Coil Pistol",
    0x0C9: "The forge master asked for a Spark Battery",
    0x0CA: "Found a Spark Battery in the old mine",
    0x0CB: "Beat the Cinder Moth Queen in the old mine",
    0x0CC: "The forge fires were lit again",
    0x0CD: "The Glimmerforge choir sang at the anvils",
    0x0CE: "The forge master cast a new Clocktower Cog",
    0x0CF: "Got the Clocktower Cog",
    0x0D0: "Fitted the Clocktower Cog in Vellumgate",
    0x0D1: "The clocktower struck twelve again",
    0x0D2: "Edmund's grandfather gave the Pocket Watch",
    0x0D3: "Found the second Gate Fragment behind the clock face",
    0x0D4: "Returned the second Gate Fragment to the museum",
    0x0D5: "Tobi's mother packed Potato Dumplings",
    0x0D6: "Bought the Copper Bangle from the forge market",
    # Hollowmere Abbey
    0x100: "Heard of the silent abbey at Hollowmere",
    0x101: "Walked the pilgrims' road",
    0x102: "The abbey gate was closed to visitors",
    0x103: "Rang the gate bell with the Bell Mallet",
    0x104: "Abbess Winifred let the party in",
    0x105: "The monks had forgotten how to speak",
    0x106: "Met Pell in the bell tower",
    0x107: "Pell joined the party",
    0x108: "Pell sat on the Meditation Mat until morning",
    0x109: "Pell learned to hear the words under the silence",
    0x10A: "Found the Lost Manuscript in the scriptorium",
    0x10B: "Read the Lost Manuscript aloud to the monks",
    0x10C: "The monks spoke again",
    0x10D: "The abbess gave the Abbey Pendant",
    0x10E: "Beat the Hush in the crypt of the abbey",
    0x10F: "Got the third Gate Fragment",
    0x110: "Returned the third Gate Fragment to the museum",
    0x111: "Drank Chamomile Tea in the abbey kitchen",
    0x112: "The abbey gardener gave a Parsnip (of course)",
    # The Marigolds, the theatre and the train
    0x140: "Saw the posters for the Marigolds' last show",
    0x141: "Bought a Theatre Ticket",
    0x142: "The Marigolds' leading lady had lost her voice",
    0x143: "Brought a Throat Lozenge to the dressing room",
    0x144: "Watched the Marigolds' show from the front row",
    0x145: "Pip ran on stage during the second act",
    0x146: "The audience thought Pip was part of the show",
    0x147: "The Marigolds invited the party on their tour",
    0x148: "Got the Train Ticket from the Marigolds' manager",
    0x149: "Took the night train to Larkspur Junction",
    0x14A: "Beat the Timetable Wraith on the train roof",
    0x14B: "Reached Larkspur Junction",
    0x14C: "The stationmaster gave the Star Chart",
    0x14D: "Found the fourth Gate Fragment in the lost luggage",
    0x14E: "Returned the fourth Gate Fragment to the museum",
    0x14F: "The Marigolds played one more encore",
    # The archive crypt
    0x180: "Heard whispers under the town archive",
    0x181: "Got the Crypt Key from the archive keeper",
    0x182: "Opened the crypt under the archive",
    0x183: "Lit the crypt with the Lantern of Calm",
    0x184: "Found the Surveyor's Notes in the crypt",
    0x185: "Learned where the Story Stones are hidden",
    0x186: "Beat the Redactor in the deepest vault",
    0x187: "Got the Inkwell of Ages",
    0x188: "The Voice of the Margin spoke again",
    # Story Stones
    0x200: "Found the Story Stone of the North Gate",
    0x201: "Found the Story Stone of the lighthouse",
    0x202: "Found the Story Stone of Glimmerforge",
    0x203: "Found the Story Stone of Hollowmere",
    0x204: "Found the Story Stone of Larkspur Junction",
    0x205: "Found the Story Stone of Inkwell Hill",
    0x208: "All six Story Stones were read",
    0x209: "Wren drew the last map",
    0x20A: "Odile read the last page",
    0x20B: "Tobi built the Starlight Projector",
    0x20C: "Pell heard the gate's true name",
    # The great gate and the Blot
    0x280: "Carried the Gate Fragments to the great gate",
    0x281: "Set the first Gate Fragment",
    0x282: "Set the second Gate Fragment",
    0x283: "Set the third Gate Fragment",
    0x284: "Set the fourth Gate Fragment",
    0x285: "Found the fifth Gate Fragment inside the Blank Book",
    0x286: "Set the fifth Gate Fragment",
    0x287: "The great gate was whole again",
    0x288: "The Blot rose from the Ink Sea",
    0x289: "Vellumgate's stories began to fade",
    0x28A: "The townsfolk lent their names to the party",
    0x28B: "Mr. Thistlewood lit every lamp in town",
    0x28C: "Barnaby sailed the party to the Ink Sea",
    0x300: "Entered the Ink Sea",
    0x301: "Crossed the Sea of Crossings-Out",
    0x302: "Beat the Errata Twins",
    0x303: "Reached the Last Page",
    0x304: "Marlowe wrote a name in the Blank Book",
    0x305: "Beat the Blot",
    0x306: "The stories of Vellumgate were bound again",
    0x307: "Said goodbye to the Voice of the Margin",
    0x308: "Walked home down Inkwell Hill",
    0x309: "Pip fell asleep under the Bindery presses",
    # Side stories, errands and small things
    0x380: "Found the Four-Leaf Clover in the park",
    0x381: "Sold the Jar of Fireflies to the night market",
    0x382: "Let the Jar of Fireflies go instead",
    0x383: "Found the Old Photograph in the pawn shop",
    0x384: "Returned the Old Photograph to the widow on Reed Lane",
    0x385: "Got the Locket from the widow on Reed Lane",
    0x386: "Found the Stopped Watch in the river",
    0x387: "Edmund's grandfather mended the Stopped Watch",
    0x388: "Found the Pressed Flower inside a library book",
    0x389: "Nerys forgave the overdue book",
    0x38A: "Found the Mystery Parcel at the post office",
    0x38B: "Opened the Mystery Parcel (it was a Mushroom Pie)",
    0x38C: "Won the pie contest at the harvest fair",
    0x38D: "Lost the pie contest at the harvest fair",
    0x38E: "Caspar's secret Royal Trifle recipe was found",
    0x38F: "Pip learned to fetch",
    0x390: "Pip learned to roll over",
    0x391: "Pip learned to play dead (he overacts)",
    0x392: "Hazel got every Postcard",
    0x393: "Hazel sent a Sugar Mouse as thanks",
    0x394: "Found the Moth Cocoon in the attic",
    0x395: "The Moth Cocoon hatched",
    0x396: "Bought the Music Box at the night market",
    0x397: "The Music Box played the Marigolds' song",
    0x398: "Beat the Paper Dragon at the kite festival",
    0x399: "Got the Paper Kite",
    0x39A: "Found all three hidden Hollow Acorns",
    0x39B: "The squirrel in the park took the Hollow Acorns",
    0x39C: "Got the Quill Case from the squirrel",
    0x39D: "Fished a Salted Herring off the pier",
    0x39E: "Rode the harbour carousel",
    0x39F: "Had a photograph taken at the museum",
    0x3A0: "Read every plaque in the museum",
    0x3A1: "Talked to every lamplighter in town",
    0x3A2: "Found the secret room behind the Bindery presses",
    0x3A3: "Saw the parsnip in the secret room (it was a different parsnip)",
    0x3F0: "Opened the bank account at Vellumgate Savings",
    0x3F1: "Rested at the harbour inn",
    0x3F2: "Rested at the Glimmerforge bunkhouse",
    0x3F3: "Rested in the Hollowmere guest cells",
    0x3F4: "Rested in the Larkspur waiting room",
    0x400: "Saw the ending and the credits",
}

HEADER = "'Vellumgate event flag descriptions\n'\n"


def main():
    DATA.mkdir(parents=True, exist_ok=True)
    about = ABOUT.replace("\n", "\r\n").encode("ascii")
    assert len(about) < 2160, len(about)
    (DATA / "about.dat").write_bytes(about)

    lines = [HEADER]
    for number in range(1, 1025):
        text = FLAGS.get(number, "")
        assert ":" not in text and "\n" not in text, number
        lines.append(f"${number:04X}:{text}\n")
    (DATA / "event.txt").write_text("".join(lines), encoding="ascii")
    print(f"about.dat: {len(about)} bytes; event.txt: {len(FLAGS)} descriptions")


if __name__ == "__main__":
    main()
