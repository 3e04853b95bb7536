// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Start-up as a pupil meets it: the time from exec to the window's first complete paint, and the
// peak resident memory, of the real program and of a minimal Qt window (the floor), each started
// several times on an Xvfb server.
//   build/bench/startup_bench [runs]
// The X server reports every update of the program's windows (DAMAGE extension). Qt paints a
// window whole into its backing store and then puts it on the screen, so the first update is the
// first complete paint; the last one before the screen stays still for half a second is when
// start-up has settled (both are shown).
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(int line)
{
    std::fprintf(stderr, "startup_bench: failed at line %d\n", line);
    std::exit(2);
}

double msSince(Clock::time_point start, Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(t - start).count();
}

// Starts Xvfb on a free display; returns its pid and sets the display number.
pid_t startXvfb(int &display)
{
    int fds[2];
    if (pipe(fds) != 0)
        fail(__LINE__);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 9);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", "9", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
            static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char buffer[16] = {};
    if (read(fds[0], buffer, sizeof buffer - 1) <= 0)
        fail(__LINE__);
    close(fds[0]);
    display = std::atoi(buffer);
    return pid;
}

struct Sample {
    double paintMs, settledMs;
    long peakKiB;
};

Sample measure(const std::string &program, int display)
{
    const std::string name = ":" + std::to_string(display);
    xcb_connection_t *c = xcb_connect(name.c_str(), nullptr);
    for (int tries = 0; xcb_connection_has_error(c) && tries < 50; ++tries) {
        xcb_disconnect(c);
        usleep(20000);
        c = xcb_connect(name.c_str(), nullptr);
    }
    if (xcb_connection_has_error(c))
        fail(__LINE__);
    xcb_damage_query_version_reply_t *version
        = xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr);
    std::free(version);
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present)
        fail(__LINE__);
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setenv("DISPLAY", name.c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }

    Clock::time_point firstDamage {}, lastDamage {};
    bool damaged = false;
    const int fd = xcb_get_file_descriptor(c);
    for (;;) {
        pollfd p { fd, POLLIN, 0 };
        const int waitMs = damaged ? 500 : 20000;
        if (poll(&p, 1, waitMs) == 0)
            break; // quiet for half a second after painting (or never painted)
        while (xcb_generic_event_t *e = xcb_poll_for_event(c)) {
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                auto *created = reinterpret_cast<xcb_create_notify_event_t *>(e);
                const xcb_damage_damage_t d = xcb_generate_id(c);
                xcb_damage_create(c, d, created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(c);
            } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
                auto *notify = reinterpret_cast<xcb_damage_notify_event_t *>(e);
                xcb_damage_subtract(c, notify->damage, XCB_NONE, XCB_NONE);
                xcb_flush(c);
                lastDamage = Clock::now();
                if (!damaged)
                    firstDamage = lastDamage;
                damaged = true;
            }
            std::free(e);
        }
        if (xcb_connection_has_error(c))
            break;
    }
    kill(child, SIGTERM);
    int status = 0;
    rusage usage {};
    wait4(child, &status, 0, &usage);
    xcb_disconnect(c);
    if (!damaged)
        return { -1.0, -1.0, usage.ru_maxrss };
    return { msSince(start, firstDamage), msSince(start, lastDamage), usage.ru_maxrss };
}

struct Summary {
    double median, low, high;
};
Summary summarize(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return { v[v.size() / 2], v.front(), v.back() };
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const std::string dir = [] {
        char path[4096] = {};
        const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        std::string self(path, n > 0 ? n : 0);
        return self.substr(0, self.rfind('/'));
    }();
    const std::string programs[] = { dir + "/minimal_window", dir + "/../app/pikomaru" };
    const char *names[] = { "floor (minimal Qt window)", "pikomaru" };

    int display = 0;
    const pid_t xvfb = startXvfb(display);
    std::vector<double> paint[2], settled[2], memory[2];
    for (int i = 0; i < runs + 1; ++i) { // the first round warms the file cache and is not counted
        for (int p = 0; p < 2; ++p) {
            const Sample s = measure(programs[p], display);
            if (s.paintMs < 0) {
                std::fprintf(stderr, "%s never painted\n", names[p]);
                return 1;
            }
            if (i > 0) {
                paint[p].push_back(s.paintMs);
                settled[p].push_back(s.settledMs);
                memory[p].push_back(s.peakKiB / 1024.0);
            }
        }
    }
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);

    std::printf("%d runs each; median (range)\n", runs);
    std::printf("%-27s %-27s %-27s %-27s\n", "", "first complete paint, ms", "settled, ms",
        "peak memory, MiB");
    Summary sp[2], ss[2], sm[2];
    for (int p = 0; p < 2; ++p) {
        sp[p] = summarize(paint[p]);
        ss[p] = summarize(settled[p]);
        sm[p] = summarize(memory[p]);
        std::printf(
            "%-27s %7.1f (%6.1f .. %6.1f)   %7.1f (%6.1f .. %6.1f)   %7.1f (%5.1f .. %5.1f)\n",
            names[p], sp[p].median, sp[p].low, sp[p].high, ss[p].median, ss[p].low, ss[p].high,
            sm[p].median, sm[p].low, sm[p].high);
    }
    const double paintRatio = sp[1].median / sp[0].median,
                 memoryRatio = sm[1].median / sm[0].median;
    std::printf(
        "pikomaru / floor: paint %.2f (target at most 1.70), memory %.2f (target at most 1.50)\n",
        paintRatio, memoryRatio);
    return paintRatio <= 1.7 && memoryRatio <= 1.5 ? 0 : 3;
}
