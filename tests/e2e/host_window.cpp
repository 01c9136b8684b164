// A window of another program for the end-to-end tests of the hosted show: maps
// one plain black top-level window of the given size and prints its number in
// hex on stdout.
//
//   e2e_host_window WIDTH HEIGHT [SECONDS]
//
// With SECONDS the window is destroyed after that long while the client stays
// connected, so only the window goes. It runs until it is killed or the display
// goes away.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <poll.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: e2e_host_window WIDTH HEIGHT [SECONDS]\n");
        return 2;
    }
    int width = std::atoi(argv[1]);
    int height = std::atoi(argv[2]);
    int destroyAfterMs = argc > 3 ? static_cast<int>(std::atof(argv[3]) * 1000) : -1;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || width <= 0 || height <= 0) {
        std::fprintf(stderr, "e2e_host_window: no display or bad size\n");
        return 1;
    }
    int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 10, 10,
                                        static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0,
                                        BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, "host window");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XEvent event;
    do { // wait until it is on the screen
        XNextEvent(display, &event);
    } while (event.type != MapNotify);
    std::printf("0x%lx\n", static_cast<unsigned long>(window));
    std::fflush(stdout);

    // Xlib ends the process when the connection breaks, so reading events until
    // then is the whole main loop.
    pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        int ready = poll(&connection, 1, destroyAfterMs);
        if (ready == 0 && destroyAfterMs >= 0) {
            XDestroyWindow(display, window);
            XSync(display, False);
            destroyAfterMs = -1;
        }
        while (XPending(display) > 0)
            XNextEvent(display, &event);
    }
}
