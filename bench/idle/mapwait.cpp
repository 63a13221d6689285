// Starts a program and prints how long it took until its first top-level window was mapped, in
// milliseconds, then its process id and that window's id; the program keeps running.
// Usage: mapwait PROGRAM [ARGS...]

#include <X11/Xlib.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

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
    XEvent event;
    for (;;) {
        if (!XPending(display)) {
            // A program that cannot start, or ends before it shows a window, must not leave us waiting.
            if (waitpid(child, nullptr, WNOHANG) == child) {
                std::fprintf(stderr, "mapwait: %s ended without mapping a window\n", argv[1]);
                return 1;
            }
            pollfd fd{ConnectionNumber(display), POLLIN, 0};
            poll(&fd, 1, 100);
            continue;
        }
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect)
            break;
    }
    const auto mapped = std::chrono::steady_clock::now();
    std::printf("%.1f %d 0x%lx\n", std::chrono::duration<double, std::milli>(mapped - start).count(), int(child),
                event.xmap.window);
    return 0;
}
