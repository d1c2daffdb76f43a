// A pointer for the end-to-end driver under a wlroots compositor: reads "move X Y" (output
// pixels), "down B" and "up B" (1 left, 2 middle, 3 right) from stdin, sends each as one frame of
// a virtual pointer and answers "ok" once the compositor has it.
// Usage: pointer OUTPUT_WIDTH OUTPUT_HEIGHT
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

#include "virtual-pointer-client.h"

static struct wl_seat* seat;
static struct zwlr_virtual_pointer_manager_v1* manager;

static void Global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
  (void)data;
  (void)version;
  if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL) {
    seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
    manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
  }
}

static void GlobalRemove(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data;
  (void)registry;
  (void)name;
}

static uint32_t Milliseconds(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fputs("usage: pointer OUTPUT_WIDTH OUTPUT_HEIGHT\n", stderr);
    return 2;
  }
  const uint32_t width = (uint32_t)atoi(argv[1]);
  const uint32_t height = (uint32_t)atoi(argv[2]);
  struct wl_display* display = wl_display_connect(NULL);
  if (display == NULL) {
    fputs("pointer: no Wayland display\n", stderr);
    return 1;
  }
  static const struct wl_registry_listener listener = {Global, GlobalRemove};
  wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
  wl_display_roundtrip(display);
  if (manager == NULL || seat == NULL) {
    fputs("pointer: the compositor offers no virtual pointer\n", stderr);
    return 1;
  }
  struct zwlr_virtual_pointer_v1* pointer =
      zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
  static const uint32_t buttons[] = {BTN_LEFT, BTN_MIDDLE, BTN_RIGHT};
  char line[64];
  while (fgets(line, sizeof line, stdin) != NULL) {
    unsigned x = 0;
    unsigned y = 0;
    unsigned button = 0;
    if (sscanf(line, "move %u %u", &x, &y) == 2) {
      zwlr_virtual_pointer_v1_motion_absolute(pointer, Milliseconds(), x, y, width, height);
    } else if (sscanf(line, "down %u", &button) == 1 && button >= 1 && button <= 3) {
      zwlr_virtual_pointer_v1_button(pointer, Milliseconds(), buttons[button - 1],
                                     WL_POINTER_BUTTON_STATE_PRESSED);
    } else if (sscanf(line, "up %u", &button) == 1 && button >= 1 && button <= 3) {
      zwlr_virtual_pointer_v1_button(pointer, Milliseconds(), buttons[button - 1],
                                     WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
      fprintf(stderr, "pointer: not understood: %s", line);
      return 2;
    }
    zwlr_virtual_pointer_v1_frame(pointer);
    if (wl_display_roundtrip(display) < 0) {
      fputs("pointer: the compositor went away\n", stderr);
      return 1;
    }
    puts("ok");
    fflush(stdout);
  }
  zwlr_virtual_pointer_v1_destroy(pointer);
  wl_display_disconnect(display);
  return 0;
}
