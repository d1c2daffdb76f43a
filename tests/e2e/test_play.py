# Playing: the drag, the enemies' run and freeze, the alarms at the edge, the buzz.
import math
import time

import audio
from homes import Recording, poll
from picture import LIGHT_BLUE, RED, WHITE, YELLOW, png


def test_the_block_follows_the_pointer_and_the_enemies_run_only_while_it_is_held(game):
    game.drag(200, 200, 210, 200)
    # The block's new right edge and its old left edge.
    assert (game.wait_pixel(236, 200, RED), game.wait_pixel(190, 200, WHITE)) == (RED, WHITE)
    # Enemy 0 heads down and right while the button is held: its first corner is soon field.
    assert game.wait_pixel(47, 39, WHITE) == WHITE
    game.mouse("up", 1)
    time.sleep(0.3)
    assert game.still(), "released, the scene should be frozen"


# The number of alarms up to two whole ones in a row, once the device has settled (a sound device
# may be slow to start, and falter at first); 0 before.
def settled(tones, shortest):
    return next((n + 2 for n in range(len(tones) - 1) if min(tones[n:n + 2]) >= shortest), 0)


# Held at the edge, every tick plays one alarm to its end (after a buzz for each enemy on the block).
# Once the device has settled the alarms play whole, 0.3 s unbroken, one after the other, and over
# sixteen pictures the scene moves on no more often than sounds began in as long a stretch of the
# recording (`steps` changes for each, where a home draws a picture in parts). The stretch starts
# where the recording stood as the watch began: a recording that falls behind the screen for a
# while counts the same.
def held_at_edge(home, game, recording):
    first = poll(lambda: settled(recording.tones(home.bridge), home.shortest))
    start, begun = recording.length(), time.monotonic()
    pictures = [game.picture(keep=False) for _ in range(16)]
    took = round((time.monotonic() - begun) * audio.RATE)
    poll(recording.length, lambda n: n >= start + took, seconds=10)
    tones = poll(lambda: recording.tones(home.bridge), lambda t: len(t) >= first + 6)
    changes = [n for n in range(1, 16) if pictures[n] != pictures[n - 1]]
    # (Sounds begun: how long anything sounded over the shortest a whole sound may be, rounded up.)
    sounds = math.ceil(audio.ms(audio.sounding(watched := recording.samples(start, start + took))) / home.shortest)
    whole = all(home.shortest <= n <= 305 for n in tones[first:first + 5])
    if not (first and len(tones) >= first + 6 and whole and len(changes) <= sounds * home.steps + 1):
        audio.save(watched, game.folder / "watched.wav")
        for n in [0] + changes:
            png(pictures[n], 425, 432, game.folder / f"watch-{n:02}.png")
        return f"alarms of {tones} ms; {len(changes)} changes, {sounds} sounds in {audio.ms(took)} ms"
    return "whole"


def test_alarms_play_whole_one_after_another_while_the_scene_waits(home, game, recording):
    # (Two alarms mixed would clip or jump in phase: no unbroken stretch of 0.3 s.)
    assert game.edge_and_back(lambda: held_at_edge(home, game, recording)) == (YELLOW, "whole", RED)
    assert recording.hears(audio.ALARM_HZ)


def test_back_inside_the_block_turns_dark_red_and_no_alarm_follows(game, evidence):
    game.mouse("move", 207, 201, "down", 1)
    assert (game.to_edge(), game.inside()) == (YELLOW, RED)
    # The tick that found the block inside came after the last alarm had ended: no alarm from 50 ms
    # on. (Firefox's page may paint it while the output still holds the alarm's last few
    # milliseconds: its latency is not waited for there.)
    recording = Recording(evidence / "after.raw")
    time.sleep(0.6)
    assert audio.tones(recording.samples(round(0.05 * audio.RATE))) == []


def test_an_enemy_touching_the_block_turns_light_blue_and_buzzes_at_2_khz(game, recording):
    game.drag(200, 200, 73, 79)
    assert game.wait_pixel(104, 64, LIGHT_BLUE) == LIGHT_BLUE
    assert recording.hears(2000)


# A tick that fell due while a sound played waits behind the release made meanwhile, as Windows
# delivers a timer's tick only when no input waits: no step and no sound follow the release.
def test_a_release_during_a_sound_is_followed_by_no_step_and_no_sound(home, game, recording):
    game.mouse("move", 207, 201, "down", 1)
    assert game.to_edge() == YELLOW
    poll(lambda: settled(recording.tones(home.bridge), home.shortest))  # an alarm plays at every moment
    game.mouse("up", 1)
    released = recording.length()
    time.sleep(0.5)  # the alarm that played at the release has ended
    frozen = game.picture()
    time.sleep(0.5)
    assert game.picture() == frozen, "the enemies stepped after the release"
    assert audio.sounding(recording.samples(released + round(0.45 * audio.RATE))) == 0, "a sound began after the release"
