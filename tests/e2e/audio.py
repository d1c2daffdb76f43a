# What a recording of the game holds: 44.1 kHz, 16-bit mono samples as a numpy array.
import math
import wave

import numpy as np

RATE = 44100
ALARM_HZ = 880
ONE_ALARM = 13450  # samples: an alarm's 0.305 s, its longest


def ms(samples):
    return round(samples * 1000 / RATE)


# The pitch of each tenth of a second of sound (silence left out), from its zero crossings, in Hz,
# to the nearest 10.
def pitches(samples):
    sound = samples[samples != 0]
    blocks = sound[: len(sound) // 4410 * 4410].reshape(-1, 4410)
    crossings = np.count_nonzero((blocks[:, 1:] < 0) != (blocks[:, :-1] < 0), axis=1)
    return [round(c / 0.2 / 10) * 10 for c in crossings]


# How long any sound plays, in samples: moments of quiet from 1 ms on are left out.
def sounding(samples):
    loud = np.flatnonzero(np.abs(samples.astype(np.int32)) >= 64)
    gaps = np.diff(loud)
    return int(gaps[gaps < 44].sum())


# The length of each unbroken stretch of the alarm's sine, in ms. A sine obeys s[n-1] + s[n+1] = 2
# cos(w) s[n]; silence and jumps of phase do not: a sound cut off, restarted or starved for a moment
# ends a stretch. Seams of fewer than `bridge` samples inside one alarm are bridged (the pieces and
# seams together no longer than one alarm).
def tones(samples, bridge=0):
    s = samples.astype(np.int64)
    before, now, after = s[:-2], s[1:-1], s[2:]
    k = 2 * math.cos(2 * math.pi * ALARM_HZ / RATE)
    sine = ((np.abs(now) + np.abs(after)) > 0) & (np.abs(before + after - k * now) < 200)
    edges = np.diff(np.concatenate(([0], sine.astype(np.int8), [0])))
    starts, ends = np.flatnonzero(edges == 1), np.flatnonzero(edges == -1)
    stretches = []
    for start, end in zip(starts, ends):
        if end - start <= 44:
            continue
        last = stretches[-1] if stretches else None
        if last and start - last[1] < bridge and end - last[0] <= ONE_ALARM:
            last[1] = end
        else:
            stretches.append([start, end])
    return [ms(end - start) for start, end in stretches]


# Keeps a stretch of recording as a WAV file, for whoever looks into a failure.
def save(samples, path):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(samples.astype("<i2").tobytes())
