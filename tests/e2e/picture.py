#!/usr/bin/env python3
# What a grab of the game's client area (raw RGB, 8 bits a channel, on standard input) shows, for
# a window drawn at PERCENT of the game's own pixels. Usage: picture.py MODE WIDTH HEIGHT PERCENT
#
# scene        "same" when the grab is the scene at rest, every game pixel a whole block of screen
#              pixels of one colour (the scroll bar aside); else how many pixels differ, and the
#              first of them
# enemies H V  the tick after which the blue blocks stand where the game, with an outer height of
#              H pixels and speed V, puts them from the start ("tick N"), or "no tick" when no tick
#              of the first 400 does
import sys

BLACK, WHITE, DARK_RED, DARK_BLUE, LIGHT_BLUE = (0, 0, 0), (255, 255, 255), (128, 0, 0), (0, 0, 128), (192, 192, 255)
FIELD = (32, 32, 361, 361)
USER = (187, 181, 41, 41)
ENEMIES = [(46, 38, 61, 61), (257, 34, 57, 49), (42, 298, 30, 61), (281, 311, 101, 21)]
BAR = (31, 406, 362, 15)

mode, width, height, percent = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
data = sys.stdin.buffer.read()


def at(x, y):
    i = 3 * (y * width + x)
    return tuple(data[i:i + 3])


def screen(pixels):
    """The first screen pixel of a game pixel: the nearest to its scaled place, halves up."""
    return (pixels * percent + 50) // 100


def inside(box, x, y):
    left, top, w, h = box
    return left <= x < left + w and top <= y < top + h


def game_pixels():
    """Each game pixel of the client area, as its first screen pixel shows it."""
    return [[at(screen(x), screen(y)) for x in range(425)] for y in range(432)]


if mode == "scene":
    def expected(x, y):  # the colour of the game pixel at x, y: later boxes on top
        colour = BLACK
        for box, fill in [(FIELD, WHITE)] + [(e, DARK_BLUE) for e in ENEMIES] + [(USER, DARK_RED)]:
            colour = fill if inside(box, x, y) else colour
        return colour

    rows = [screen(y) for y in range(433)]
    columns = [screen(x) for x in range(426)]
    wrong, first = 0, ""
    for gy in range(432):
        for gx in range(425):
            if inside(BAR, gx, gy):
                continue
            want = expected(gx, gy)
            for y in range(rows[gy], rows[gy + 1]):
                for x in range(columns[gx], columns[gx + 1]):
                    if at(x, y) != want:
                        wrong += 1
                        first = first or f", first at {x},{y}: {at(x, y)} for {want}"
    print("same" if wrong == 0 and len(data) == 3 * width * height else f"{wrong} pixels differ{first}")
elif mode == "enemies":
    outer_height, speed = int(sys.argv[5]), int(sys.argv[6])
    pixels = game_pixels()
    seen = {(x, y) for y in range(432) for x in range(425)
            if pixels[y][x] in (DARK_BLUE, LIGHT_BLUE) and not inside(BAR, x, y)}
    # Left, top, width, height, and the directions a press sets off in (1: left, or up).
    boxes = [list(e) + [i % 2, i // 2] for i, e in enumerate(ENEMIES)]
    for tick in range(401):
        if tick:
            for box in boxes:  # the game's rules: move, then turn once past a limit
                left, top, w, h, dx, dy = box
                top += -speed if dy else speed
                dy = int(top >= 0) if dy else int(outer_height - h - 20 < top)
                left += -speed if dx else speed
                dx = int(left >= 0) if dx else int(FIELD[0] + FIELD[2] < left)
                box[:] = [left, top, w, h, dx, dy]
        # The blue pixels in view are those of the enemies, bar what the red block covers.
        placed = {(x, y) for left, top, w, h, _, _ in boxes
                  for y in range(max(top, 0), min(top + h, 432)) for x in range(max(left, 0), min(left + w, 425))
                  if not inside(USER, x, y) and not inside(BAR, x, y)}
        if placed == seen:
            print(f"tick {tick}")
            break
    else:
        print("no tick")
else:
    sys.exit(__doc__)
