#!/usr/bin/env python3
# What a recording of the game holds (44.1 kHz, 16-bit mono, raw).
# Usage: audio.py MODE FILE [N [FROM TO]]
#
# pitches  the pitch of each tenth of a second, from its zero crossings, in Hz
# tones    the length of each unbroken stretch of the alarm's 880 Hz sine, in ms: a sound cut off,
#          restarted or starved for a moment breaks the stretch; a third argument N bridges seams
#          of fewer than N samples inside one alarm (as many as there are, the pieces and seams
#          together no longer than one alarm)
# sounding how long any sound plays, in ms, moments of quiet from 1 ms on left out
import array
import math
import sys

mode, path = sys.argv[1:3]
# tones: seams to bridge, in samples; then, optionally, the stretch of samples [FROM, TO) to read
bridge, *span = map(int, sys.argv[3:] or [0])
samples = array.array("h", open(path, "rb").read())[slice(*span or [None])]
if mode == "pitches":
    sound = [x for x in samples if x]
    blocks = [sound[i:i + 4410] for i in range(0, len(sound) - 4409, 4410)]
    print(*(round(sum((a < 0) != (b < 0) for a, b in zip(b, b[1:])) / 0.2 / 10) * 10 for b in blocks))
elif mode == "sounding":
    loud = [n for n, x in enumerate(samples) if abs(x) >= 64]
    print(round(sum(b - a for a, b in zip(loud, loud[1:]) if b - a < 44) / 44.1))
elif mode == "tones":
    # A sine obeys s[n-1] + s[n+1] = 2 cos(w) s[n]; silence and jumps of phase do not: a sound
    # cut off, restarted or starved for a moment ends a stretch.
    k = 2 * math.cos(2 * math.pi * 880 / 44100)
    runs, start = [], None
    for n, (before, now, after) in enumerate(zip(samples, samples[1:], samples[2:])):
        sine = abs(now) + abs(after) > 0 and abs(before + after - k * now) < 200
        if sine and start is None:
            start = n
        elif not sine and start is not None:
            runs.append([start, n])
            start = None
    if start is not None:
        runs.append([start, len(samples) - 2])
    stretches = []
    for run in (r for r in runs if r[1] - r[0] > 44):
        last = stretches[-1] if stretches else None
        if last and run[0] - last[1] < bridge and run[1] - last[0] <= 13450:
            last[1] = run[1]
        else:
            stretches.append(run)
    print(*(round((end - start) / 44.1) for start, end in stretches))
