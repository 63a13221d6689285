// Watches windows for drawing and tells how late after each second of the computer's clock each one
// first changed: the moment a clock's new second reaches the screen, as the X server reports it
// through its DAMAGE extension and this process receives it, against the wall clock.
//
// Usage: damagewatch SECONDS WINDOW... (window ids as X prints them, 0x... or decimal)
// Starts at the next whole second and watches SECONDS whole seconds. Prints one line per window:
//   WINDOW SECONDS MEDIAN_MS P95_MS WITHIN_20_MS_PERCENT SECONDS_WITHOUT_CHANGE
// A second in which the window did not change at all counts as late by the whole second.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double wallSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// A window that goes away while it is watched is no reason to stop watching the others.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

struct Watched
{
    Window window = 0;
    std::vector<double> changes; // wall-clock seconds at which drawing on it was reported
};

// Nearest-rank percentile of sorted values.
double percentile(const std::vector<double> &sorted, double share)
{
    const auto rank = std::size_t(std::ceil(share * double(sorted.size())));
    return sorted[std::min(sorted.size(), std::max<std::size_t>(rank, 1)) - 1];
}

} // namespace

int main(int argc, char *argv[])
{
    const int seconds = argc < 3 ? 0 : std::atoi(argv[1]);
    if (seconds < 1) {
        std::fprintf(stderr, "usage: damagewatch SECONDS WINDOW...\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    int eventBase = 0;
    int errorBase = 0;
    if (!display || !XDamageQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "damagewatch: no display with the DAMAGE extension\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);

    std::vector<Watched> watched;
    for (int i = 2; i < argc; ++i) {
        Watched w;
        w.window = Window(std::strtoul(argv[i], nullptr, 0));
        XDamageCreate(display, w.window, XDamageReportRawRectangles);
        watched.push_back(w);
    }
    XSync(display, False);

    const double start = std::floor(wallSeconds()) + 1;
    const double end = start + seconds;
    for (;;) {
        const double now = wallSeconds();
        if (now >= end + 1) // one second more, for the change that belongs to the last boundary
            break;
        if (!XPending(display)) {
            pollfd fd{ConnectionNumber(display), POLLIN, 0};
            poll(&fd, 1, int((end + 1 - now) * 1000) + 1);
            if (!XPending(display))
                continue;
        }
        // Everything that arrived together is stamped with the moment it arrived.
        const double arrived = wallSeconds();
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != eventBase + XDamageNotify)
                continue;
            const auto *damage = reinterpret_cast<XDamageNotifyEvent *>(&event);
            for (Watched &w : watched) {
                if (w.window == damage->drawable)
                    w.changes.push_back(arrived);
            }
        }
    }

    for (const Watched &w : watched) {
        std::vector<double> lateness;
        int unchanged = 0;
        for (int s = 0; s < seconds; ++s) {
            const double boundary = start + s;
            const auto first = std::lower_bound(w.changes.begin(), w.changes.end(), boundary);
            if (first == w.changes.end() || *first >= boundary + 1) {
                ++unchanged;
                lateness.push_back(1000.0);
            } else {
                lateness.push_back((*first - boundary) * 1000.0);
            }
        }
        std::sort(lateness.begin(), lateness.end());
        const auto within = std::count_if(lateness.begin(), lateness.end(), [](double ms) { return ms <= 20.0; });
        std::printf("0x%lx %d %.1f %.1f %.0f %d\n", w.window, seconds, percentile(lateness, 0.5),
                    percentile(lateness, 0.95), 100.0 * double(within) / double(seconds), unchanged);
    }
    XCloseDisplay(display);
    return 0;
}
