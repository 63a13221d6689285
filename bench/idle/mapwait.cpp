// Starts a program and prints how long it took until its first top-level window was mapped, in
// milliseconds, then its process id; the program keeps running. Usage: mapwait PROGRAM [ARGS...]

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mapwait: no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect)
            break;
    }
    const auto mapped = std::chrono::steady_clock::now();
    std::printf("%.1f %d\n", std::chrono::duration<double, std::milli>(mapped - start).count(), int(child));
    return 0;
}
