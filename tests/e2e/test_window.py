# The window as the desktop meets it.
import pytest

from homes import placement

pytestmark = pytest.mark.lacks("page", reason="the browser owns the window; tests/web/page.mjs checks the page")


def test_the_window_is_titled_wirbelbox_with_a_client_area_of_425_by_432(home, game):
    assert (home.desktop.title(game), home.desktop.client_size(game)) == ("Wirbelbox", (425, 432))


@pytest.mark.lacks("gnome", reason="the compositor places windows; a client learns nothing of its place")
def test_the_window_is_placed_by_its_outer_size_to_the_pixel(home, game):
    # Under Wine the frame is Windows' own, inside the window manager's; on Linux the window manager's.
    left, right, top, bottom = getattr(home, "frame", None) or home.desktop.frame(game)
    x, y = placement(425 + left + right, 432 + top + bottom)
    assert abs(game.cx - left - x) <= 1 and abs(game.cy - top - y) <= 1, (game.cx - left, game.cy - top, x, y)


def test_the_window_can_be_closed_and_moved_but_not_resized(home, launch):
    assert home.desktop.actions(launch()) == {"CLOSE", "MOVE"}


@pytest.mark.lacks("gnome", reason="a Wayland client has no icon of its own: the desktop entry named by its app id has it")
def test_the_window_shows_its_32_by_32_icon(home, game):
    assert ("32", "32") in home.desktop.icon(game)


@pytest.mark.lacks("linux", "windows", reason="an X11 client has no application id")
def test_the_window_names_its_application_id(home, game):
    assert home.desktop.app_id(game) == "io.github.wirbelbox.wirbelbox"


def test_closing_ends_the_program_and_leaves_no_file(home, launch, tmp_path):
    game = launch(cwd=tmp_path)
    home.desktop.close(game)
    assert (game.ended(), list(tmp_path.iterdir())) == (0, [])
