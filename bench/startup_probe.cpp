// The program's start against a bare Qt window of the same size, as whole
// processes seen from outside: from fork to the first frame the X server
// receives for a top-level window titled ハヤテウチ (its first damage after
// the window is mapped). The two are started in turns, so that both meet
// the same load on a shared machine. Needs DISPLAY (Xvfb will do).
//
// Usage: startup_probe RUNS PROGRAM BARE_WINDOW
//   PROGRAM runs from a folder of its own that keeps its files between runs,
//   as a returning user's start does; BARE_WINDOW is started with --fill.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool titled(Display* d, Window w) {
    static const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long items, after;
    unsigned char* value = nullptr;
    bool found = false;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &items, &after,
                           &value) == Success &&
        value) {
        found = std::strstr(reinterpret_cast<char*>(value), "ハヤテウチ") != nullptr;
        XFree(value);
    }
    return found;
}

// Milliseconds from fork to the first frame, or a negative figure.
double msToFirstFrame(Display* d, int damageEvent, const std::vector<std::string>& command,
                  const std::filesystem::path& folder) {
    Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, True);
    const double began = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(126);
        std::vector<char*> argv;
        for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    double result = -1;
    std::vector<Damage> damages;
    while (result < 0 && nowMs() - began < 30000) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            // Watched from its creation: a small window's first frame can
            // reach the server before its MapNotify reaches us.
            if (e.type == CreateNotify && e.xcreatewindow.parent == root) {
                damages.push_back(
                    XDamageCreate(d, e.xcreatewindow.window, XDamageReportNonEmpty));
            } else if (e.type == damageEvent + XDamageNotify) {
                const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(e);
                if (titled(d, damage.drawable)) {
                    result = nowMs() - began;
                    break;
                }
            }
        }
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, 5);
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) return -1;
    }
    for (Damage damage : damages) XDamageDestroy(d, damage);
    XSelectInput(d, root, NoEventMask);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XSync(d, True);
    return result;
}

// Windows come and go under the probe (a damage dies with its window, a
// title is read from a window already gone): none of that is a failure.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_probe RUNS PROGRAM BARE_WINDOW\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display* d = XOpenDisplay(nullptr);
    XSetErrorHandler(ignoreXError);
    int damageEvent = 0, damageError = 0;
    if (!d || !XDamageQueryExtension(d, &damageEvent, &damageError)) {
        std::fprintf(stderr, "no X display with the DAMAGE extension\n");
        return 3;
    }
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("hayate-startup-" + std::to_string(getpid()));
    fs::create_directories(folder / "run");
    fs::permissions(folder / "run", fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);
    const fs::path program = folder / "hayateuchi";
    fs::copy_file(argv[2], program);
    const std::vector<std::string> commands[] = {{program.string()},
                                                 {fs::absolute(argv[3]).string(), "--fill"}};
    // One start that writes the program's files, and one of each to warm up.
    std::vector<double> times[2];
    for (int i = -1; i < runs; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int which = (i + k) % 2 == 0 ? 0 : 1;  // the order alternates
            const double ms = msToFirstFrame(d, damageEvent, commands[which], folder);
            if (ms < 0) {
                std::fprintf(stderr, "%s showed no frame\n", commands[which][0].c_str());
                return 1;
            }
            if (i >= 0) times[which].push_back(ms);
        }
    }
    std::vector<double> ratios;
    for (int i = 0; i < runs; ++i) ratios.push_back(times[0][i] / times[1][i]);
    std::printf("program %.1f ms, bare window %.1f ms (medians of %d), pair ratio %.2f\n",
                median(times[0]), median(times[1]), runs, median(ratios));
    fs::remove_all(folder);
    return 0;
}
