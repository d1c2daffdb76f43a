# What a grab of the game's client area shows (raw RGB, 8 bits a channel), for a window drawn at
# `percent` of the game's own pixels.
import struct
import zlib
from pathlib import Path

BLACK, WHITE, RED, BLUE, LIGHT_BLUE = (0, 0, 0), (255, 255, 255), (128, 0, 0), (0, 0, 128), (192, 192, 255)
YELLOW = (255, 255, 0)
FIELD, USER, BAR = (32, 32, 361, 361), (187, 181, 41, 41), (31, 406, 362, 15)
ENEMIES = [(46, 38, 61, 61), (257, 34, 57, 49), (42, 298, 30, 61), (281, 311, 101, 21)]


def at(pixel, percent):
    """A game pixel's first screen pixel at the window's scale: the nearest, halves up."""
    return (pixel * percent + 50) // 100


def inside(box, x, y):
    return box[0] <= x < box[0] + box[2] and box[1] <= y < box[1] + box[3]


def scene_after(data, width, height, percent, outer_height, speed):
    """"tick N" when every game pixel is a whole block of screen pixels of one colour and the scene
    is the game's after N ticks at `speed` from a press, the game's outer height at 100 % being
    `outer_height` (the scroll bar aside; enemies blue or light blue); else what differs."""
    screen = [at(p, percent) for p in range(433)]
    game = {}  # each game pixel's colour, when all its screen pixels have it; None when they differ
    for y in range(432):
        for x in range(425):
            colours = {bytes(data[3 * (v * width + u):3 * (v * width + u) + 3])
                       for v in range(screen[y], screen[y + 1]) for u in range(screen[x], screen[x + 1])}
            game[x, y] = tuple(colours.pop()) if len(colours) == 1 else None
    blended = [p for p, colour in game.items() if colour is None and not inside(BAR, *p)]
    if len(data) != 3 * width * height or blended:
        return f"{len(blended)} game pixels of mixed screen pixels, first at {blended[:1]}"

    def base(x, y):  # the colour of a game pixel where no enemy stands
        return RED if inside(USER, x, y) else WHITE if inside(FIELD, x, y) else BLACK

    wrong = [(p, c) for p, c in game.items()
             if not inside(BAR, *p) and c not in (BLUE, LIGHT_BLUE) and c != base(*p)]
    seen = {p for p, c in game.items() if c in (BLUE, LIGHT_BLUE) and not inside(BAR, *p)}
    # The game's rules from a press: left, top, width, height and the directions it sets (1: left, up).
    enemies = [list(e) + [i % 2, i // 2] for i, e in enumerate(ENEMIES)]
    for tick in range(401):
        placed = {(x, y) for left, top, w, h, _, _ in enemies
                  for y in range(max(top, 0), min(top + h, 432)) for x in range(max(left, 0), min(left + w, 425))
                  if not inside(USER, x, y) and not inside(BAR, x, y)}
        if placed == seen and not wrong:
            return f"tick {tick}"
        for enemy in enemies:  # move, then turn once past a limit
            left, top, w, h, dx, dy = enemy
            top += -speed if dy else speed
            dy = int(top >= 0) if dy else int(outer_height - h - 20 < top)
            left += -speed if dx else speed
            dx = int(left >= 0) if dx else int(FIELD[0] + FIELD[2] < left)
            enemy[:] = [left, top, w, h, dx, dy]
    return f"no tick; {len(wrong)} game pixels of field, block or background wrong, first {wrong[:1]}"


def png(rgb, width, height, path):
    """Keeps 8-bit RGB pixels as a PNG file, for whoever looks into a failure."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    rows = b"".join(b"\0" + rgb[3 * width * y:3 * width * (y + 1)] for y in range(height))
    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                           + chunk(b"IDAT", zlib.compress(rows, 1)) + chunk(b"IEND", b""))
