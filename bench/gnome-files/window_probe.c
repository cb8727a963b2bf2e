// SPDX-License-Identifier: Apache-2.0
// Measures from outside how long a GTK file manager's main thread leaves its
// window unanswered, and when its trace log reaches a count of lines.
//
//   window_probe pings CLASS
//     waits for a top-level window whose WM_CLASS holds CLASS to be mapped,
//     prints "map T", then pings it with _NET_WM_PING, one ping a
//     millisecond after the last answer, and prints "ping T LATENCY" for
//     every answer, until it is ended.
//   window_probe lines FILE TEXT END COUNT
//     prints "seen N T" whenever the number N of lines in FILE containing
//     TEXT and ending in END has grown (checked every millisecond), and
//     "lines T" once it reaches COUNT; a FILE that is missing, deleted or
//     emptied meanwhile counts on from where it was.
//
// T is wall-clock time in microseconds since the epoch, so the caller can
// set it beside `date +%s%6N`; LATENCY is in microseconds.
//
// GDK answers _NET_WM_PING while it reads X events, on the main thread,
// between two dispatches of the main loop: a ping waits for whatever the
// thread is doing, as a key press or a redraw would, and its latency is the
// time the window stayed unanswered. A window manager uses the same ping to
// call a window "not responding".
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static long long wallMicros(void) {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}

static int hasClass(Display* display, Window window, const char* wanted) {
  XClassHint hint = {0};
  if (!XGetClassHint(display, window, &hint)) return 0;
  int found = (hint.res_name && strcasestr(hint.res_name, wanted)) ||
              (hint.res_class && strcasestr(hint.res_class, wanted));
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return found;
}

static Window awaitMappedWindow(Display* display, Window root, const char* wanted) {
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && !event.xmap.override_redirect &&
        hasClass(display, event.xmap.window, wanted)) {
      return event.xmap.window;
    }
    (void)root;
  }
}

static void sendPing(Display* display, Window window, Atom protocols, Atom ping,
                     long sequence) {
  XEvent event = {0};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = protocols;
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)ping;
  event.xclient.data.l[1] = sequence;
  event.xclient.data.l[2] = (long)window;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

// True once the answer to `sequence` arrived; false if the window went away.
static int awaitPong(Display* display, Window window, Atom protocols, Atom ping,
                     long sequence) {
  for (;;) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == DestroyNotify && event.xdestroywindow.window == window) return 0;
      if (event.type == ClientMessage && event.xclient.message_type == protocols &&
          (Atom)event.xclient.data.l[0] == ping && event.xclient.data.l[1] == sequence) {
        return 1;
      }
    }
    struct pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 1000);
  }
}

static int pings(const char* wanted) {
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "window_probe: cannot open the display\n");
    return 1;
  }
  Window root = DefaultRootWindow(display);
  // Answers to pings are sent to the root window for its substructure.
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  Window window = awaitMappedWindow(display, root, wanted);
  printf("map %lld\n", wallMicros());
  Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  for (long sequence = 1;; ++sequence) {
    long long sent = wallMicros();
    sendPing(display, window, protocols, ping, sequence);
    if (!awaitPong(display, window, protocols, ping, sequence)) return 0;
    long long answered = wallMicros();
    printf("ping %lld %lld\n", sent, answered - sent);
    // A pause keeps the probe's own load on the two shared cores small; a
    // stall is then seen at most a millisecond late.
    usleep(1000);
  }
}

// Counts the lines that hold `text` and end in `end` among the bytes of
// `chunk`; `partial` carries an unfinished last line to the next chunk.
static long countLines(const char* chunk, size_t size, char* partial, size_t* partialSize,
                       size_t partialCapacity, const char* text, const char* end) {
  long matched = 0;
  for (size_t i = 0; i < size; ++i) {
    if (chunk[i] != '\n') {
      if (*partialSize + 1 < partialCapacity) partial[(*partialSize)++] = chunk[i];
      continue;
    }
    partial[*partialSize] = '\0';
    size_t endLength = strlen(end);
    if (strstr(partial, text) && *partialSize >= endLength &&
        strcmp(partial + *partialSize - endLength, end) == 0) {
      ++matched;
    }
    *partialSize = 0;
  }
  return matched;
}

static int lines(const char* path, const char* text, const char* end, long wanted) {
  static char chunk[1 << 16];
  static char partial[1 << 14];
  size_t partialSize = 0;
  long counted = 0;
  long shown = 0;
  off_t offset = 0;
  ino_t inode = 0;
  while (counted < wanted) {
    struct stat file;
    if (stat(path, &file) == 0) {
      if (file.st_ino != inode || file.st_size < offset) {
        inode = file.st_ino;
        offset = 0;
        partialSize = 0;
      }
      int fd = open(path, O_RDONLY);
      if (fd >= 0) {
        ssize_t got;
        while ((got = pread(fd, chunk, sizeof chunk, offset)) > 0) {
          offset += got;
          counted += countLines(chunk, (size_t)got, partial, &partialSize, sizeof partial,
                                text, end);
        }
        close(fd);
      }
    }
    if (counted > shown) {
      printf("seen %ld %lld\n", counted, wallMicros());
      shown = counted;
    }
    if (counted < wanted) usleep(1000);
  }
  printf("lines %lld\n", wallMicros());
  return 0;
}

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IOLBF, 0);
  if (argc == 3 && strcmp(argv[1], "pings") == 0) return pings(argv[2]);
  if (argc == 6 && strcmp(argv[1], "lines") == 0)
    return lines(argv[2], argv[3], argv[4], atol(argv[5]));
  fprintf(stderr,
          "usage: window_probe pings CLASS\n"
          "       window_probe lines FILE TEXT END COUNT\n");
  return 2;
}
