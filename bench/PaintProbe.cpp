// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program under the X server and measures it from outside: time to its first painted
// frame, resident memory once started, then CPU time and wake-ups over a span, optionally with
// the left mouse button held at a point of its window.
//
// Usage: paint_probe --expect X Y RRGGBB [--hold X Y] [--seconds N] -- PROGRAM [ARGS...]
// Prints: first_paint_ms=… rss_kb=… cpu_ms=… wakeups=…
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long Field(const std::string& path, const std::string& key) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) {
      return std::strtol(line.c_str() + key.size(), nullptr, 10);
    }
  }
  return 0;
}

// User plus system CPU time of the whole process, in milliseconds.
double CpuMs(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), {});
  const auto close = stat.rfind(')');
  std::vector<std::string> fields;
  std::string field;
  for (std::size_t i = close + 2; i <= stat.size(); ++i) {
    if (i == stat.size() || stat[i] == ' ') {
      fields.push_back(field);
      field.clear();
    } else {
      field += stat[i];
    }
  }
  const double ticks = std::stod(fields[11]) + std::stod(fields[12]);  // utime, stime
  return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Context switches of every thread: each is a wake-up of the process.
long Wakeups(pid_t pid) {
  long total = 0;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  if (DIR* dir = opendir(tasks.c_str())) {
    while (dirent* entry = readdir(dir)) {
      if (entry->d_name[0] != '.') {
        const std::string status = tasks + "/" + entry->d_name + "/status";
        total += Field(status, "voluntary_ctxt_switches:") +
                 Field(status, "nonvoluntary_ctxt_switches:");
      }
    }
    closedir(dir);
  }
  return total;
}

bool PixelIs(Display* display, Window window, int x, int y, unsigned long rgb) {
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display, window, &attributes) == 0 ||
      attributes.map_state != IsViewable || x >= attributes.width || y >= attributes.height) {
    return false;
  }
  XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) {
    return false;
  }
  const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel == rgb;
}

int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int expectX = 0, expectY = 0, holdX = -1, holdY = -1, seconds = 10;
  unsigned long expectRgb = 0;
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--expect") == 0 && i + 3 < argc) {
      expectX = std::atoi(argv[++i]);
      expectY = std::atoi(argv[++i]);
      expectRgb = std::strtoul(argv[++i], nullptr, 16);
    } else if (std::strcmp(argv[i], "--hold") == 0 && i + 2 < argc) {
      holdX = std::atoi(argv[++i]);
      holdY = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atoi(argv[++i]);
    }
  }
  if (i + 1 >= argc) {
    std::fprintf(
        stderr,
        "usage: paint_probe --expect X Y RRGGBB [--hold X Y] [--seconds N] -- PROGRAM...\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  int damageEvent = 0, damageError = 0;
  if (display == nullptr || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
    std::fprintf(stderr, "paint_probe: needs an X server with the DAMAGE extension\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[i + 1], argv + i + 1);
    _exit(127);
  }

  // Watch every new top-level window for drawing; the first frame is there when the expected
  // colour shows at the expected point.
  Window painted = 0;
  double firstPaintMs = -1;
  const auto deadline = start + std::chrono::seconds(30);
  while (painted == 0 && Clock::now() < deadline) {
    while (XPending(display) == 0 && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    if (XPending(display) == 0) {
      break;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == CreateNotify) {
      XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
    } else if (event.type == damageEvent + XDamageNotify) {
      const auto* damage = reinterpret_cast<XDamageNotifyEvent*>(&event);
      XDamageSubtract(display, damage->damage, None, None);
      if (PixelIs(display, damage->drawable, expectX, expectY, expectRgb)) {
        painted = damage->drawable;
        firstPaintMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      }
    }
  }
  if (painted == 0) {
    std::fprintf(stderr, "paint_probe: no frame with the expected colour appeared\n");
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return 1;
  }

  std::this_thread::sleep_for(std::chrono::seconds(1));
  const long rssKb = Field("/proc/" + std::to_string(pid) + "/status", "VmRSS:");
  if (holdX >= 0) {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, painted, root, holdX, holdY, &x, &y, &child);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  const double cpuBefore = CpuMs(pid);
  const long wakeupsBefore = Wakeups(pid);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double cpuMs = CpuMs(pid) - cpuBefore;
  const long wakeups = Wakeups(pid) - wakeupsBefore;
  if (holdX >= 0) {
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  std::printf("first_paint_ms=%.1f rss_kb=%ld cpu_ms=%.0f wakeups=%ld\n", firstPaintMs, rssKb,
              cpuMs, wakeups);
  XCloseDisplay(display);
  return 0;
}
