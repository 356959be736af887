#!/usr/bin/env python3
"""Makes the game's six sound effects as WAV files in assets/.

Run by hand (python3 tools/make_sounds.py) after changing a recipe; the files it
writes are committed. The output depends only on this script: the noise comes
from its own generator, so every run writes the same bytes.

Every file is 8-bit unsigned mono PCM at 11025 Hz with the plain 44-byte header.
"""

import math
import struct
from pathlib import Path

RATE = 11025
ASSETS = Path(__file__).resolve().parent.parent / "assets"


class Noise:
    """A small linear congruential generator, so the noise is the same everywhere."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        """A value in -1..1."""
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x3FFFFFFF - 1.0


def ramp(i, count, edge):
    """1 inside, rising and falling linearly over `edge` samples at both ends."""
    return min(1.0, (i + 1) / edge, (count - i) / edge)


def beat(count, high_hz, low_hz):
    """A low thump: a tone gliding down, even in loudness, silent for its last quarter."""
    sounding = count * 3 // 4
    out, phase = [], 0.0
    for i in range(count):
        if i >= sounding:
            out.append(0.0)
            continue
        hz = high_hz + (low_hz - high_hz) * i / sounding
        phase += 2 * math.pi * hz / RATE
        # a little second harmonic gives the thump some body on small speakers
        tone = math.sin(phase) + 0.15 * math.sin(2 * phase)
        out.append(0.75 * tone * ramp(i, sounding, 40))
    return out


def explosion(count):
    """A loud noise burst, darkening and dying away over the second."""
    noise = Noise(1979)
    out, low = [], 0.0
    for i in range(count):
        t = i / RATE
        brightness = 0.55 * math.exp(-t / 0.35) + 0.12  # one-pole low-pass coefficient
        low += brightness * (noise.next() - low)
        out.append(1.8 * low * math.exp(-t / 0.28) * ramp(i, count, 30))
    return out


def shot(count, start_hz, end_hz):
    """A quiet tone sweeping down while it dies away."""
    out, phase = [], 0.0
    for i in range(count):
        hz = start_hz * (end_hz / start_hz) ** (i / (count - 1))
        phase += 2 * math.pi * hz / RATE
        out.append(0.35 * math.sin(phase) * math.exp(-2.0 * i / count) * ramp(i, count, 20))
    return out


def saucer(count, low_hz, high_hz, swoops):
    """A quiet warble of even loudness; whole cycles of everything, so it repeats
    without a click."""
    centre = round((low_hz + high_hz) / 2 * count / RATE) * RATE / count
    depth = (high_hz - low_hz) / 2
    rate = swoops * RATE / count
    out = []
    for i in range(count):
        t = i / RATE
        phase = 2 * math.pi * centre * t + depth / rate * (1 - math.cos(2 * math.pi * rate * t))
        out.append(0.3 * math.sin(phase))
    return out


def engine(count, cycles):
    """A loud, rough buzz: a sawtooth near 90 Hz with a little noise, in whole cycles
    so it repeats smoothly."""
    noise = Noise(2600)
    out = []
    for i in range(count):
        saw = 2.0 * ((i * cycles / count) % 1.0) - 1.0
        out.append(0.7 * saw + 0.15 * noise.next())
    return out


def to_bytes(samples):
    return bytes(max(0, min(255, 128 + round(127 * s))) for s in samples)


def wav_image(samples):
    data = to_bytes(samples)
    pad = b"\0" * (len(data) & 1)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    return (b"RIFF" + struct.pack("<I", 36 + len(data) + len(pad)) + b"WAVE" +
            b"fmt " + struct.pack("<I", len(fmt)) + fmt +
            b"data" + struct.pack("<I", len(data)) + data + pad)


SOUNDS = [
    ("beat0.wav", beat(1012, 80, 58)),
    ("beat1.wav", beat(1056, 70, 50)),
    ("explosion.wav", explosion(11328)),
    ("shot.wav", shot(3000, 790, 200)),
    ("saucer.wav", saucer(2241, 600, 1400, 2)),
    ("engine.wav", engine(1601, 13)),
]

if __name__ == "__main__":
    for name, samples in SOUNDS:
        (ASSETS / name).write_bytes(wav_image(samples))
        print(f"{name}: {len(samples)} samples")
