# One copy at a time, any command line, any lock folder.
import os
import signal
import subprocess

import pytest

from homes import poll, spawn

pytestmark = [pytest.mark.lacks("page", reason="the browser owns its instances"),
              pytest.mark.lacks("gnome", reason="the program's instances are checked on X11")]


# And once the first is killed (its lock left behind), the game starts again.
def test_a_second_start_ends_at_once_silently_and_the_first_plays_on_until_killed(home, launch, game):
    second = subprocess.run(home.command, capture_output=True, timeout=10)
    assert (second.returncode, second.stdout + second.stderr) == (0, b"")
    assert home.desktop.windows() == 1 and game.running()
    game.process.kill()
    assert launch().id


# Odd command lines are kept, never interpreted. (Windows passes at most 32 767 characters.)
@pytest.mark.parametrize("args", [["--help"], ["a", "", "b", '"quoted"'], [os.fsdecode(b"\xff\xfe")],
                                  ["-platform", "nonsense"], ["long"]], ids=lambda a: a[0][:8])
def test_the_game_starts_with_any_arguments(home, launch, args):
    if args == ["long"]:
        args = ["x" * (30000 if home.name == "windows" else 100000)]
    assert launch(*args).id


@pytest.mark.lacks("windows", reason="the lock folders are the Linux program's")
def test_the_game_starts_quietly_without_a_usable_lock_folder(launch, work):
    assert launch(env={"XDG_RUNTIME_DIR": str(work / "does-not-exist")}).id
    game = launch(env={"XDG_RUNTIME_DIR": "", "TMPDIR": str(work)})
    assert (bool(game.id), game.errors()) == (True, "")


@pytest.mark.lacks("windows", reason="the lock folders are the Linux program's")
@pytest.mark.skipif(os.getuid() != 0, reason="only root can make another user's lock")
def test_another_users_held_lock_keeps_no_one_out(launch, work):
    # Without a runtime folder the lock goes to a folder of the user's own in the shared temporary
    # folder. Another user who made that folder first and holds a lock there keeps no one out.
    tmp_path = work / "shared"
    tmp_path.mkdir(mode=0o1777)
    folder = tmp_path / "wirbelbox-0"
    subprocess.run(["install", "-d", "-m", "777", "-o", "nobody", folder], check=True)
    holder = spawn(["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "flock",
                    folder / "wirbelbox.lock", "sleep", "30"], start_new_session=True)
    assert poll((folder / "wirbelbox.lock").exists)
    game = launch(env={"XDG_RUNTIME_DIR": "", "TMPDIR": str(tmp_path)})
    assert (bool(game.id), (folder / "wirbelbox.lock").owner()) == (True, "nobody")
    os.killpg(holder.pid, signal.SIGKILL)  # flock and the sleep it holds the lock for
