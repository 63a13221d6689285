// Chooses cities in a clock window's list from the keyboard, as a user does, and tells how long after
// each choice the window first changed above the list: the moment the dial of the chosen city shows,
// as the X server reports it through its DAMAGE extension and this process receives it, against the
// moment this process handed the key to the X server (XTEST).
//
// Usage: choosewatch CHOICES LIST_HEIGHT WINDOW
// Gives WINDOW the keyboard focus, then makes CHOICES choices, one a second, each in the middle of a
// second (well away from the ticks that follow the second): Down, the next city, then Up, back again,
// and so on. A change that lies wholly in the bottom LIST_HEIGHT pixels is the list's own and does not
// count. Prints one line:
//   WINDOW CHOICES MEDIAN_MS P95_MS WITHIN_20_MS_PERCENT CHOICES_WITHOUT_CHANGE
// A choice after which nothing above the list changed within a second counts as a second late.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

namespace {

double wallSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void sleepUntil(double moment)
{
    const double wait = moment - wallSeconds();
    if (wait > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(wait));
}

// Nearest-rank percentile of sorted values.
double percentile(const std::vector<double> &sorted, double share)
{
    const auto rank = std::size_t(std::ceil(share * double(sorted.size())));
    return sorted[std::min(sorted.size(), std::max<std::size_t>(rank, 1)) - 1];
}

// Drops the events that arrived so far: drawing before a choice is not its answer.
void drain(Display *display)
{
    XSync(display, False);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const int choices = argc == 4 ? std::atoi(argv[1]) : 0;
    const int listHeight = argc == 4 ? std::atoi(argv[2]) : 0;
    if (choices < 1 || listHeight < 0) {
        std::fprintf(stderr, "usage: choosewatch CHOICES LIST_HEIGHT WINDOW\n");
        return 2;
    }
    const auto window = Window(std::strtoul(argv[3], nullptr, 0));
    Display *display = XOpenDisplay(nullptr);
    int damageEvents = 0;
    int damageErrors = 0;
    int testEvents = 0;
    int testErrors = 0;
    int major = 0;
    int minor = 0;
    if (!display || !XDamageQueryExtension(display, &damageEvents, &damageErrors) ||
        !XTestQueryExtension(display, &testEvents, &testErrors, &major, &minor)) {
        std::fprintf(stderr, "choosewatch: no display with the DAMAGE and XTEST extensions\n");
        return 1;
    }
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "choosewatch: no window %s\n", argv[3]);
        return 1;
    }
    const int aboveList = attributes.height - listHeight;
    XDamageCreate(display, window, XDamageReportRawRectangles);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);

    std::vector<double> lateness;
    int unchanged = 0;
    const KeyCode keys[] = {XKeysymToKeycode(display, XK_Down), XKeysymToKeycode(display, XK_Up)};
    double second = std::floor(wallSeconds()) + 1;
    for (int i = 0; i < choices; ++i, ++second) {
        sleepUntil(second + 0.5);
        drain(display);
        const KeyCode key = keys[i % 2];
        const double chosen = wallSeconds();
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        XFlush(display);
        double changed = -1;
        while (changed < 0 && wallSeconds() < chosen + 1) {
            if (!XPending(display)) {
                pollfd fd{ConnectionNumber(display), POLLIN, 0};
                poll(&fd, 1, int((chosen + 1 - wallSeconds()) * 1000) + 1);
                continue;
            }
            const double arrived = wallSeconds();
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != damageEvents + XDamageNotify)
                continue;
            const auto *damage = reinterpret_cast<XDamageNotifyEvent *>(&event);
            if (damage->drawable == window && damage->area.y < aboveList)
                changed = arrived;
        }
        if (changed < 0)
            ++unchanged;
        lateness.push_back(changed < 0 ? 1000.0 : (changed - chosen) * 1000.0);
    }

    std::sort(lateness.begin(), lateness.end());
    const auto within = std::count_if(lateness.begin(), lateness.end(), [](double ms) { return ms <= 20.0; });
    std::printf("0x%lx %d %.1f %.1f %.0f %d\n", window, choices, percentile(lateness, 0.5), percentile(lateness, 0.95),
                100.0 * double(within) / double(choices), unchanged);
    XCloseDisplay(display);
    return 0;
}
