# The end-to-end driver's fixtures: the home the game plays in (homes.py: one class each behind one
# small interface), the private sound server it plays through with a recorder, and the evidence a
# failing check keeps. The checks (test_*.py) never ask which home they are on; what a home cannot
# show is skipped there with its reason (@pytest.mark.lacks).
import contextlib
import os
import shutil
import subprocess
import tempfile
from pathlib import Path

import numpy as np
import pytest

import audio
import homes

def pytest_addoption(parser):
    add = parser.addoption
    add("--home", choices=("linux", "gnome", "windows", "page"), default="linux", help="where the game plays")
    add("--sound", choices=("pulseaudio", "pipewire"), default="pulseaudio", help="the sound server (GNOME's: PipeWire)")
    add("--game", required=True, help="the Linux program, the Windows program or the page's folder")
    add("--browser", default="chromium", help="for the page: chromium, firefox-esr or MiniBrowser's path")
    add("--msi", nargs=2, metavar=("MSI", "NEXT_MSI"), help="the Windows installer and a newer one")
    add("--soak", type=int, default=0, help="seconds of random input")
    add("--evidence", default="e2e-evidence", help="where a failing check keeps what it saw")


def pytest_collection_modifyitems(items):
    items.sort(key=lambda item: item.get_closest_marker("last") is not None)  # (a stable sort)


def pytest_runtest_setup(item):
    option = item.config.getoption
    for mark in item.iter_markers("lacks"):
        if option("home") in mark.args:
            pytest.skip(f"{option('home')}: {mark.kwargs['reason']}")
    for marker, given in ("soak", option("soak")), ("installer", option("msi")):
        if item.get_closest_marker(marker) and not given:
            pytest.skip(f"no --{marker} given")


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item):
    report = (yield).get_result()
    if report.failed and hasattr(item, "evidence"):
        item.kept = True
        for raw in item.evidence.glob("*.raw"):  # recordings, as anyone can play them
            audio.save(np.fromfile(raw, "<i2"), raw.with_suffix(".wav"))
            raw.unlink()
        report.sections.append(("evidence", f"what the check saw is kept in {item.evidence}"))


# A folder for what the check sees: the game's output, pictures, recordings. Kept when the check
# fails, removed when it passes.
@pytest.fixture(autouse=True)
def evidence(request):
    folder = request.node.evidence = Path(request.config.getoption("evidence")).resolve() / request.node.name
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    yield folder
    if not getattr(request.node, "kept", False):
        shutil.rmtree(folder, ignore_errors=True)


# The session's private folders: home, runtime folder (the game's lock goes there).
@pytest.fixture(scope="session")
def work():
    folder = Path(tempfile.mkdtemp(prefix="wirbelbox-e2e-"))
    folder.chmod(0o711)  # a compositor or lock holder running as nobody passes through
    (folder / "runtime").mkdir(mode=0o700)
    os.environ.update(XDG_RUNTIME_DIR=str(folder / "runtime"), HOME=str(folder))
    yield folder
    homes.end_all()
    shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture(scope="session")
def sound(request, work):
    option = request.config.getoption
    pipewire = "pipewire" in (option("sound"), {"gnome": "pipewire"}.get(option("home")))
    server = (homes.PipeWireServer if pipewire else homes.PulseServer)(work / "runtime")
    os.environ["PULSE_SERVER"] = server.address
    return server


@pytest.fixture(scope="session")
def home(request, work, sound):
    option = request.config.getoption
    kind = {"linux": homes.Linux, "gnome": homes.Gnome, "windows": homes.Windows, "page": homes.Page}
    return kind[option("home")](work, option("game"), browser=option("browser"))


# Starts the game (extra arguments; env=… for its environment), its output kept as evidence; every
# game started is stopped after the check, its button let go first.
@pytest.fixture
def launch(home, evidence):
    games = []
    yield lambda *args, env=None, cwd=None: games.append(home.start(args, evidence, env, cwd)) or games[-1]
    for game in games:
        with contextlib.suppress(subprocess.CalledProcessError):  # (not once the X server has gone)
            game.let_go()
        game.stop()


# A fresh game, its window shown.
@pytest.fixture
def game(launch):
    game = launch()
    assert game.id, f"no window within ten seconds: {game.errors()[:300]}"
    return game


# What the sound server plays from now on.
@pytest.fixture
def recording(sound, evidence):
    recording = homes.Recording(evidence / "sound.raw")
    yield recording
    homes.end(recording.process)
