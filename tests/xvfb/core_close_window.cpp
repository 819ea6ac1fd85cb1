// Asks an X window to close, as a window manager's close button does: a WM_DELETE_WINDOW
// client message. Usage: core_close_window <window id>. libX11 is loaded at run time.
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <window id>\n", argv[0]);
    return 2;
  }
  void* x11 = dlopen("libX11.so.6", RTLD_NOW);
  if (!x11) {
    std::fprintf(stderr, "libX11 not found\n");
    return 1;
  }
  auto openDisplay = reinterpret_cast<Display* (*)(const char*)>(dlsym(x11, "XOpenDisplay"));
  auto internAtom = reinterpret_cast<Atom (*)(Display*, const char*, Bool)>(dlsym(x11, "XInternAtom"));
  auto sendEvent = reinterpret_cast<Status (*)(Display*, Window, Bool, long, XEvent*)>(dlsym(x11, "XSendEvent"));
  auto closeDisplay = reinterpret_cast<int (*)(Display*)>(dlsym(x11, "XCloseDisplay"));
  Display* display = openDisplay ? openDisplay(nullptr) : nullptr;
  if (!display || !internAtom || !sendEvent || !closeDisplay) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = internAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = sendEvent(display, window, False, NoEventMask, &event);
  closeDisplay(display);  // flushes the request
  return sent ? 0 : 1;
}
