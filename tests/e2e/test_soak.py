# Random presses with several buttons on the block, the speed bar or anywhere, drags in and out of
# the window, releases outside it: the game must survive without a sanitizer report.
import os
import random
import time

import pytest

from picture import png


# The storm blows without a window manager: a right press that a popup of the game's (the speed
# bar's menu) hands on may land on the window's title bar, and the window manager's own menu could
# then close the window. Its menus are no part of the game.
@pytest.mark.soak
@pytest.mark.lacks("page", "windows", "gnome", reason="the Linux program's, on X11")
def test_the_game_survives_a_storm_of_input(request, home, launch):
    home.desktop.wm.kill()
    try:
        game = launch(env={"PULSE_SERVER": "unix:/nonexistent/pulse",
                           "ASAN_OPTIONS": "detect_leaks=0:quarantine_size_mb=1:" + os.environ.get("ASAN_OPTIONS", "")})
        storm = random.Random(20261206)  # the same storm on every run
        end, actions = time.monotonic() + request.config.getoption("soak"), 0
        while time.monotonic() < end and game.running():
            x, y = (207, 201) if storm.random() < 0.5 else (storm.randrange(425), storm.randrange(432))
            first = storm.randrange(3) + 1
            second = first % 3 + 1
            game.mouse("move", x, y, "down", first, "move", storm.randrange(600) - 90, storm.randrange(600) - 90,
                       "down", second, "move", storm.randrange(600) - 90, storm.randrange(600) - 90, "up", second,
                       "up", first)
            actions += 1
        if not game.running():
            png(home.desktop.grab(1024, 768, 0, 0), 1024, 768, game.folder / "screen.png")
        assert game.running(), f"ended with status {game.process.poll()} after {actions} actions"
        game.stop()
        assert "Sanitizer" not in game.errors() and "runtime error" not in game.errors()
    finally:
        home.desktop.wm = home.desktop.start_wm()
