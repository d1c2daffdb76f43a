# The end-to-end driver's fixtures: the homes the game plays in (one class each behind one small
# interface), the private sound server it plays through with a recorder, and the evidence a failing
# check keeps. The checks (test_*.py) never ask which home they are on; what a home cannot show is
# skipped there with its reason (@pytest.mark.lacks).
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

HOMES = ("linux", "wayland", "windows", "page")


def pytest_addoption(parser):
    add = parser.addoption
    add("--home", choices=HOMES, default="linux", help="where the game plays")
    add("--game", required=True, help="the Linux program, the Windows program or the page's folder")
    add("--browser", default="chromium", help="for the page: chromium, firefox-esr or MiniBrowser's path")
    add("--pointer", help="for Wayland: the virtual pointer program")
    add("--msi", nargs=2, metavar=("MSI", "NEXT_MSI"), help="the Windows installer and a newer one")
    add("--soak", type=int, default=0, help="seconds of random input")
    add("--evidence", default="e2e-evidence", help="where a failing check keeps what it saw")


def pytest_configure(config):
    for marker in ("lacks(*homes, reason): the check cannot run on these homes, for this reason",
                   "robust: the faults a player or the desktop can cause (run under the sanitizers too)",
                   "installer: the Windows installer", "soak: random input for --soak seconds",
                   "last: ends the desktop, so runs after every other check"):
        config.addinivalue_line("markers", marker)


def pytest_collection_modifyitems(items):
    items.sort(key=lambda item: item.get_closest_marker("last") is not None)  # (a stable sort)


def pytest_runtest_setup(item):
    home = item.config.getoption("home")
    for mark in item.iter_markers("lacks"):
        if home in mark.args:
            pytest.skip(f"{home}: {mark.kwargs['reason']}")
    if item.get_closest_marker("soak") and not item.config.getoption("soak"):
        pytest.skip("no --soak seconds given")
    if item.get_closest_marker("installer") and not item.config.getoption("msi"):
        pytest.skip("no --msi given")


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    report = (yield).get_result()
    folder = getattr(item, "evidence", None)
    if report.failed and folder:
        item.kept = True
        for raw in folder.glob("*.raw"):  # recordings, as anyone can play them
            audio.save(np.fromfile(raw, "<i2"), raw.with_suffix(".wav"))
            raw.unlink()
        report.sections.append(("evidence", f"what the check saw is kept in {folder}"))


@pytest.fixture(autouse=True)
def evidence(request):
    """A folder for what this check sees: the game's output, pictures and recordings. Kept when the
    check fails, removed when it passes."""
    root = Path(request.config.getoption("evidence")).resolve()
    folder = root / request.node.name.replace("/", "_")
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    request.node.evidence = folder
    yield folder
    if not getattr(request.node, "kept", False):
        shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture(scope="session")
def work():
    """The session's private folders: home, runtime folder (the game's lock goes there)."""
    folder = Path(tempfile.mkdtemp(prefix="wirbelbox-e2e-"))
    folder.chmod(0o711)  # a compositor or lock holder running as nobody passes through
    runtime = folder / "runtime"
    runtime.mkdir(mode=0o700)
    os.environ.update(XDG_RUNTIME_DIR=str(runtime), HOME=str(folder), PYTHONDONTWRITEBYTECODE="1")
    yield folder
    homes.end_all()
    shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture(scope="session")
def sound(work):
    """A PulseAudio server of the test's own, with a null sink whose monitor is recorded."""
    server = homes.PulseServer(work / "runtime")
    os.environ["PULSE_SERVER"] = server.address
    yield server
    server.end()


@pytest.fixture(scope="session")
def home(request, work, sound):
    option = request.config.getoption
    kind = {"linux": homes.Linux, "wayland": homes.Wayland, "windows": homes.Windows, "page": homes.Page}
    yield kind[option("home")](work, option("game"), browser=option("browser"), pointer=option("pointer"))


@pytest.fixture
def launch(home, evidence):
    """Starts the game (extra arguments; env=… for its environment) with its output kept as
    evidence; every game started is stopped after the check."""
    games = []

    def start(*args, env=None, cwd=None):
        games.append(home.start(args, evidence, env=env, cwd=cwd))
        return games[-1]

    yield start
    for game in games:
        with contextlib.suppress(subprocess.CalledProcessError):  # (not once the X server has gone)
            game.let_go()
        game.stop()


@pytest.fixture
def game(launch):
    """A fresh game, its window shown."""
    game = launch()
    assert game.id, f"no window within ten seconds: {game.errors()[:300]}"
    return game


@pytest.fixture
def recording(sound, evidence):
    """What the sound server plays from now on."""
    recording = sound.record(evidence / "sound.raw")
    yield recording
    recording.stop()

