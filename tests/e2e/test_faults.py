# What a player or the desktop may do to the game: signals, a sound server that is missing, stops
# or dies, no display, the window manager going and coming, a storm of input, the X server's end.
import os
import random
import signal
import subprocess
import time

import pytest

from homes import NOWHERE, Recording, end, placement, poll
from picture import RED, YELLOW, png

pytestmark = pytest.mark.robust
LINUX_ONLY = pytest.mark.lacks("page", "windows", "gnome", reason="the Linux desktop's, on X11")
EDGE_AND_BACK = (YELLOW, None, RED)


# Holds the block at the field's edge, where every tick plays an alarm.
def sounding(game):
    game.drag(207, 201, 207, 40)
    time.sleep(0.5)
    return game


# An interrupt is a console's event on Windows, and the game has no console.
@pytest.mark.lacks("page", reason="the browser owns its signals")
@pytest.mark.lacks("gnome", reason="the program's signals are checked on X11")
@pytest.mark.parametrize("name", ["TERM", "HUP", "INT"])
def test_a_signal_during_a_sound_ends_the_game_promptly_and_quietly(home, launch, name):
    if (home.name, name) == ("windows", "INT"):
        pytest.skip("windows: an interrupt is a console's event, and the game has no console")
    game = sounding(launch())
    game.process.send_signal(getattr(signal, "SIG" + name))
    status = game.ended()
    # Released over the desktop, where the window manager opens its menu: close that again.
    subprocess.run(["xdotool", "mouseup", "1", "sleep", "0.3", "key", "Escape"])
    assert status not in (None, -6, -11, 134, 139) and game.errors() == ""
    assert launch().id


@LINUX_ONLY
def test_the_game_plays_on_silently_without_a_sound_server_or_beside_one_that_never_answers(launch, sound):
    assert launch(env={"PULSE_SERVER": NOWHERE}).edge_and_back() == EDGE_AND_BACK
    sound.process.send_signal(signal.SIGSTOP)  # accepts connections, never answers
    try:
        game = launch()
        assert (game.edge_and_back(), game.edge_and_back()) == (EDGE_AND_BACK, EDGE_AND_BACK)
    finally:
        sound.start()


@LINUX_ONLY
def test_the_game_follows_its_sound_server_through_death_and_stops(game, sound, evidence):
    game.drag(207, 201, 207, 40)
    assert poll(sound.streams, 1) == 1
    assert sound.stream_names() == ['application.name = "Wirbelbox"', 'media.name = "Wirbelbox"']
    game.inside()
    game.mouse("up", 1)
    time.sleep(3)
    assert poll(sound.streams, 0) == 0, "the stream goes away after a quiet spell"
    game.drag(207, 201, 207, 40)
    assert poll(sound.streams, 1) == 1, "and comes back with the next sound"
    end(sound.process)
    assert (game.inside(), game.to_edge(), game.running()) == (RED, YELLOW, True), "killed during a sound"
    sound.start()
    assert poll(sound.streams, 1) == 1, "the sound comes back with the server"
    sound.process.send_signal(signal.SIGSTOP)
    assert (game.inside(), game.to_edge()) == (RED, YELLOW), "stopped during a sound"
    sound.process.send_signal(signal.SIGCONT)
    assert Recording(evidence / "again.raw").hears(880), "the alarm sounds again once the server goes on"


@LINUX_ONLY
@pytest.mark.parametrize("display", ["", ":97"])
def test_without_a_display_the_game_ends_with_one_line(home, display):
    done = subprocess.run(home.command, capture_output=True, text=True,
                          env=dict(os.environ, DISPLAY=display, WAYLAND_DISPLAY="", QT_QPA_PLATFORM=""))
    assert (done.returncode, done.stdout, done.stderr.count("\n")) == (1, "", 1)
    assert done.stderr.startswith("wirbelbox: cannot open the game window: ")


@LINUX_ONLY
def test_the_game_plays_on_while_the_window_manager_is_gone_and_under_one_started_later(home, launch, game):
    home.desktop.wm.kill()  # as when it crashes
    try:
        time.sleep(0.5)
        assert game.running() and home.desktop.windows() == 1
        game.stop()
        alone = launch()  # placed by its client area: without a window manager there is no frame
        assert (alone.cx, alone.cy) == placement(425, 432)
    finally:
        home.desktop.wm = home.desktop.start_wm()
    time.sleep(0.5)
    alone.cx, alone.cy = home.origin(alone)
    alone.drag(200, 200, 210, 200)
    assert alone.wait_pixel(236, 200, RED) == RED


# Random presses with several buttons on the block, the speed bar or anywhere, drags in and out of
# the window, releases outside it: the game must survive without a sanitizer report. The storm
# blows without a window manager: a right press that a popup of the game's (the speed bar's menu)
# hands on may land on the window's title bar, and the window manager's own menu could then close
# the window. Its menus are no part of the game.
@pytest.mark.soak
@LINUX_ONLY
def test_the_game_survives_a_storm_of_input(request, home, launch):
    home.desktop.wm.kill()
    try:
        game = launch(env={"PULSE_SERVER": NOWHERE,
                           "ASAN_OPTIONS": "detect_leaks=0:quarantine_size_mb=1:" + os.environ.get("ASAN_OPTIONS", "")})
        storm = random.Random(20261206)  # the same storm on every run
        until, actions = time.monotonic() + request.config.getoption("soak"), 0
        while time.monotonic() < until and game.running():
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


@pytest.mark.last
@pytest.mark.lacks("page", "gnome", reason="the end of an X server is X11's")
def test_the_game_ends_with_one_message_when_the_x_server_goes_away(home, launch):
    # A logout or a dropped remote display, while a sound plays. (Under Wine it is Wine's X11 driver
    # that ends the program, with messages of its own: one for each of its X connections, and now
    # and then a fault in one of its threads on the way.)
    game = sounding(launch())
    home.desktop.server.kill()
    status = game.ended()
    lines = [line for line in game.errors().splitlines() if line and not line[0].isspace()]
    assert status is not None and (not home.reports_x_end or (status, len(lines)) == (1, 1)), game.errors()
