// SPDX-License-Identifier: MIT
// Finds a top-level X window by its exact title, prints what the window
// system sees of it, and optionally closes it as a window manager would
// (WM_DELETE_WINDOW), so a test can drive the real program without a WM.
//
//   x11_window TITLE [--close] [--timeout SECONDS]
// Prints "title=<t> width=<w> height=<h>" and exits 0 when found; 1 if no
// such window appeared in time.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::string TitleOf(Display* d, Window w) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom net_name = XInternAtom(d, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  std::string title;
  if (XGetWindowProperty(d, w, net_name, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
      data != nullptr) {
    title.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
    return title;
  }
  char* name = nullptr;
  if (XFetchName(d, w, &name) && name != nullptr) {
    title = name;
    XFree(name);
  }
  return title;
}

Window Find(Display* d, Window w, const std::string& wanted) {
  if (TitleOf(d, w) == wanted) return w;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &n)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < n && found == 0; ++i) found = Find(d, children[i], wanted);
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: x11_window TITLE [--close] [--timeout SECONDS]\n");
    return 2;
  }
  const std::string title = argv[1];
  bool close = false;
  int timeout = 20;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--close") == 0) close = true;
    if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) timeout = std::atoi(argv[++i]);
  }
  Display* d = XOpenDisplay(nullptr);
  if (d == nullptr) {
    std::fprintf(stderr, "x11_window: cannot open the display\n");
    return 2;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout);
  Window w = 0;
  XWindowAttributes attrs{};
  while (true) {
    w = Find(d, DefaultRootWindow(d), title);
    if (w != 0 && XGetWindowAttributes(d, w, &attrs) && attrs.map_state == IsViewable) break;
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "x11_window: no viewable window titled \"%s\"\n", title.c_str());
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::printf("title=%s width=%d height=%d\n", TitleOf(d, w).c_str(), attrs.width, attrs.height);
  std::fflush(stdout);
  if (close) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
  }
  XCloseDisplay(d);
  return 0;
}
