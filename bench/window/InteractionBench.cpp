// The cost of using the window: starts the real program on the current X
// display with the largest graph (three full curves, every option on),
// sends real input through the XTest extension and takes the end of each
// repaint from the X server through the DAMAGE extension. For each kind of
// interaction it reports the program's CPU time (all its threads, from the
// event until the window has been quiet for a while, so animations count)
// and the latency from the event to the first repaint of the plot, as the
// median and the worst of the repetitions.
//
//   scripts/with-display build/interaction_bench [REPETITIONS [NAME-PART]]
//
// With NAME-PART only the interactions whose name contains it are run.

#include "document/PlotArea.h"
#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "tests/support/GraphSamples.h"
#include "tests/support/XDriver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// CPU time of every thread of the process, in milliseconds.
double cpuMs(pid_t pid)
{
    double total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* e = readdir(dir)) {
            if (e->d_name[0] == '.')
                continue;
            std::ifstream in(tasks + "/" + e->d_name + "/schedstat");
            unsigned long long ns = 0;
            if (in >> ns)
                total += ns / 1e6;
        }
        closedir(dir);
    }
    return total;
}

struct Session : XProgram {
    int damageEvent = 0;
    Damage damage = 0;
};

// Reads damage until the window has been quiet for `quietMs`; returns the
// time of the first damage that touches `area` (or any, when area is empty),
// or -1 when none came.
double awaitRepaint(Session& s, Clock::time_point start, const XRectangle& area, double quietMs = 150)
{
    double first = -1;
    Clock::time_point last = Clock::now();
    while (msSince(last) < quietMs && msSince(start) < 5000) {
        pollfd p { ConnectionNumber(s.dpy), POLLIN, 0 };
        if (!XPending(s.dpy))
            poll(&p, 1, 5);
        while (XPending(s.dpy)) {
            XEvent e;
            XNextEvent(s.dpy, &e);
            if (e.type != s.damageEvent + XDamageNotify)
                continue;
            const auto& d = reinterpret_cast<XDamageNotifyEvent&>(e);
            last = Clock::now();
            const bool touches = area.width == 0
                || (d.area.x < area.x + area.width && area.x < d.area.x + d.area.width
                    && d.area.y < area.y + area.height && area.y < d.area.y + d.area.height);
            if (first < 0 && touches)
                first = std::chrono::duration<double, std::milli>(last - start).count();
        }
        XDamageSubtract(s.dpy, s.damage, None, None);
        XFlush(s.dpy);
    }
    return first;
}

struct Interaction {
    const char* name;
    std::function<void(Session&)> prepare; // not measured
    std::function<void(Session&)> act;
    bool changesGraph;
};

struct Figures {
    std::vector<double> cpu, latency;
};

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double worst(const std::vector<double>& v) { return v.empty() ? -1 : *std::max_element(v.begin(), v.end()); }

} // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const std::string only = argc > 2 ? argv[2] : "";
    const auto dir = std::filesystem::temp_directory_path() / ("plotwell-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "largest.gd2").string();
    auto d = maximalGraph();
    d->percentError = 5;
    GraphRecord rec;
    packRecord(*d, rec);
    std::string error;
    if (!writeGraphFile(file, rec, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }

    Session s;
    s.dpy = XOpenDisplay(nullptr);
    int damageError = 0, xtestEvent, xtestError, major, minor;
    if (!s.dpy || !XDamageQueryExtension(s.dpy, &s.damageEvent, &damageError)
        || !XTestQueryExtension(s.dpy, &xtestEvent, &xtestError, &major, &minor)) {
        std::fprintf(stderr, "needs an X display with the DAMAGE and XTEST extensions\n");
        return 1;
    }
    // The program is killed at the end: its recovery copy stays in the run's
    // own folder, never offered to the user's next start.
    setenv("XDG_STATE_HOME", dir.c_str(), 1);
    s.pid = fork();
    if (s.pid == 0) {
        execl(PLOTWELL_PROGRAM, PLOTWELL_PROGRAM, file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto started = Clock::now();
    while (!(s.window = findWindow(s.dpy, s.pid)) && msSince(started) < 10000)
        usleep(20000);
    if (!s.window) {
        std::fprintf(stderr, "the window did not appear\n");
        kill(s.pid, SIGTERM);
        return 1;
    }
    Window child;
    XTranslateCoordinates(s.dpy, s.window, DefaultRootWindow(s.dpy), 0, 0, &s.originX, &s.originY, &child);
    s.originY += 25; // the menu bar
    s.damage = XDamageCreate(s.dpy, s.window, XDamageReportRawRectangles);
    XFlush(s.dpy);
    moveTo(s, 720, 500);
    awaitRepaint(s, Clock::now(), {}, 1000);

    // A point of curve 1 that a right click deletes and a left click adds back.
    const int px = d->pixelX[0][100], py = static_cast<int>(d->pixelY[0][100]);
    const auto none = [](Session&) {};
    std::vector<Interaction> list = {
        { "toggle Connect Points", none, [](Session& on) { clickAt(on, 525, 472); }, true },
        { "toggle Large Points", none, [](Session& on) { clickAt(on, 665, 472); }, true },
        { "toggle Label Points", none, [](Session& on) { clickAt(on, 385, 472); }, true },
        { "toggle Error Bars", none, [](Session& on) { clickAt(on, 245, 472); }, true },
        { "Thick Lines box", none, [](Session& on) { clickAt(on, 210, 478); }, true },
        { "curve radio button", none, [](Session& on) { clickAt(on, 210, 430); }, false },
        { "curve radio button", none, [](Session& on) { clickAt(on, 210, 410); }, false },
        { "pointer onto a button", [](Session& on) { moveTo(on, 720, 500); },
            [](Session& on) { moveTo(on, 525, 472); }, false },
        { "right-click delete", [](Session& on) { moveTo(on, 720, 500); },
            [px, py](Session& on) { clickAt(on, px, py, 3); }, true },
        { "add a point (click)", none, [px, py](Session& on) { clickAt(on, px, py, 1); }, true },
        // The point just added taken back and put again.
        { "Undo (Ctrl+Z)", none, [](Session& on) { ctrlKey(on, XK_z); }, true },
        { "Redo (Ctrl+Y)", none, [](Session& on) { ctrlKey(on, XK_y); }, true },
        // The Points window opens beside the graph, ringing curve 1's points;
        // a Y retyped there (F2 and the digits not measured, Enter is) moves
        // its point on the graph. Keys go to the window under the pointer.
        { "open Points (Ctrl+T)", [](Session& on) { moveTo(on, 600, 200); },
            [](Session& on) { ctrlKey(on, XK_t); }, true },
        { "Points table edit (Enter)",
            [](Session& on) {
                static int typed = 0;
                moveTo(on, PlotArea::clientWidth + 200, 150);
                key(on, XK_F2);
                usleep(100000);
                key(on, XK_4);
                key(on, XK_0 + (++typed % 10));
            },
            [](Session& on) { key(on, XK_Return); }, true },
        { "close Points (Escape)", none, [](Session& on) { key(on, XK_Escape); }, true },
        { "expose", [](Session& on) { moveTo(on, 720, 500); },
            [](Session& on) {
                XClearArea(on.dpy, on.window, 0, 0, 0, 0, True);
                XFlush(on.dpy);
            },
            true },
    };
    // The plot in the window's own coordinates, as damage reports them.
    const XRectangle plot { PlotArea::left, 25 + PlotArea::top, PlotArea::right - PlotArea::left,
        PlotArea::bottom - PlotArea::top };
    std::vector<Figures> figures(list.size());
    for (int r = 0; r < repetitions; ++r)
        for (std::size_t k = 0; k < list.size(); ++k) {
            const Interaction& i = list[k];
            if (std::string(i.name).find(only) == std::string::npos)
                continue;
            i.prepare(s);
            awaitRepaint(s, Clock::now(), {});
            const double cpu0 = cpuMs(s.pid);
            const auto t0 = Clock::now();
            i.act(s);
            const double latency = awaitRepaint(s, t0, i.changesGraph ? plot : XRectangle {});
            figures[k].cpu.push_back(cpuMs(s.pid) - cpu0);
            if (latency >= 0)
                figures[k].latency.push_back(latency);
        }

    // Both clicks of the radio button count as one kind.
    std::printf("%-24s %10s %10s %12s %12s   (%d repetitions; ms)\n", "interaction", "CPU med", "CPU worst",
        "latency med", "latency worst", repetitions);
    for (std::size_t k = 0; k < list.size(); ++k) {
        Figures& f = figures[k];
        if (f.cpu.empty())
            continue;
        if (k + 1 < list.size() && std::string(list[k + 1].name) == list[k].name) {
            figures[k + 1].cpu.insert(figures[k + 1].cpu.end(), f.cpu.begin(), f.cpu.end());
            figures[k + 1].latency.insert(figures[k + 1].latency.end(), f.latency.begin(), f.latency.end());
            continue;
        }
        std::printf("%-24s %10.2f %10.2f %12.2f %12.2f\n", list[k].name, median(f.cpu), worst(f.cpu),
            median(f.latency), worst(f.latency));
    }
    kill(s.pid, SIGKILL);
    waitpid(s.pid, nullptr, 0);
    XCloseDisplay(s.dpy);
    std::filesystem::remove_all(dir);
    return 0;
}
