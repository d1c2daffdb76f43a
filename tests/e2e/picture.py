# What a grab of the game's client area shows (raw RGB, 8 bits a channel), for a window drawn at
# `percent` of the game's own pixels; and keeping a grab as a PNG file, as evidence.
import struct
import zlib
from pathlib import Path

import numpy as np

WHITE, RED, LIGHT_BLUE = (255, 255, 255), (128, 0, 0), (192, 192, 255)
YELLOW = (255, 255, 0)
# Left, top, width, height; the bar's with the black around it (a browser's thumb stands out of it).
FIELD, USER, BAR = (32, 32, 361, 361), (187, 181, 41, 41), (0, 400, 425, 32)
ENEMIES = [(46, 38, 61, 61), (257, 34, 57, 49), (42, 298, 30, 61), (281, 311, 101, 21)]


# A game pixel's first screen pixel at the window's scale: the nearest, halves up.
def at(pixel, percent):
    return (pixel * percent + 50) // 100


def box(mask, left, top, width, height, value=True):
    mask[max(top, 0):max(top + height, 0), max(left, 0):max(left + width, 0)] = value
    return mask


# "tick N" when every game pixel is a whole block of screen pixels of one colour and the scene is
# the game's after N ticks at SPEED from a press, its outer height at 100 % being OUTER_HEIGHT (the
# scroll bar aside; enemies blue or light blue); else what differs.
def scene_after(data, width, height, percent, outer_height, speed):
    screen = np.frombuffer(data, np.uint8).reshape(height, width, 3).astype(np.int32)
    first = np.array([at(p, percent) for p in range(433)])
    game = screen[first[:432]][:, first[:425]]  # each game pixel's first screen pixel
    blocks = np.repeat(np.repeat(game, np.diff(first)[:432], 0), np.diff(first)[:425], 1)
    bar = box(np.zeros((432, 425), bool), *BAR)
    differs = (blocks != screen[:first[432], :first[425]]).any(2)
    mixed = np.logical_or.reduceat(np.logical_or.reduceat(differs, first[:432], 0), first[:425], 1) & ~bar
    if mixed.any():
        return f"{mixed.sum()} game pixels of mixed screen pixels, first at {np.argwhere(mixed)[0][::-1]}"
    colour = game[..., 0] << 16 | game[..., 1] << 8 | game[..., 2]
    blue = np.isin(colour, [0x000080, 0xC0C0FF]) & ~bar
    base = box(box(np.full((432, 425), 0x000000), *FIELD, 0xFFFFFF), *USER, 0x800000)
    wrong = ~blue & ~bar & (colour != base)
    enemies = [list(e) + [i % 2, i // 2] for i, e in enumerate(ENEMIES)]  # and the directions a press sets
    for tick in range(401):
        placed = np.zeros((432, 425), bool)
        for left, top, w, h, _, _ in enemies:
            box(placed, left, top, w, h)
        if not wrong.any() and (placed & ~box(bar.copy(), *USER) == blue).all():
            return f"tick {tick}"
        for enemy in enemies:  # move, then turn once past a limit (1: left, up)
            left, top, w, h, dx, dy = enemy
            top += -speed if dy else speed
            left += -speed if dx else speed
            enemy[:] = [left, top, w, h, int(left >= 0) if dx else int(FIELD[0] + FIELD[2] < left),
                        int(top >= 0) if dy else int(outer_height - h - 20 < top)]
    return f"no tick; {wrong.sum()} game pixels of field, block or background wrong"


def png(rgb, width, height, path):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    rows = b"".join(b"\0" + rgb[3 * width * y:3 * width * (y + 1)] for y in range(height))
    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                           + chunk(b"IDAT", zlib.compress(rows, 1)) + chunk(b"IEND", b""))
