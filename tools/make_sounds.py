#!/usr/bin/python3
# Re-run: /usr/bin/python3 tools/make_sounds.py   (needs espeak-ng and sox)
"""Makes the program's 20 sound clips in resources/wave/: spoken jokes, chimes and little tunes,
each mono MS ADPCM (4 bits) at its fixed sample rate and of its fixed length.

A clip is a row of parts played one after the other (speech, tunes, effects, silence); the row
is then padded or cut to the clip's exact sample count, so every length is exact. Speech that
would not fit is spoken faster until it does. No random numbers reach the output: sox runs
with its repeatable seed and without dither."""

import subprocess
import tempfile
import wave
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "resources" / "wave"

# Note names of one octave from middle C, for the tunes.
NOTES = {"C": 261.63, "D": 293.66, "E": 329.63, "F": 349.23, "G": 392.00, "A": 440.00,
         "B": 493.88}


def freq(note):
    """'C', 'G+' (an octave up), 'E-' (an octave down), 'F#'."""
    f = NOTES[note[0]]
    if "#" in note:
        f *= 2 ** (1 / 12)
    f *= 2 ** note.count("+")
    f /= 2 ** note.count("-")
    return f


def sox(*args):
    subprocess.run(["sox", "-R", "-D", *map(str, args)], check=True)


def samples(path):
    with wave.open(str(path)) as w:
        return w.getnframes()


class Clip:
    def __init__(self, number, rate, length, parts, note):
        self.number, self.rate, self.length, self.parts, self.note = (number, rate, length,
                                                                       parts, note)

    def frames(self):
        return round(self.length * self.rate)


# --- Parts: each writes a mono 16-bit file at the clip's rate ---------------------------------

def say(text, voice="en-gb-x-rp", speed=165, pitch=50, effects=()):
    def make(path, rate, tmp, faster=1.0):
        raw = tmp / "say.wav"
        subprocess.run(["espeak-ng", "-v", voice, "-s", str(round(speed * faster)), "-p",
                        str(pitch), "-w", str(raw), text], check=True)
        # Spoken, then trimmed of the silence at both ends.
        sox(raw, "-r", rate, "-c", 1, "-b", 16, path, *effects, "silence", 1, "0.01", "0.5%",
            "reverse", "silence", 1, "0.01", "0.5%", "reverse")
    make.speech = True
    return make


def tune(notes, beat=0.18, voice="pluck", volume=0.6):
    """notes: note names or (name, beats); '.' is a rest. voice: pluck, sine or square."""
    def make(path, rate, tmp):
        pieces = []
        for i, n in enumerate(notes):
            name, beats = (n, 1) if isinstance(n, str) else n
            d = beat * beats
            p = tmp / f"note{i}.wav"
            if name == ".":
                sox("-n", "-r", rate, "-c", 1, "-b", 16, p, "trim", 0, d)
            elif voice == "pluck":
                sox("-n", "-r", rate, "-c", 1, "-b", 16, p, "synth", d, "pluck", freq(name),
                    "vol", volume)
            else:
                sox("-n", "-r", rate, "-c", 1, "-b", 16, p, "synth", d, voice, freq(name),
                    "fade", "t", 0.01, d, d * 0.5, "vol", volume * 0.5)
            pieces.append(p)
        sox(*pieces, path)
    return make


def chord(names, length=0.9, voice="pluck", volume=0.5):
    def make(path, rate, tmp):
        synth = []
        for n in names:
            synth += [voice, freq(n)]
        sox("-n", "-r", rate, "-c", 1, "-b", 16, path, "synth", length, *synth,
            "fade", "t", 0.005, length, length * 0.7, "vol", volume)
    return make


def effect(*synth, length=0.4, volume=0.5):
    """A raw sox synth line, e.g. effect('sine', '600-120') for a falling whistle."""
    def make(path, rate, tmp):
        sox("-n", "-r", rate, "-c", 1, "-b", 16, path, "synth", length, *synth,
            "fade", "t", 0.005, length, length * 0.4, "vol", volume)
    return make


def rest(length):
    def make(path, rate, tmp):
        sox("-n", "-r", rate, "-c", 1, "-b", 16, path, "trim", 0, length)
    return make


def bell(note, length=0.8, volume=0.5):
    """A struck bell: a few inharmonic partials fading away."""
    f = freq(note)
    return effect("sine", f, "sine", f * 2.76, "sine", f * 5.4, length=length, volume=volume)


def boing(length=0.5):
    return effect("sine", "420:90", "tremolo", 18, 60, length=length, volume=0.6)


# --- The clips ---------------------------------------------------------------------------------
# Which player names call which clip is decided in the program; these only say what they play.
CLIPS = [
    Clip(179, 11025, 3.7, [chord(["C", "E", "G"], 0.6), say(
        "What a splendid name. The whole town is talking.")], "a name worth gossip"),
    Clip(180, 11025, 2.4, [say("Oh yes. Yes indeed!", "en-us+m3", 150, 60),
                           effect("whitenoise", length=0.25, volume=0.3)], "smug agreement"),
    Clip(182, 22050, 2.7, [tune(["G", "G", ("C+", 3)], 0.12, "square"), rest(0.1),
                           say("Welcome back!", "en-gb-x-rp+f3", 170, 60)], "fanfare"),
    Clip(183, 11025, 4.1, [say("Four letters, and every one of them heroic.", "en-gb-scotland"),
                           tune(["C", "E", "G", "C+"], 0.14)], "a short heroic name"),
    Clip(184, 22050, 3.3, [bell("E+", 0.6), bell("C+", 0.9), say(
        "Visitor at the gate!", "en-gb-x-rp+f2", 165, 55)], "doorbell"),
    Clip(185, 11025, 6.1, [say("Once upon a time, somebody typed a name. And the editor said: "
                               "what a lovely name.", "en-gb-x-rp+f4", 160, 45),
                           tune(["E", "G", "C+", "B", "C+"], 0.15)], "storyteller"),
    Clip(186, 11025, 1.8, [say("Bless you!", "en-us+f2", 160, 70),
                           tune(["C+", "E+", "G+"], 0.09, "sine")], "bless you"),
    Clip(187, 11025, 3.3, [say("Well, fancy meeting you here.", "en-gb-scotland+m3", 160, 45)],
         "fancy meeting you"),
    Clip(188, 11025, 4.8, [say("Three cheers for the archivist!", "en-gb-x-rp+m2", 165, 50),
                           say("Hip hip, hooray! Hooray!", "en-us+m4", 175, 70)], "cheers"),
    Clip(189, 22050, 8.7, [tune(["E", "G", "A", ("G", 2), "E", "C", ("D", 3), ".",
                                 "E", "G", "A", ("G", 2), "C+", "B", ("C+", 3), ".",
                                 "A", "C+", "B", "G", "A", "E", ("G", 2), "D", "E", ("C", 4)],
                                0.235)], "a little waltz on a music box"),
    Clip(190, 11025, 4.5, [bell("A+", 0.3, 0.4), bell("A+", 0.3, 0.4), bell("E+", 0.4, 0.4),
                           say("The forge glimmers, and the hammers sing.", "en-gb-x-rp+m1",
                               165, 40)], "the glimmering forge"),
    Clip(191, 22050, 2.2, [effect("whitenoise", "tremolo", 30, 80, length=0.5, volume=0.3),
                           say("Pickles! Gather round.", "en-gb-x-rp+m7", 175, 55)],
         "the pickle story begins"),
    Clip(192, 11025, 2.5, [say("Name accepted. Probably.", "en-us+klatt", 160, 40)],
         "grudging approval"),
    Clip(193, 11025, 26600 / 11025, [effect("square", 90, length=0.07, volume=0.4), rest(0.08),
                                     effect("square", 90, length=0.07, volume=0.4), rest(0.1),
                                     say("Rent is due on Tuesday. Cash only.", "en-us+m2", 175)],
         "the landlord of the empty space"),
    Clip(194, 11025, 2.9, [say("Still for rent. Please inquire within.", "en-gb-x-rp+f3", 170)],
         "the space is still for rent"),
    Clip(195, 11025, 9.6, [bell("C+", 0.5), bell("G", 0.7), say(
        "Attention, citizens of Vellumgate. A legend has entered the save file. Please remain "
        "calm, and keep your pickles in a cool, dry place.", "en-gb-x-rp+m3", 165, 45)],
         "town crier"),
    Clip(196, 11025, 7.8, [effect("square", "880:1760", length=0.2, volume=0.25), say(
        "Beep boop. Unit nine, reporting for duty. All systems nominal. Would you like a cup "
        "of tea?", "en-us+klatt2", 150, 30, ("flanger", 0, 2, 0, 71, 0.5))], "a polite robot"),
    Clip(197, 11025, 1.5, [say("Ta-da!", "en-us+f3", 170, 70), chord(["C", "E", "G", "C+"], 0.8)],
         "ta-da"),
    Clip(198, 11025, 1.7, [say("Hey! That tickles!", "en-us+f2", 190, 75), boing(0.35)],
         "someone poked the stats page"),
    Clip(199, 11025, 2.9, [bell("G", 1.0), say("That name rings a bell.", "en-gb-x-rp", 165)],
         "rings a bell"),
]


def build(clip, tmp):
    total = clip.frames()
    margin = clip.rate // 10  # a little air before and after
    paths = [tmp / f"part{i}.wav" for i in range(len(clip.parts))]
    faster = 1.0
    for part, path in zip(clip.parts, paths):
        (part(path, clip.rate, tmp, faster) if getattr(part, "speech", False) else
         part(path, clip.rate, tmp))
    while sum(samples(p) for p in paths) > total - margin and faster < 2.5:
        faster += 0.05  # too long for its clip: speak a little faster
        for part, path in zip(clip.parts, paths):
            if getattr(part, "speech", False):
                part(path, clip.rate, tmp, faster)
    parts = paths
    whole = tmp / "whole.wav"
    sox(*parts, whole) if len(parts) > 1 else sox(parts[0], whole)
    if samples(whole) > total:
        raise SystemExit(f"clip {clip.number} is {samples(whole)} samples, more than {total}")
    # Centre what we have in the clip's length, then make the length exact.
    lead = (total - samples(whole)) // 2
    exact = tmp / "exact.wav"
    tail = total - lead - samples(whole)
    sox(whole, exact, "norm", -2, "pad", f"{lead}s", f"{tail}s")
    assert samples(exact) == total
    clip.faster = faster
    out = OUT / f"{clip.number}.wav"
    sox(exact, "-r", clip.rate, "-c", 1, "-e", "ms-adpcm", out)
    return out


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for clip in CLIPS:
        with tempfile.TemporaryDirectory() as tmp:
            out = build(clip, Path(tmp))
            print(f"{out.name}: {clip.rate} Hz, {clip.frames()} samples, "
                  f"{clip.frames() / clip.rate:.3f} s, {out.stat().st_size} bytes, speech x{clip.faster:.2f} "
                  f"({clip.note})")


if __name__ == "__main__":
    main()
