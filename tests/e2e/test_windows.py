# The game at other display scales, and the Windows program's installer, as a player meets them.
import re
import subprocess
import time

import pytest

import test_window
from homes import NOWHERE, poll
from picture import RED, WHITE, at, png, scene_after


# The game at its own size and, on Windows, at 150 % and 200 % on the second, larger screen with a
# window manager of its own, at DPI (Wine's LogPixels; Wine learns the scale and the screen's size
# when its server starts, so it starts anew: once for each scale, its checks in a row). Silent but
# in a browser, so that no buzz holds the ticks up: the enemies get far in the time given. (A
# browser without a sound output might hold its page's sounds instead.)
@pytest.fixture(scope="module", params=[96, 144, 192], ids=["100%", "150%", "200%"])
def scaled(request, home):
    if request.param != 96 and home.name != "windows":
        pytest.skip(f"{home.name}: display scales are Windows'")
    with pytest.MonkeyPatch.context() as monkeypatch:
        if home.name != "page":
            monkeypatch.setenv("PULSE_SERVER", NOWHERE)
        if request.param == 96:
            yield lambda pixel: pixel
            return
        monkeypatch.setenv("DISPLAY", home.desktop.display + ".1")
        wm = home.desktop.start_wm(screen=1)
        for dpi in request.param, 96:
            home.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
            subprocess.run(["wineserver", "-w"])
            home.percent = dpi * 100 // 96
            if dpi == 96:
                break
            yield lambda pixel: at(pixel, home.percent)
        wm.kill()
    # Wine's desktop process comes back now, quietly: started by a game, it would write to that
    # game's standard error, and its own message when the X server goes away would join the game's.
    subprocess.run(["wineboot"], capture_output=True)


# The scene at rest, every pixel where it belongs, standing still. Then at speed 10 (nine clicks on
# the bar's right arrow), the block held until enemy 0 has turned at the bottom, then let go: every
# block a solid rectangle of one colour at its scaled place, the enemies turned where the window's
# outer height at 100 % turns them (the client and the frame; the page's that of the same window on
# Windows).
@pytest.mark.lacks("gnome", reason="a Wayland client learns nothing of its frame")
def test_the_scene_stands_still_at_rest_and_every_block_is_solid_where_the_outer_height_turns_it(
        home, scaled, launch):
    game = launch()
    _, _, top, bottom = getattr(home, "frame", None) or home.desktop.frame(game)
    size = scaled(425), scaled(432)

    def ticks():
        path = scene_after(game.grab(*size), *size, home.percent, 432 + top + bottom, 10)
        return int(path.split()[1]) if path.startswith("tick ") else path

    assert (ticks(), game.still()) == (0, True)
    for _ in range(9):
        game.mouse("move", scaled(386), scaled(413), "down", 1, "up", 1)
    game.mouse("move", scaled(207), scaled(201), "down", 1)
    poll(ticks, lambda seen: isinstance(seen, int) and seen > 35, seconds=15)
    game.mouse("up", 1)
    time.sleep(0.5)  # the last tick's picture
    if not (isinstance(seen := ticks(), int) and seen > 35):
        png(game.grab(*size), *size, game.folder / "scene.png")
    assert isinstance(seen, int) and seen > 35, seen


@pytest.mark.lacks("linux", "gnome", "page", reason="the Windows program's own")
def test_at_a_larger_scale_a_drag_follows_the_pointer_1_to_1_in_game_pixels(home, scaled, launch):
    game = launch()
    assert home.desktop.client_size(game) == (scaled(425), scaled(432))
    # The block, 187 to 228 wide, dragged 10 game pixels right: from 197 to 238, edges on whole pixels.
    game.drag(scaled(200), scaled(200), scaled(210), scaled(200))
    left, right, y = scaled(197), scaled(238), scaled(200)
    assert [game.wait_pixel(left - 1, y, WHITE), game.pixel(left, y), game.pixel(right - 1, y),
            game.pixel(right, y)] == [WHITE, RED, RED, WHITE]


def msi(path, name):
    return re.search(rf"^{name}\t(.*)$", subprocess.run(["msiinfo", "export", path, "Property"], capture_output=True,
                                                         text=True).stdout, re.M)[1].strip()


# The "Installed apps" entries (Wine keeps them in either hive) of the game: name, version, publisher.
def installed_apps(home):
    keys = "".join(home.wine("reg", "query", hive + r"\Software\Microsoft\Windows\CurrentVersion\Uninstall", "/s").stdout
                   for hive in ("HKCU", "HKLM"))
    entries = [dict(re.findall(r"^\s+(DisplayName|DisplayVersion|Publisher)\s+REG_SZ\s+(.*?)\r?$", key, re.M))
               for key in re.split(r"\n(?=HKEY)", keys)]
    return [(e["DisplayName"], e.get("DisplayVersion"), e.get("Publisher")) for e in entries if e.get("DisplayName") == "Wirbelbox"]


# Installed for the user without questions, the program in its own folder, a Start-menu shortcut
# and an "Installed apps" entry; the installed program plays the window checks; the newer version
# replaces it in place; removing it leaves no file, folder, shortcut or registry key of the game.
@pytest.mark.installer
@pytest.mark.lacks("linux", "gnome", "page", reason="the Windows program's own")
def test_the_installer_installs_for_the_user_upgrades_in_place_and_removes_everything(
        request, home, launch, monkeypatch, tmp_path):
    first, newer = request.config.getoption("msi")
    monkeypatch.setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d")  # (Wine's own menu entries)
    user = next(p for p in (home.work / "wine/drive_c/users").iterdir() if p.name != "Public")
    programs = "AppData/Local/Programs/Wirbelbox"

    def game_files():
        return sorted(re.sub(r"\{[0-9A-F-]*\}", "{}", f) for f in map(str, (p.relative_to(user) for p in user.rglob("*")))
                      if "wirbelbox" in f.lower())

    before = game_files()
    assert home.wine("msiexec", "/i", first, "/qn").returncode == 0
    assert game_files() == [programs, f"{programs}/COPYING.txt", f"{programs}/wirbelbox.exe",
                            "AppData/Roaming/Microsoft/Installer/{}/wirbelbox.ico",
                            "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Wirbelbox.lnk"]
    shortcut = user / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Wirbelbox.lnk"
    assert rb"Programs\Wirbelbox\wirbelbox.exe" in shortcut.read_bytes(), "the shortcut starts the installed program"
    assert installed_apps(home) == [("Wirbelbox", msi(first, "ProductVersion"), "Wirbelbox")]
    assert msi(first, "ARPPRODUCTICON") == "wirbelbox.ico" and int(msi(first, "ARPSIZE")) > 100
    monkeypatch.setattr(home, "command", ["wine", str(user / programs / "wirbelbox.exe")])
    for check in (test_window.test_the_window_is_titled_wirbelbox_with_a_client_area_of_425_by_432,
                  test_window.test_the_window_is_placed_by_its_outer_size_to_the_pixel,
                  test_window.test_the_window_shows_its_32_by_32_icon):
        check(home, game := launch())
        game.stop()  # (one window at a time: the close below goes to the window made active)
    test_window.test_closing_ends_the_program_and_leaves_no_file(home, launch, tmp_path)
    assert home.wine("msiexec", "/i", newer, "/qn").returncode == 0
    assert installed_apps(home) == [("Wirbelbox", msi(newer, "ProductVersion"), "Wirbelbox")], "replaced in place"
    assert home.wine("msiexec", "/x", newer, "/qn").returncode == 0
    assert (game_files(), installed_apps(home)) == (before, [])
    assert home.wine("reg", "query", r"HKCU\Software\Wirbelbox").returncode != 0, "no key of the game is left"
