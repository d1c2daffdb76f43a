# The homes the game plays in, each behind one interface: start the game, find its window and its
# client area's origin, move and press the pointer, grab the screen. Desktops: X11 (Xvfb with JWM,
# driven through XTEST by xdotool) and Wayland (a headless sway, driven by the driver's own virtual
# pointer, grabbed by grim). Homes: the Linux program on either, the Windows program under Wine
# and the page in a browser, both on X11. And the private PulseAudio server the sound goes to.
import json
import math
import os
import re
import select
import signal
import subprocess
import time
from pathlib import Path

import numpy as np

import audio
from picture import RED, at, png

_processes = []  # whatever the driver started: ended with the session


def spawn(command, log=subprocess.DEVNULL, errors=None, **options):
    """Starts a process that ends with the session at the latest; its output to `log`."""
    options.setdefault("stdin", subprocess.DEVNULL)
    process = subprocess.Popen(command, stdout=log, stderr=errors or log, **options)
    _processes.append(process)
    return process


def run(*command, **options):
    """A command's standard output; nothing when it fails."""
    done = subprocess.run(command, capture_output=True, text=True, **options)
    return done.stdout if done.returncode == 0 else ""


def end(process):
    """Ends a process as a desktop does, and kills it if it does not end within five seconds."""
    if process and process.poll() is None:
        process.send_signal(signal.SIGCONT)
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def end_all():
    for process in reversed(_processes):
        end(process)
    _processes.clear()


def poll(read, until=bool, seconds=5.0, every=0.1):
    """Reads until what it read is `until` (or `until` holds of it) or the deadline passes; returns
    the last reading. Every wait of the driver is one of these, bounded by what the behaviour allows."""
    holds = until if callable(until) else lambda value: value == until
    deadline = time.monotonic() + seconds
    while True:
        value = read()
        if holds(value) or time.monotonic() >= deadline:
            return value
        time.sleep(every)


def low(command):  # grabs run at the lowest priority: the game's and the browser's threads go first
    return ["nice", "-n", "19", *command]


class PulseServer:
    """A PulseAudio server of the test's own (in place of one that runs), with a null sink whose
    monitor is recorded. The null sink renders in blocks as long as its clients allow: two seconds
    while none asks for less, as before a game's first sound, and a recording then arrives in bursts
    up to two seconds behind the screen. A listener asking for 20 ms for the server's whole life
    keeps every recording within 20 ms of the sound."""

    def __init__(self, runtime):
        self.address = f"unix:{runtime}/pulse/native"
        self.process = None
        self.start()

    def start(self):
        self.end()
        self.process = spawn(["pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "-L",
                              "module-null-sink sink_name=wirbelbox", "-L", "module-native-protocol-unix"])
        poll(lambda: subprocess.run(["pactl", "info"], capture_output=True).returncode == 0, True)
        self.listener = spawn(["parec", "--latency-msec=20", "-d", "wirbelbox.monitor"])

    def end(self):
        end(self.process)

    def stop(self):  # a server that accepts connections and never answers
        self.process.send_signal(signal.SIGSTOP)

    def go_on(self):
        self.process.send_signal(signal.SIGCONT)

    def streams(self):
        return len(run("pactl", "list", "short", "sink-inputs").splitlines())

    def stream_names(self):
        return sorted(re.findall(r'(?:application|media)\.name = "[^"]*"', run("pactl", "list", "sink-inputs")))

    def record(self, path):
        return Recording(path)


class Recording:
    """What the server plays from the moment it was made, 44.1 kHz 16-bit mono."""

    def __init__(self, path):
        self.path = path
        self.process = spawn(["parec", "--latency-msec=20", "-d", "wirbelbox.monitor", "--raw",
                              "--format=s16le", "--rate=44100", "--channels=1"], log=open(path, "wb"))

    def stop(self):
        end(self.process)

    def length(self):
        return self.path.stat().st_size // 2

    def samples(self, start=0, stop=None):
        return np.fromfile(self.path, "<i2")[start:stop]

    def tones(self, bridge=0):
        return audio.tones(self.samples(), bridge)

    def hears(self, hz, seconds=5):
        """Whether the pitch is heard, waiting up to five seconds (a sound device may be slow to start)."""
        return hz in poll(lambda: audio.pitches(self.samples()), lambda p: hz in p, seconds)


class Game:
    """One start of the game: its process, its window and the client area's origin on the screen."""

    def __init__(self, home, process, folder):
        self.home, self.process, self.folder = home, process, folder
        self.id = poll(lambda: home.desktop.window(self), seconds=10)
        self.cx, self.cy = home.origin(self) if self.id else (0, 0)
        self.pictures, self.held = 0, False
        if self.id:
            poll(lambda: self.pixel(at(207, home.percent), at(201, home.percent)), RED)  # the first paint

    def errors(self):
        return (self.folder / "err.log").read_text(errors="replace")

    def running(self):
        return self.process.poll() is None

    def ended(self, seconds=5):
        """The exit status once the game has ended, waiting up to five seconds; None while it runs."""
        return poll(self.process.poll, lambda status: status is not None, seconds)

    def stop(self):
        end(self.process)

    def mouse(self, *words):
        """The pointer, in client pixels: move X Y | down B | up B | click B, in any sequence."""
        actions, words = [], list(words)
        while words:
            word = words.pop(0)
            if word == "move":
                actions.append(("move", self.cx + words.pop(0), self.cy + words.pop(0)))
            elif word == "click":
                button = words.pop(0)
                actions += [("down", button), ("up", button)]
            else:
                actions.append((word, words.pop(0)))
                self.held = word == "down"
        self.home.desktop.mouse(actions)

    def let_go(self):
        """Releases the button, and gives the game the time of a sound (0.31 s at most) to take the
        release in: Wine keeps a release that a game ended before it took in, and the next game's
        first press is then taken for a move."""
        if self.held:
            self.mouse("up", 1)
            time.sleep(0.35)

    def drag(self, x, y, to_x, to_y):
        """Presses the left button at one client point and, holding it, moves to another."""
        self.mouse("move", x, y, "down", 1, "move", to_x, to_y)

    def grab(self, width, height, x=0, y=0):
        return self.home.desktop.grab(width, height, self.cx + x, self.cy + y)

    def pixel(self, x, y):
        return tuple(self.grab(1, 1, x, y))

    def wait_pixel(self, x, y, colour, seconds=5):
        """The colour of a client pixel once it is `colour`, or the last seen after five seconds (and
        the picture then, as evidence)."""
        seen = poll(lambda: self.pixel(x, y), colour, seconds)
        if seen != colour:
            self.picture()
        return seen

    def picture(self, keep=True):
        """The client area's 425 x 432 pixels, kept as evidence."""
        data = self.grab(425, 432)
        if keep:
            self.pictures += 1
            png(data, 425, 432, self.folder / f"picture-{self.pictures:02}.png")
        return data

    def still(self):
        """Whether the window shows the same picture half a second later."""
        before = self.picture()
        time.sleep(0.5)
        return self.picture() == before

    def held_at(self, x, y, colour_x, colour_y, colour):
        """With the block held: moves it there and returns the colour then seen beside the pointer
        (a compositor may draw its cursor into the picture)."""
        self.mouse("move", x, y)
        return self.wait_pixel(colour_x, colour_y, colour)

    def to_edge(self):
        return self.held_at(207, 40, 202, 45, (255, 255, 0))

    def inside(self):
        # In two steps a frame apart: a page holds back moves made while a sound plays; they must
        # run in order.
        self.mouse("move", 207, 120)
        time.sleep(0.03)
        return self.held_at(207, 201, 202, 205, (128, 0, 0))

    def edge_and_back(self, during=lambda: None):
        """Drags the block onto the field's top edge and back: the colours seen at both places and,
        between them, what `during` found while the block was held at the edge."""
        self.mouse("move", 207, 201, "down", 1)
        at_edge = self.to_edge()
        found = during()
        back = self.inside()
        self.mouse("up", 1)
        return at_edge, found, back


class X11:
    """A private X server (Xvfb, 1024 x 768; more screens when asked) under JWM."""

    def __init__(self, work, screens=("1024x768x24",)):
        read, write = os.pipe()
        # -noreset: the server would otherwise reset whenever its last client goes, as when a test
        # has just stopped both the window manager and the game; a game started then could not connect.
        sizes = [word for n, size in enumerate(screens) for word in ("-screen", str(n), size)]
        self.server = spawn(["Xvfb", "-displayfd", str(write), *sizes, "-nolisten", "tcp", "-noreset"],
                            pass_fds=(write,))
        os.close(write)
        assert select.select([read], [], [], 10)[0], "no X server"
        self.display = f":{os.read(read, 16).decode().strip()}"
        os.environ["DISPLAY"] = self.display + ".0"
        self.wm = None
        self.start_wm()

    def start_wm(self, screen=0):
        env = dict(os.environ, DISPLAY=f"{self.display}.{screen}")
        wm = spawn(["jwm"], env=env)
        poll(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", env=env), True)
        if screen == 0:
            self.wm = wm
        return wm

    def mouse(self, actions):
        words = []
        for action in actions:
            if action[0] == "move":
                screen = os.environ["DISPLAY"].rsplit(".", 1)[1]
                words += ["mousemove", "--screen", screen, str(action[1]), str(action[2])]
            else:
                words += ["mouse" + action[0], str(action[1])]
        subprocess.run(["xdotool", *words], check=True)

    def grab(self, width, height, x, y):
        return subprocess.run(low(["import", "-silent", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                                   "-depth", "8", "rgb:-"]), capture_output=True).stdout

    def window(self, game):
        found = run("xdotool", "search", "--onlyvisible", "--pid", str(game.process.pid), "--name",
                    f"^Wirbelbox{game.home.title}$").split()
        return found[0] if found else None

    def windows(self):
        return len(run("xdotool", "search", "--onlyvisible", "--name", "^Wirbelbox$").split())

    def origin(self, game):
        info = run("xwininfo", "-id", game.id)
        return tuple(int(re.search(rf"Absolute upper-left {axis}:\s+(-?\d+)", info)[1]) for axis in "XY")

    def title(self, game):
        return run("xdotool", "getwindowname", game.id).strip()

    def client_size(self, game):
        info = run("xwininfo", "-id", game.id)
        return tuple(int(re.search(rf"{name}:\s+(\d+)", info)[1]) for name in ("Width", "Height"))

    def frame(self, game):
        """The window manager's frame: left, right, top, bottom."""
        return tuple(map(int, re.findall(r"\d+", run("xprop", "-id", game.id, "_NET_FRAME_EXTENTS").split("=")[-1])))

    def actions(self, game):
        """Which of closing, moving, resizing, maximising, minimising and full screen the window allows."""
        allowed = run("xprop", "-id", game.id, "_NET_WM_ALLOWED_ACTIONS")
        return set(re.findall(r"_NET_WM_ACTION_(CLOSE|MOVE|RESIZE|MAXIMIZE_HORZ|MAXIMIZE_VERT|MINIMIZE|FULLSCREEN)\b",
                              allowed))

    def icon(self, game):
        return re.findall(r"Icon \((\d+) x (\d+)\)", run("xprop", "-id", game.id, "_NET_WM_ICON"))

    def close(self, game):
        run("xdotool", "windowactivate", "--sync", game.id, "key", "--clearmodifiers", "alt+F4")


class Sway:
    """A headless sway with one 1024 x 768 output and borderless windows, as nobody (sway refuses to
    run as root); the pointer client keeps one virtual pointer for the whole run."""

    def __init__(self, work, pointer):
        runtime = work / "sway"
        runtime.mkdir(mode=0o700)
        os.chown(runtime, 65534, 65534)
        (work / "sway.conf").write_text("output HEADLESS-1 resolution 1024x768 position 0 0\n"
                                        "default_border none\ndefault_floating_border none\n")
        spawn(["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "sway", "-c", work / "sway.conf"],
              env=dict(os.environ, XDG_RUNTIME_DIR=str(runtime), WLR_BACKENDS="headless", WLR_RENDERER="pixman",
                       WLR_LIBINPUT_NO_DEVICES="1", HOME=str(runtime)))
        socket = poll(lambda: next(runtime.glob("wayland-*[0-9]"), None), seconds=10)
        os.environ.update(WAYLAND_DISPLAY=str(socket), QT_QPA_PLATFORM="wayland",
                          SWAYSOCK=str(poll(lambda: next(runtime.glob("sway-ipc.*.sock"), None))))
        self.pointer = spawn([pointer, "1024", "768"], subprocess.PIPE, subprocess.DEVNULL, stdin=subprocess.PIPE,
                             text=True)
        self.mouse([("move", 5, 5), ("down", 1), ("up", 1)])  # sway passes a new pointer's first press to no one

    def mouse(self, actions):
        for action in actions:
            print(*action, file=self.pointer.stdin, flush=True)
        for _ in actions:
            self.pointer.stdout.readline()  # each action's "ok"

    def grab(self, width, height, x, y):
        ppm = subprocess.run(low(["grim", "-g", f"{x},{y} {width}x{height}", "-t", "ppm", "-"]),
                             capture_output=True).stdout
        return ppm[-3 * width * height:]  # past the header: 8-bit RGB

    def view(self, game):
        """What sway shows of the game's window: its node in sway's tree."""
        def nodes(node):
            yield node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                yield from nodes(child)
        tree = json.loads(run("swaymsg", "-t", "get_tree") or "{}")
        return next((node for node in nodes(tree) if node.get("pid") == game.process.pid), None)

    def window(self, game):
        node = self.view(game)
        return node and str(node["id"])

    def origin(self, game):
        node = self.view(game)
        return node["rect"]["x"] + node["window_rect"]["x"], node["rect"]["y"] + node["window_rect"]["y"]

    def title(self, game):
        return self.view(game)["name"]

    def app_id(self, game):
        return self.view(game)["app_id"]

    def client_size(self, game):
        node = self.view(game)
        return node["window_rect"]["width"], node["window_rect"]["height"]

    def actions(self, game):
        """What a Wayland client can say of it: a fixed size (a minimum equal to its maximum, as the
        client asked it; WAYLAND_DEBUG's log) keeps it from resizing and maximising, and sway floats it."""
        asked = set(re.findall(r"set_(min|max)_size\((\d+, \d+)\)", game.errors()))
        fixed = asked == {("min", "425, 432"), ("max", "425, 432")} and self.view(game)["type"] == "floating_con"
        return {"CLOSE", "MOVE"} | (set() if fixed else {"RESIZE"})

    def close(self, game):
        run("swaymsg", f"[con_id={game.id}] kill")


class Linux:
    """The Linux program on X11."""
    name, title, bridge, shortest, steps, percent, x_connections = "linux", "", 0, 290, 1, 100, 1
    # An alarm counts as whole from 0.3 s less one period of the stream (10 ms): a sound that starts
    # after the stream ran dry is moved forward into the device's buffer, and the null sink's monitor
    # has sent on that stretch of silence already.

    def __init__(self, work, program, **_):
        self.work, self.command = work, [str(Path(program).resolve())]
        self.desktop = self.make_desktop(work)

    def make_desktop(self, work):
        return X11(work)

    def start(self, args, folder, env=None, cwd=None):
        with open(folder / "out.log", "ab") as out, open(folder / "err.log", "ab") as errors:
            process = spawn([*self.command, *args], out, errors, env=dict(os.environ, **(env or {})), cwd=cwd)
        return Game(self, process, folder)

    def origin(self, game):
        return self.desktop.origin(game)


class Wayland(Linux):
    """The Linux program under a headless sway."""
    name = "wayland"

    def __init__(self, work, program, pointer, **_):
        self.pointer = pointer
        super().__init__(work, program)

    def make_desktop(self, work):
        return Sway(work, self.pointer)


class Windows(Linux):
    """The Windows program under Wine on X11, with a second, larger screen for its scaled window.
    Its sound reaches the test's server through Wine's ALSA driver and ALSA's PulseAudio plugin: a
    client that feeds the server some 30 ms at a time from a thread of its own. A desktop gives such
    a thread real-time priority (rtkit), this machine does not: under load it misses a period now
    and then, so seams shorter than a period inside an alarm are bridged. Wine's route drops the
    last few tens of milliseconds as it closes the device, and Wine shows a tick's picture in up to
    two steps, the second within the first tenth of a second of its sound (the window's surface
    reaches the X server in parts)."""
    name, bridge, shortest, steps, x_connections = "windows", 1323, 250, 2, 2
    frame = (3, 3, 22, 3)  # Wine's own frame and caption, inside the window manager's

    def __init__(self, work, program, **_):
        super().__init__(work, program)
        self.command = ["wine", *self.command]
        # A device latency of Windows' order: with the plugin's default of two seconds, Wine holds a
        # synchronous sound until the whole buffer has drained. The prefix is made with the server
        # running and PULSE_SERVER set, or Wine finds no stream.
        os.environ.update(WINEPREFIX=str(work / "wine"), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                          PULSE_LATENCY_MSEC="30")
        (work / ".asoundrc").write_text("pcm.!default { type pulse }\nctl.!default { type pulse }\n")
        boot = subprocess.run(["wineboot", "-i"], capture_output=True, text=True,
                              env=dict(os.environ, WINEDEBUG="-all,err+all"))
        kernel = work / "wine/drive_c/windows/system32/kernel32.dll"
        assert boot.returncode == 0 and kernel.exists(), f"no complete Wine prefix: {boot.stderr[-2000:]}"
        self.wine("reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Audio", "/d", "alsa", "/f")

    def make_desktop(self, work):
        return X11(work, ("1024x768x24", "2048x1536x24"))

    def wine(self, *args):
        return subprocess.run(["wine", *args], capture_output=True, text=True)


class Page(Linux):
    """The page, served on 127.0.0.1, in a browser's window on X11 with a fresh profile for each
    start: Chromium as an app window, Firefox in kiosk mode, WebKitGTK's MiniBrowser. The sound
    passes through the browser's audio stream, fed some 30 ms at a time like Wine's (see there)."""
    name, title, bridge = "page", "( . .*)?", 1323  # a browser may add its own name to the title

    def __init__(self, work, folder, browser, **_):
        super().__init__(work, browser)
        self.command, self.browser = [browser], Path(browser).name
        here = Path(__file__).resolve().parent
        server = spawn(["node", here.parents[1] / "scripts/serve.mjs", folder], subprocess.PIPE, subprocess.DEVNULL,
                       text=True)
        self.url = server.stdout.readline().strip()

    def start(self, args, folder, env=None, cwd=None):
        profile = Path(self.work) / f"profile-{time.monotonic_ns()}"
        profile.mkdir()
        options = {
            "chromium": [f"--app={self.url}", "--test-type", "--no-first-run", "--no-sandbox", "--disable-gpu",
                         "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--window-size=600,560", "--window-position=0,0", f"--user-data-dir={profile}"],
            "firefox-esr": ["--no-remote", "--kiosk", "--profile", str(profile), self.url],
            "MiniBrowser": ["--geometry=600x560+0+0", self.url],
        }[self.browser]
        if self.browser == "firefox-esr":  # without its first-run pages
            (profile / "user.js").write_text("".join(f'user_pref("{name}", false);\n' for name in (
                "browser.aboutwelcome.enabled", "browser.shell.checkDefaultBrowser",
                "datareporting.policy.dataSubmissionEnabled")))
        return super().start([*options, *args], folder, env, cwd)

    def origin(self, game):
        """The game's black form in the browser's window: the black pixels, eroded by 5 so that thin
        dark strokes of the browser's own go, are the form 5 pixels smaller on every side."""
        x, y = self.desktop.origin(game)

        def form():
            shot = subprocess.run(["import", "-silent", "-window", game.id, "png:-"], capture_output=True).stdout
            found = subprocess.run(["convert", "-", "-fill", "white", "+opaque", "black", "-negate", "-morphology",
                                    "Erode", "Square:5", "-trim", "-format", "%w %h %[fx:page.x] %[fx:page.y]",
                                    "info:"], input=shot, capture_output=True).stdout.split()
            return [int(n) for n in found] if len(found) == 4 else [0] * 4

        w, h, fx, fy = poll(form, lambda f: f[:2] == [415, 422], seconds=10)
        return x + fx - 5, y + fy - 5


def placement(width, height):
    """Where the game places a window of this outer size on the 1024 x 768 screen, (left, top) in
    pixels: the load handler's arithmetic in twips, then the nearest pixel."""
    left, top = 7680 - width * 15 // 2, 4896 - height * 15 // 2
    return (2 * max(left, 0) + 15) // 30, (2 * max(top, 0) + 15) // 30


def sounds_in(samples, shortest):
    """How many sounds (buzz or alarm) at least began in a stretch: the time anything sounds there
    over the shortest a whole sound may be, rounded up."""
    return math.ceil(audio.ms(audio.sounding(samples)) / shortest)
