# The homes the game plays in, each behind one interface: start the game, find its window and its
# client area's origin, move and press the pointer, grab the screen. Desktops: X11 (Xvfb with JWM,
# driven through XTEST by xdotool) and GNOME's Wayland compositor (headless mutter, driven and
# watched through its remote desktop interfaces). Homes: the Linux program on either, the Windows
# program under Wine and the page in a browser, both on X11. And the private sound server the sound
# goes to: PulseAudio, or PipeWire as GNOME has it.
import os
import re
import select
import signal
import subprocess
import time
from pathlib import Path

import numpy as np

import audio
from picture import RED, YELLOW, at, png

_processes = []  # whatever the driver started: ended with the session at the latest
NOWHERE = "unix:/nonexistent/pulse"  # a sound server that is not there


# Starts a process, its output to `log` (and its errors to `errors` when given).
def spawn(command, log=subprocess.DEVNULL, errors=None, **options):
    options.setdefault("stdin", subprocess.DEVNULL)
    _processes.append(subprocess.Popen(command, stdout=log, stderr=errors or log, **options))
    return _processes[-1]


# A command's standard output; nothing when it fails.
def run(*command, **options):
    done = subprocess.run(command, capture_output=True, text=True, **options)
    return done.stdout if done.returncode == 0 else ""


# Ends a process as a desktop does; kills it if it has not ended within five seconds.
def end(process):
    if process and process.poll() is None:
        process.send_signal(signal.SIGCONT)
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def end_all():
    while _processes:
        end(_processes.pop())


# Reads until the reading is `until` (or `until` holds of it) or the deadline has passed; returns the
# last reading. Every wait of the driver is one of these, bounded by what the behaviour allows.
def poll(read, until=bool, seconds=5.0):
    holds = until if callable(until) else lambda value: value == until
    deadline = time.monotonic() + seconds
    while not holds(value := read()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return value


# A PulseAudio server of the test's own, with a null sink whose monitor is recorded. The null sink
# renders in blocks as long as its clients allow: two seconds while none asks for less, as before a
# game's first sound, and a recording would then arrive in bursts up to two seconds behind the
# screen. A listener that asks for 20 ms for the server's whole life keeps every recording within
# 20 ms of the sound.
class PulseServer:
    def __init__(self, runtime):
        self.address, self.process = f"unix:{runtime}/pulse/native", None
        self.start()

    # (Again, after a check ended or stopped it.)
    def start(self):
        end(self.process)
        self.process = self.serve()
        poll(lambda: subprocess.run(["pactl", "info"], capture_output=True).returncode, 0)
        run("pactl", "load-module", "module-null-sink", "sink_name=wirbelbox", "channels=1")  # (PipeWire adds up channels)
        run("pactl", "set-default-sink", "wirbelbox")
        spawn(["parec", "--latency-msec=20", "-d", "wirbelbox.monitor"])

    def serve(self):
        return spawn(["pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "-L", "module-native-protocol-unix"])

    def streams(self):
        return len(run("pactl", "list", "short", "sink-inputs").splitlines())

    def stream_names(self):
        return sorted(re.findall(r'(?:application|media)\.name = "[^"]*"', run("pactl", "list", "sink-inputs")))


# A PipeWire of the test's own, as GNOME's desktop has it: pipewire, its session manager and its
# PulseAudio server, which the game talks to (and which dies, stops and comes back in the checks),
# on a D-Bus session of the driver's own.
class PipeWireServer(PulseServer):
    def __init__(self, runtime):
        session_bus()
        spawn(["pipewire"])
        poll((runtime / "pipewire-0").exists)
        spawn(["wireplumber"])
        super().__init__(runtime)

    def serve(self):
        return spawn(["pipewire-pulse"])


# The driver's own D-Bus session, for whatever needs one.
def session_bus():
    if "WIRBELBOX_E2E_BUS" not in os.environ:
        bus = spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"], subprocess.PIPE, text=True)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = os.environ["WIRBELBOX_E2E_BUS"] = bus.stdout.readline().strip()


# What the server plays from the moment it was made, 44.1 kHz 16-bit mono, into a file.
class Recording:
    def __init__(self, path):
        self.path = path
        with open(path, "wb") as file:
            self.process = spawn(["parec", "--latency-msec=20", "-d", "wirbelbox.monitor", "--raw",
                                  "--format=s16le", "--rate=44100", "--channels=1"], file)

    def length(self):
        return self.path.stat().st_size // 2

    def samples(self, start=0, stop=None):
        return np.fromfile(self.path, "<i2")[start:stop]

    def tones(self, bridge=0):
        return audio.tones(self.samples(), bridge)

    # Whether the pitch is heard, waiting up to five seconds (a sound device may be slow to start).
    def hears(self, hz):
        return hz in poll(lambda: audio.pitches(self.samples()), lambda pitches: hz in pitches)


# One start of the game: its process, its window, the client area's origin on the screen, and
# what it wrote (err.log) and showed (picture-NN.png) in the check's evidence folder.
class Game:
    def __init__(self, home, process, folder):
        self.home, self.process, self.folder, self.pictures = home, process, folder, 0
        self.held, self.released = False, 0.0  # the button; when it was last let go (monotonic)
        self.id = poll(lambda: home.desktop.window(self), seconds=10)
        self.cx, self.cy = home.origin(self) if self.id else (0, 0)
        if self.id:  # the first paint
            poll(lambda: self.pixel(at(207, home.percent), at(201, home.percent)), RED)

    def errors(self):
        return (self.folder / "err.log").read_text(errors="replace")

    def running(self):
        return self.process.poll() is None

    # The exit status once the game has ended, waiting up to five seconds; None while it runs.
    def ended(self):
        return poll(self.process.poll, lambda status: status is not None)

    def stop(self):
        end(self.process)

    # The pointer, in client pixels: "move", X, Y | "down", BUTTON | "up", BUTTON, in any sequence.
    def mouse(self, *words):
        actions, words = [], iter(words)
        for word in words:
            actions.append((word, next(words) + self.cx, next(words) + self.cy) if word == "move" else (word, next(words)))
            self.held = {"down": True, "up": False}.get(word, self.held)
        self.home.desktop.mouse(actions)
        if any(action[0] == "up" for action in actions):
            self.released = time.monotonic()

    # Releases the button and gives the game a sound's time (0.31 s at most) from its last release to
    # take that in, also when the check let go itself just before it ended: Wine keeps a release that
    # a game ended before taking it, and the next game's first press is then taken for a move made
    # with the button down.
    def let_go(self):
        if self.held:
            self.mouse("up", 1)
        time.sleep(max(0.0, self.released + 0.35 - time.monotonic()))

    # Presses the left button at one client point and, holding it, moves to another.
    def drag(self, x, y, to_x, to_y):
        self.mouse("move", x, y, "down", 1, "move", to_x, to_y)

    def grab(self, width, height, x=0, y=0):
        return self.home.desktop.grab(width, height, self.cx + x, self.cy + y)

    def pixel(self, x, y):
        return tuple(self.grab(1, 1, x, y))

    # A client pixel's colour once it is `colour`, or the last seen after five seconds (its picture
    # then kept).
    def wait_pixel(self, x, y, colour):
        if (seen := poll(lambda: self.pixel(x, y), colour)) != colour:
            self.picture()
        return seen

    # The client area's 425 x 432 pixels, kept unless told.
    def picture(self, keep=True):
        data = self.grab(425, 432)
        if keep:
            self.pictures += 1
            png(data, 425, 432, self.folder / f"picture-{self.pictures:02}.png")
        return data

    # Whether the window shows the same picture half a second later.
    def still(self):
        before = self.picture()
        time.sleep(0.5)
        return self.picture() == before

    # With the block held: onto the field's top edge, or back inside in two steps a frame apart (a
    # page holds back moves made while a sound plays; they must run in order). Each returns the
    # colour then seen beside the pointer (a compositor may draw its cursor into the picture).
    def to_edge(self):
        self.mouse("move", 207, 40)
        return self.wait_pixel(202, 45, YELLOW)

    def inside(self):
        self.mouse("move", 207, 120)
        time.sleep(0.03)
        self.mouse("move", 207, 201)
        return self.wait_pixel(202, 205, RED)

    # Drags the block onto the field's top edge and back: the colours seen at both places and,
    # between them, what `during` found while the block was held at the edge.
    def edge_and_back(self, during=lambda: None):
        self.mouse("move", 207, 201, "down", 1)
        colours = self.to_edge(), during(), self.inside()
        self.mouse("up", 1)
        return colours


# What a desktop shows: its first 1024 x 768 pixels, as rows of RGB.
def whole_screen(desktop):
    return np.frombuffer(desktop.grab(1024, 768, 0, 0), np.uint8).reshape(768, 1024, 3)


# A private X server (Xvfb, 1024 x 768; more screens when asked) under JWM.
class X11:
    def __init__(self, screens=("1024x768x24",)):
        read, write = os.pipe()
        # -noreset: the server would otherwise reset whenever its last client goes, as when a check
        # has just stopped both the window manager and the game; a game started then could not connect.
        sizes = [word for n, size in enumerate(screens) for word in ("-screen", str(n), size)]
        self.server = spawn(["Xvfb", "-displayfd", str(write), *sizes, "-nolisten", "tcp", "-noreset"],
                            pass_fds=(write,))
        os.close(write)
        assert select.select([read], [], [], 10)[0], "no X server"
        self.display = f":{os.read(read, 16).decode().strip()}"
        os.environ["DISPLAY"] = self.display + ".0"
        self.wm = self.start_wm()

    def start_wm(self, screen=0):
        env = dict(os.environ, DISPLAY=f"{self.display}.{screen}")
        wm = spawn(["jwm"], env=env)
        poll(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", env=env))
        return wm

    def mouse(self, actions):
        screen = ["--screen", os.environ["DISPLAY"].rsplit(".", 1)[1]]
        words = [w for a in actions for w in (["mousemove", *screen] if a[0] == "move" else ["mouse" + a[0]]) + list(a[1:])]
        subprocess.run(["xdotool", *map(str, words)], check=True)

    # At the lowest priority: the game's, Wine's and the browser's threads go first.
    def grab(self, width, height, x, y):
        return subprocess.run(["nice", "-n", "19", "import", "-silent", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                               "-depth", "8", "rgb:-"], capture_output=True).stdout

    def window(self, game):
        title = f"^Wirbelbox{game.home.title}$"
        return next(iter(run("xdotool", "search", "--onlyvisible", "--pid", str(game.process.pid), "--name", title).split()), None)

    def windows(self):
        return len(run("xdotool", "search", "--onlyvisible", "--name", "^Wirbelbox$").split())

    def info(self, game, *names):
        text = run("xwininfo", "-id", game.id)
        return tuple(int(re.search(rf"{name}:\s+(-?\d+)", text)[1]) for name in names)

    def origin(self, game):
        return self.info(game, "Absolute upper-left X", "Absolute upper-left Y")

    def client_size(self, game):
        return self.info(game, "Width", "Height")

    def title(self, game):
        return run("xdotool", "getwindowname", game.id).strip()

    def property(self, game, name):
        return run("xprop", "-id", game.id, name)

    # The window manager's frame: left, right, top, bottom.
    def frame(self, game):
        return tuple(map(int, re.findall(r"\d+", self.property(game, "_NET_FRAME_EXTENTS").split("=")[-1])))

    # Which of closing, moving, resizing, maximising, minimising and full screen the window allows.
    def actions(self, game):
        return set(re.findall(r"_NET_WM_ACTION_(CLOSE|MOVE|RESIZE|MAXIMIZE_HORZ|MAXIMIZE_VERT|MINIMIZE|FULLSCREEN)\b",
                              self.property(game, "_NET_WM_ALLOWED_ACTIONS")))

    def icon(self, game):
        return re.findall(r"Icon \((\d+) x (\d+)\)", self.property(game, "_NET_WM_ICON"))

    def close(self, game):
        run("xdotool", "windowactivate", "--sync", game.id, "key", "--clearmodifiers", "alt+F4")


# GNOME's compositor, mutter, headless with one 1024 x 768 virtual monitor, on the driver's D-Bus
# session and PipeWire. The pointer moves through its RemoteDesktop interface, absolutely on a
# screen cast of that monitor, whose PipeWire stream GStreamer's pipewiresrc receives frame by
# frame. It has no window list a client may read, and draws no title bar: Qt draws its own, and the
# game's window is found in the picture (the white field's corner, 32 pixels into the black form).
class Mutter:
    BUTTONS = {1: 0x110, 2: 0x112, 3: 0x111}  # X's left, middle and right as evdev codes

    def __init__(self, work):
        import gi
        gi.require_version("Gst", "1.0")
        from gi.repository import Gio, GLib, Gst
        self.GLib, self.Gst = GLib, Gst
        session_bus()
        spawn(["mutter", "--headless", "--wayland", "--no-x11", "--virtual-monitor", "1024x768"], open(work / "mutter.log", "wb"))
        os.environ.update(WAYLAND_DISPLAY=str(poll(lambda: next(work.glob("runtime/wayland-?"), None), seconds=10)),
                          QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="1")
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        poll(lambda: self.call("RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop", "org.freedesktop.DBus.Peer.Ping"), (), 10)
        self.session = self.call("RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop", "CreateSession")[0]
        remote = self.call("RemoteDesktop", self.session, "org.freedesktop.DBus.Properties.Get",
                           ("(ss)", ("org.gnome.Mutter.RemoteDesktop.Session", "SessionId")))[0]
        cast = self.call("ScreenCast", "/org/gnome/Mutter/ScreenCast", "CreateSession",
                         ("(a{sv})", ({"remote-desktop-session-id": GLib.Variant("s", remote)},)))[0]
        self.stream = self.call("ScreenCast", cast, "Session.RecordMonitor", ("(sa{sv})", ("Meta-0", {"cursor-mode": GLib.Variant("u", 0)})))[0]
        nodes = []
        self.bus.signal_subscribe(None, "org.gnome.Mutter.ScreenCast.Stream", "PipeWireStreamAdded", self.stream, None, 0,
                                  lambda *signal: nodes.append(signal[5].unpack()[0]))
        self.call("RemoteDesktop", self.session, "Session.Start")
        poll(lambda: (GLib.MainContext.default().iteration(False), nodes)[1])  # (the signal comes through GLib's loop)
        Gst.init(None)
        self.pipeline = Gst.parse_launch(f"pipewiresrc path={nodes[0]} always-copy=true ! video/x-raw,format=BGRx "
                                         "! appsink name=frames emit-signals=true max-buffers=1 drop=true sync=false")
        self.frames, self.sample = 0, None
        self.pipeline.get_by_name("frames").connect("new-sample", self.received)
        self.pipeline.set_state(Gst.State.PLAYING)
        poll(lambda: self.frames, seconds=10)
        self.mouse([("move", 5, 5), ("down", 1), ("up", 1)])  # a new pointer's first press reaches no one

    def call(self, service, path, method, args=None):
        interface, _, name = method.rpartition(".")
        interface = interface if interface.startswith("org.freedesktop") else ".".join(filter(None, ("org.gnome.Mutter", service, interface)))
        variant = self.GLib.Variant(*args) if args else None
        try:
            return self.bus.call_sync(f"org.gnome.Mutter.{service}", path, interface, name, variant, None, 0, 5000, None).unpack()
        except self.GLib.Error:
            return None

    # (On GStreamer's thread.) Keeps the monitor's newest picture, untouched until a grab copies the
    # rows it needs: converting and copying every frame whole (3 MB) made PipeWire miss a cycle of
    # the game's sound in about one alarm of a hundred.
    def received(self, sink):
        self.sample = sink.emit("pull-sample")
        self.frames += 1
        return self.Gst.FlowReturn.OK

    # Each action a moment after the last: Qt's title bar takes a press and release that come at once
    # for no click.
    def mouse(self, actions):
        for action in actions:
            time.sleep(0.01)
            if action[0] == "move":
                self.call("RemoteDesktop", self.session, "Session.NotifyPointerMotionAbsolute", ("(sdd)", (self.stream, *action[1:])))
            else:
                self.call("RemoteDesktop", self.session, "Session.NotifyPointerButton", ("(ib)", (self.BUTTONS[action[1]], action[0] == "down")))

    # The screen as it is now: the next picture the monitor sends, or the last one when nothing has
    # changed within a tenth of a second.
    def grab(self, width, height, x, y):
        seen = self.frames
        poll(lambda: self.frames != seen, seconds=0.1)
        rows = self.sample.get_buffer().extract_dup(4096 * y, 4096 * height)  # (BGRx, 1024 to a row)
        return np.frombuffer(rows, np.uint8).reshape(height, 1024, 4)[:, x:x + width, 2::-1].tobytes()

    def window(self, game):
        return "gnome" if field(whole_screen(self)) else None

    def origin(self, game):
        return origin_in(self)

    # The black form's width along its top row and height down its left column.
    def client_size(self, game):
        black = (whole_screen(self) == 0).all(2)
        return tuple(int(np.argmin(np.append(line, False))) for line in (black[game.cy, game.cx:], black[game.cy:, game.cx]))

    def title(self, game):
        return re.findall(r'set_title\("(.*)"\)', game.errors())[-1]

    def app_id(self, game):
        return re.findall(r'set_app_id\("(.*)"\)', game.errors())[-1]

    # What the title bar Qt draws lets a player do: moving the window by its title (the first step
    # starts the compositor's move, the second moves), and closing; a window of a fixed size (as it
    # asked) cannot be resized.
    def actions(self, game):
        x, y, to = game.cx + 200, game.cy - 16, (game.cx + 50, game.cy + 50)
        self.mouse([("move", x, y), ("down", 1), ("move", x + 5, y + 5)])
        time.sleep(0.2)
        self.mouse([("move", x + 50, y + 50), ("up", 1)])
        return {"CLOSE"} | ({"MOVE"} if poll(lambda: self.origin(game), to) == to else set()) | resizable(game)

    # Through the close button at the title bar's right end, as a hand comes to it from outside.
    def close(self, game):
        for action in ("move", game.cx + 410, game.cy - 60), ("move", game.cx + 410, game.cy - 16), ("down", 1), ("up", 1):
            self.mouse([action])
            time.sleep(0.1)


# The Linux program on X11. What the sound checks allow: an alarm counts as whole from 0.3 s less
# one period of the stream (10 ms), since a sound that starts after the stream ran dry is moved
# forward into the device's buffer and the null sink's monitor has sent on that stretch of silence
# already; no seam inside an alarm is bridged, and each sound changes the scene once.
class Linux:
    name, title, bridge, shortest, steps, percent = "linux", "", 0, 290, 1, 100
    reports_x_end = True  # the X server's end, in one line of its own
    desktop_of = staticmethod(lambda work, **_: X11())

    def __init__(self, work, program, **options):
        self.work, self.command = work, [str(Path(program).resolve())]
        self.desktop = self.desktop_of(work, **options)

    def start(self, args, folder, env=None, cwd=None):
        with open(folder / "out.log", "ab") as out, open(folder / "err.log", "ab") as errors:
            process = spawn([*self.command, *args], out, errors, env=dict(os.environ, **(env or {})), cwd=cwd)
        return Game(self, process, folder)

    def origin(self, game):
        return self.desktop.origin(game)


# The Linux program under GNOME's compositor, a native Wayland client (its Wayland log, with what
# it asks of the compositor, in its err.log).
class Gnome(Linux):
    name, desktop_of = "gnome", staticmethod(lambda work, **_: Mutter(work))


# The Windows program under Wine on X11, with a second, larger screen for its scaled window. Its
# sound reaches the test's server through Wine's ALSA driver and ALSA's PulseAudio plugin: a client
# that feeds the server some 30 ms at a time from a thread of its own. A desktop gives such a thread
# real-time priority (rtkit), this machine does not: under load it misses a period now and then,
# so seams shorter than a period inside an alarm are bridged. Wine's route drops the last few tens
# of milliseconds as it closes the device, and Wine shows a tick's picture in up to two steps, the
# second within the first tenth of a second of its sound (the window's surface reaches the X server
# in parts).
class Windows(Linux):
    name, bridge, shortest, steps, reports_x_end = "windows", 1323, 250, 2, False
    frame = (3, 3, 22, 3)  # Wine's own frame and caption, inside the window manager's
    desktop_of = staticmethod(lambda work, **_: X11(("1024x768x24", "2048x1536x24")))

    def __init__(self, work, program, **_):
        super().__init__(work, program)
        self.command.insert(0, "wine")
        # A device latency of Windows' order: with the plugin's default of two seconds, Wine holds a
        # synchronous sound until the whole buffer has drained. The prefix is made with the server
        # running and PULSE_SERVER set, or Wine finds no stream.
        os.environ.update(WINEPREFIX=str(work / "wine"), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                          PULSE_LATENCY_MSEC="30")
        (work / ".asoundrc").write_text("pcm.!default { type pulse }\nctl.!default { type pulse }\n")
        boot = subprocess.run(["wineboot", "-i"], capture_output=True, text=True,
                              env=dict(os.environ, WINEDEBUG="-all,err+all"))
        assert (work / "wine/drive_c/windows/system32/kernel32.dll").exists(), f"no complete Wine prefix: {boot.stderr}"
        self.wine("reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Audio", "/d", "alsa", "/f")

    def wine(self, *args):
        return subprocess.run(["wine", *args], capture_output=True, text=True)


# The page, served on 127.0.0.1, in a browser's window on X11 with a fresh profile for each start:
# Chromium as an app window, Firefox in kiosk mode (without its first-run pages), WebKitGTK's
# MiniBrowser. Its sound passes through the browser's audio stream, fed some 30 ms at a time like
# Wine's (see there). A browser may add its own name to the window's title.
class Page(Linux):
    name, title, bridge = "page", "( . .*)?", 1323
    frame = (3, 3, 26, 3)  # the frame the page counts: the same window's on Windows 10 and 11 at 100 %

    def __init__(self, work, folder, browser, **_):
        super().__init__(work, browser)
        self.command, self.browser = [browser], Path(browser).name
        server = spawn(["node", Path(__file__).parents[2] / "scripts/serve.mjs", folder], subprocess.PIPE, text=True)
        self.url = server.stdout.readline().strip()

    def start(self, args, folder, env=None, cwd=None):
        profile = self.work / f"profile-{time.monotonic_ns()}"
        profile.mkdir()
        (profile / "user.js").write_text("".join(f'user_pref("{name}", false);\n' for name in (
            "browser.aboutwelcome.enabled", "browser.shell.checkDefaultBrowser", "datareporting.policy.dataSubmissionEnabled")))
        options = {
            "chromium": [f"--app={self.url}", "--test-type", "--no-first-run", "--no-sandbox", "--disable-gpu",
                         "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--window-size=600,560", "--window-position=0,0", f"--user-data-dir={profile}"],
            "firefox-esr": ["--no-remote", "--kiosk", "--profile", str(profile), self.url],
            "MiniBrowser": ["--geometry=600x560+0+0", self.url],
        }[self.browser]
        return super().start([*options, *args], folder, env, cwd)

    def origin(self, game):
        return origin_in(self.desktop)


# The top left corner of the game's white field in a picture of the screen, the first one with black
# above and left of it (the form's black, 32 pixels wide around the field).
def field(screen):
    white, black = (screen == 255).all(2), (screen == 0).all(2)
    for y, x in np.argwhere(white[1:, 1:] & black[:-1, 1:] & black[1:, :-1]) + 1:
        if white[y, x:x + 361].all() and white[y:y + 361, x].all():
            return int(x), int(y)


# The game's client area on a desktop's screen, found by its field: the field's corner less the
# form's 32 pixels.
def origin_in(desktop):
    x, y = poll(lambda: field(whole_screen(desktop)), seconds=10)
    return x - 32, y - 32


# What a Wayland client can say of its size: a fixed one (the minimum it asked equal to its maximum,
# in WAYLAND_DEBUG's log) keeps it from being resized and maximised.
def resizable(game):
    asked = set(re.findall(r"set_(min|max)_size\((\d+, \d+)\)", game.errors()))
    return set() if asked == {("min", "425, 432"), ("max", "425, 432")} else {"RESIZE"}


# Where the game places a window of this outer size on the 1024 x 768 screen, (left, top) in
# pixels: the load handler's arithmetic in twips, then the nearest pixel.
def placement(width, height):
    left, top = 7680 - width * 15 // 2, 4896 - height * 15 // 2
    return (2 * max(left, 0) + 15) // 30, (2 * max(top, 0) + 15) // 30
