# The Windows program at other display scales, and its installer, as a player meets them.
import re
import subprocess
import time

import pytest

import test_window
from picture import RED, WHITE, at, scene_after

pytestmark = pytest.mark.lacks("linux", "wayland", "page", reason="the Windows program's own")


@pytest.fixture
def scaled(home, monkeypatch):
    """The second, larger screen, silent (so that no buzz holds the ticks up: the enemies get far in
    the time given) with its own window manager; `scaled(dpi)` sets Wine's LogPixels."""
    monkeypatch.setenv("DISPLAY", home.desktop.display + ".1")
    monkeypatch.setenv("PULSE_SERVER", "unix:/nonexistent/pulse")
    wm = home.desktop.start_wm(screen=1)

    def scale(dpi):
        # Wine learns the scale and the screen's size when its server starts: it starts anew.
        home.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        subprocess.run(["wineserver", "-w"])
        home.percent = dpi * 100 // 96

    yield scale
    scale(96)
    wm.kill()
    # Wine's desktop process comes back now, quietly: started by a game, it would write to that
    # game's standard error, and its own message when the X server goes away would join the game's.
    monkeypatch.undo()
    subprocess.run(["wineboot"], capture_output=True)


@pytest.mark.parametrize("dpi", [144, 192], ids=["150%", "200%"])
def test_at_a_larger_scale_every_block_is_solid_and_where_it_stands_at_100_percent(home, scaled, launch, dpi):
    scaled(dpi)
    game = launch()
    size = at(425, home.percent), at(432, home.percent)
    assert home.desktop.client_size(game) == size
    # At speed 10 (nine clicks on the bar's right arrow), the block held for three seconds: every
    # block a solid rectangle of one colour at its scaled place, the enemies turned where the game's
    # outer height at 100 % (the client and Wine's frame) turns them.
    for _ in range(9):
        game.mouse("move", at(386, home.percent), at(413, home.percent), "click", 1)
    game.mouse("move", at(207, home.percent), at(201, home.percent), "down", 1)
    time.sleep(3)
    game.mouse("up", 1)
    time.sleep(0.5)  # the last tick's picture
    path = scene_after(game.grab(*size), *size, home.percent, 457, 10)
    assert path.startswith("tick ") and int(path.split()[1]) > 35, path


@pytest.mark.parametrize("dpi", [144, 192], ids=["150%", "200%"])
def test_at_a_larger_scale_a_drag_follows_the_pointer_1_to_1_in_game_pixels(home, scaled, launch, dpi):
    scaled(dpi)
    game = launch()
    # The block, 187 to 228 wide, dragged 10 game pixels right: from 197 to 238, edges on whole pixels.
    scale = home.percent
    game.drag(at(200, scale), at(200, scale), at(210, scale), at(200, scale))
    left, right, y = at(197, scale), at(238, scale), at(200, scale)
    assert [game.wait_pixel(left - 1, y, WHITE), game.pixel(left, y), game.pixel(right - 1, y),
            game.pixel(right, y)] == [WHITE, RED, RED, WHITE]


def msi_property(msi, name):
    table = subprocess.run(["msiinfo", "export", msi, "Property"], capture_output=True, text=True).stdout
    return next((line.split("\t")[1].strip() for line in table.splitlines() if line.split("\t")[0] == name), None)


def installed_apps(home):
    """The "Installed apps" entries named Wirbelbox (Wine keeps them in either hive): name, version, publisher."""
    entries = []
    for hive in ("HKCU", "HKLM"):
        listing = home.wine("reg", "query", hive + r"\Software\Microsoft\Windows\CurrentVersion\Uninstall", "/s").stdout
        for key in re.split(r"\r?\n(?=HKEY)", listing):
            values = dict(re.findall(r"^\s+(DisplayName|DisplayVersion|Publisher)\s+REG_SZ\s+(.*?)\r?$", key, re.M))
            if values.get("DisplayName") == "Wirbelbox":
                entries.append((values["DisplayName"], values.get("DisplayVersion"), values.get("Publisher")))
    return entries


@pytest.mark.installer
def test_the_installer_installs_for_the_user_upgrades_in_place_and_removes_everything(
        request, home, launch, monkeypatch, tmp_path):
    msi, newer = request.config.getoption("msi")
    # (Wine's own menu entries for the Linux desktop are not the game's.)
    monkeypatch.setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d")
    users = home.work / "wine/drive_c/users"
    user = next(p for p in users.iterdir() if p.name != "Public")

    def game_files():
        return sorted(path for path in map(str, (p.relative_to(user) for p in user.rglob("*"))) if "wirbelbox" in path.lower())

    before = game_files()
    assert home.wine("msiexec", "/i", msi, "/qn").returncode == 0, "installs for the user, without questions"
    installed = [re.sub(r"\{[0-9A-F-]*\}", "{}", f) for f in game_files()]
    assert installed == ["AppData/Local/Programs/Wirbelbox", "AppData/Local/Programs/Wirbelbox/COPYING.txt",
                         "AppData/Local/Programs/Wirbelbox/wirbelbox.exe",
                         "AppData/Roaming/Microsoft/Installer/{}/wirbelbox.ico",
                         "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Wirbelbox.lnk"]
    shortcut = user / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Wirbelbox.lnk"
    assert rb"Programs\Wirbelbox\wirbelbox.exe" in shortcut.read_bytes(), "the shortcut starts the installed program"
    assert installed_apps(home) == [("Wirbelbox", msi_property(msi, "ProductVersion"), "Wirbelbox")]
    assert msi_property(msi, "ARPPRODUCTICON") == "wirbelbox.ico" and int(msi_property(msi, "ARPSIZE")) > 100
    # The installed program plays the window checks.
    monkeypatch.setattr(home, "command", ["wine", str(user / "AppData/Local/Programs/Wirbelbox/wirbelbox.exe")])
    game = launch()
    test_window.test_the_window_is_titled_wirbelbox_with_a_client_area_of_425_by_432(home, game)
    test_window.test_the_window_is_placed_by_its_outer_size_to_the_pixel(home, game)
    test_window.test_the_window_shows_its_32_by_32_icon(home, game)
    game.stop()
    test_window.test_closing_ends_the_program_and_leaves_no_file(home, launch, tmp_path)
    assert home.wine("msiexec", "/i", newer, "/qn").returncode == 0
    assert installed_apps(home) == [("Wirbelbox", msi_property(newer, "ProductVersion"), "Wirbelbox")], \
        "the next version replaces it in place: one entry, of the new version"
    assert home.wine("msiexec", "/x", newer, "/qn").returncode == 0
    assert (game_files(), installed_apps(home)) == (before, [])
    assert home.wine("reg", "query", r"HKCU\Software\Wirbelbox").returncode != 0, "no key of the game is left"
