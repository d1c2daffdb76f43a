# Random presses with several buttons on the block, the speed bar or anywhere, drags in and out of
# the window, releases outside it: the game must survive without a sanitizer report.
import os
import random
import time

import pytest


@pytest.mark.soak
def test_the_game_survives_a_storm_of_input(request, launch):
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
    print(f"soak: {actions} actions")
    assert game.running(), f"ended with status {game.process.poll()} after {actions} actions"
    game.stop()
    assert "Sanitizer" not in game.errors() and "runtime error" not in game.errors()
