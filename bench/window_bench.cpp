// The window itself: from a key event in the practice grid to the end of the
// repaint of the cells it changed, over whole exercises; the start-up of the
// real program to its first shown window; and the program's peak memory.
// Run it under a real X server (xvfb-run) or with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_application.h"
#include "gui/display_environment.h"
#include "gui/grid_widget.h"
#include "gui/main_window.h"
#include "gui/program.h"
#include "gui/qt_japanese.h"
#include "platform/heap.h"

using hayate::gui::GridWidget;
using hayate::gui::TForm1;

namespace {

// One folder for this run and the children it starts (they find it in
// HAYATE_BENCH_DIR); removed when the parent ends.
std::filesystem::path scratchFolder() {
    static const std::filesystem::path dir = [] {
        if (const char* given = std::getenv("HAYATE_BENCH_DIR")) return std::filesystem::path(given);
        auto p =
            std::filesystem::temp_directory_path() / ("hayate-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        setenv("HAYATE_BENCH_DIR", p.c_str(), 1);
        return p;
    }();
    return dir;
}

std::filesystem::path runtimeFolder() {
    const std::filesystem::path shm = "/dev/shm";
    std::error_code error;
    if (std::filesystem::is_directory(shm, error))
        return shm / ("hayate-bench-run-" + std::to_string(getpid()));
    return scratchFolder() / "program" / "run";
}

TForm1::Options benchOptions(int width = 1024, int height = 768) {
    TForm1::Options o;
    o.screenWidthOverride = width;
    o.screenHeightOverride = height;
    o.dataFolder = scratchFolder();
    o.executablePath = scratchFolder() / "hayateuchi";
    return o;
}

char keyFor(const QString& cell) {
    const char16_t c = cell.at(0).unicode();
    if (c == 0x3000) return ' ';
    if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char>(c - 0xFEE0);
    return '?';
}

double threadCpuUs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

// Paints what the key made dirty, now, the way the event loop would.
void flushRepaint(QWidget* window) {
    QCoreApplication::sendPostedEvents(window, QEvent::UpdateRequest);
}

void BM_KeyToRepaint(benchmark::State& state) {
    // One application for the in-process benchmarks, made only now: the
    // start-up benchmarks run before it, in processes of their own.
    ensureApplication("window_bench");
    TForm1 form(benchOptions(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    form.show();
    QApplication::setActiveWindow(&form);
    (void)QTest::qWaitForWindowExposed(&form);
    auto* grid = form.findChild<GridWidget*>("SG1");
    std::vector<double> latencies, keyOnly, cpu, pageTurns;
    long cells = 0, keys = 0;
    double paintUs = 0;
    for (auto _ : state) {
        form.findChild<QWidget*>("BStart")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QTest::qWait(20);
        double total = 0;
        // The last cell ends the exercise with a dialog; stop one short.
        for (int i = 0; i < 1999; ++i) {
            const char key = keyFor(grid->cellText(i % 40 + 1, i / 40 + 1));
            grid->resetPaintedCells();
            const double cpuStart = threadCpuUs();
            QElapsedTimer t;
            t.start();
            if (key == ' ') {
                QTest::keyClick(grid, Qt::Key_Space);
            } else {
                QTest::keyClick(grid, key);
            }
            const double keyUs = static_cast<double>(t.nsecsElapsed()) / 1000.0;
            flushRepaint(&form);
            const double us = static_cast<double>(t.nsecsElapsed()) / 1000.0;
            cpu.push_back(threadCpuUs() - cpuStart);
            keyOnly.push_back(keyUs);
            latencies.push_back(us);
            total += us;
            cells += grid->paintedCells();
            paintUs += static_cast<double>(grid->paintNanoseconds()) / 1000.0;
            ++keys;
            // A page turn sends the whole grid (5 MB at 1920 x 1080). The keys
            // come a thousand times faster than anyone types, so the next few
            // would be timed while the display server still draws it; a
            // typist's next key finds it done, and the events it left handled.
            if (grid->paintedCells() > 40) {
                pageTurns.push_back(us);
                QGuiApplication::sync();
            }
        }
        state.SetIterationTime(total / 1e6);
        QTest::keyClick(grid, Qt::Key_Escape);
    }
    std::sort(latencies.begin(), latencies.end());
    auto pct = [&](double p) {
        return latencies[static_cast<std::size_t>(p * (latencies.size() - 1))];
    };
    state.counters["p50_us"] = pct(0.50);
    std::sort(keyOnly.begin(), keyOnly.end());
    state.counters["key_p50"] = keyOnly[keyOnly.size() / 2];
    state.counters["key_p99"] = keyOnly[keyOnly.size() * 99 / 100];
    state.counters["p99_us"] = pct(0.99);
    // The process's own time per key: what a shared machine's other loads
    // add to the wall-clock figure is not in it.
    std::sort(cpu.begin(), cpu.end());
    state.counters["cpu_p99_us"] = cpu[cpu.size() * 99 / 100];
    state.counters["max_us"] = latencies.back();
    // Timed as keys (in p50 and p99) and shown apart: the whole grid painted.
    std::sort(pageTurns.begin(), pageTurns.end());
    state.counters["page_turn_us"] = pageTurns.empty() ? 0 : pageTurns[pageTurns.size() / 2];
    state.counters["grid_paint_us"] = paintUs / static_cast<double>(keys);
    state.counters["cells_per_key"] = static_cast<double>(cells) / static_cast<double>(keys);
    state.SetItemsProcessed(keys);
}

// For comparison: a key followed by a repaint of every visible cell.
void BM_FullGridRepaint(benchmark::State& state) {
    ensureApplication("window_bench");
    TForm1 form(benchOptions());
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    auto* grid = form.findChild<GridWidget*>("SG1");
    for (auto _ : state) {
        grid->viewport()->repaint();
    }
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits until the window is on screen and its first frame flushed, blocking
// for events rather than polling with sleeps (which would round every start-up
// up to the polling step).
bool waitShown(QWidget& w) {
    QElapsedTimer timer;
    timer.start();
    while (!w.windowHandle() || !w.windowHandle()->isExposed()) {
        if (timer.elapsed() > 5000) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    QCoreApplication::sendPostedEvents(&w, QEvent::UpdateRequest);
    return true;
}

// The program after a whole exercise typed in it: this benchmark runs itself
// as a new process for the peak resident memory.
int runExerciseChild() {
    int argc = 1;
    char name[] = "hayateuchi";
    char* argv[] = {name, nullptr};
    // Set up as runProgram does, so that its peak memory is the program's.
    hayate::reserveHeapForWindow(hayate::gui::kWindowHeapBytes);
    hayate::gui::prepareDisplayEnvironment();
    QApplication app(argc, argv);
    hayate::gui::startAccessibility();
    hayate::gui::installFontSubstitutes();
    hayate::gui::installQtJapanese();
    TForm1 form(benchOptions());
    form.show();
    if (!waitShown(form)) return 2;
    std::printf("%lld\n", nowNs());  // the parent's end of the timing
    std::fflush(stdout);
    hayate::endHeapReservation();
    auto* grid = form.findChild<GridWidget*>("SG1");
    form.findChild<QWidget*>("BStart")->setFocus();
    QTest::keyClick(form.findChild<QWidget*>("BStart"), Qt::Key_F10);
    for (int i = 0; i < 1999; ++i) {
        const char key = keyFor(grid->cellText(i % 40 + 1, i / 40 + 1));
        QTest::keyClick(grid, key == ' ' ? ' ' : key);
        flushRepaint(&form);
    }
    return 0;
}

// Starts this program in a child mode; the time from spawn to the child's
// shown window in milliseconds (negative on failure) and its peak memory.
double spawnChild(const char* mode, long* maxRssKb) {
    // The yardstick is a program of its own (bare_window, built beside this
    // one): in this benchmark it would load every library the program links.
    // So is the program's side (first_frame: the program as `main` runs it),
    // started as hayateuchi from a folder of its own that already holds the
    // files of an earlier start, as a returning user's start does.
    scratchFolder();  // named in the environment before any child starts
    const bool bare = std::strncmp(mode, "bare", 4) == 0;
    const bool program = std::strcmp(mode, "program") == 0;
    const std::filesystem::path here = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    static const std::string bareProgram = (here / "bare_window").string();
    static const std::string programCopy = [&here] {
        const std::filesystem::path folder = scratchFolder() / "program";
        // The runtime folder is a memory file system on a desktop
        // (/run/user/<uid>); /dev/shm stands in for it where it exists, or
        // the single-instance lock would wait for a disk flush no user's does.
        const std::filesystem::path run = runtimeFolder();
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(run);
        std::filesystem::permissions(run, std::filesystem::perms::owner_all);
        std::filesystem::copy_file(here / "first_frame", folder / "hayateuchi",
                                   std::filesystem::copy_options::overwrite_existing);
        setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
        return (folder / "hayateuchi").string();
    }();
    std::string self = bare ? bareProgram : program ? programCopy : std::string("/proc/self/exe");
    char arg[32];
    std::snprintf(arg, sizeof arg, "--child=%s", mode);
    char fill[] = "--fill";
    char* args[] = {self.data(), program ? nullptr : std::strcmp(mode, "bare-fill") == 0 ? fill : arg,
                    nullptr};
    int fds[2];
    if (pipe(fds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const long long began = nowNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        return -1;
    }
    char buffer[64] = {};
    std::size_t got = 0;
    while (got < sizeof buffer - 1) {
        const ssize_t n = read(fds[0], buffer + got, sizeof buffer - 1 - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
        if (std::memchr(buffer, '\n', got)) break;
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    close(fds[0]);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || got == 0) return -1;
    if (maxRssKb) *maxRssKb = std::max(*maxRssKb, usage.ru_maxrss);
    return static_cast<double>(std::atoll(buffer) - began) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void runChildren(benchmark::State& state, bool exercise) {
    long maxRssKb = 0;
    std::vector<double> times;
    if (!exercise) spawnChild("program", nullptr);  // its files made, as after a first start
    for (auto _ : state) {
        const double ms = spawnChild(exercise ? "exercise" : "program", &maxRssKb);
        if (ms < 0) {
            state.SkipWithError("child failed");
            break;
        }
        state.SetIterationTime(ms / 1e3);
        times.push_back(ms);
    }
    state.counters["median_ms"] = median(times);
    state.counters["peak_rss_MB"] = static_cast<double>(maxRssKb) / 1024.0;
}

// The program's start against the bare window's, taken in turns so that both
// meet the same load on a shared machine; the ratio of the medians.
void BM_StartupAgainstBareWindow(benchmark::State& state) {
    std::vector<double> program, bare, filled;
    long rss = 0;
    // A first start writes the program's files; the ones measured find them.
    if (spawnChild("program", nullptr) < 0 || spawnChild("bare", nullptr) < 0) {
        state.SkipWithError("child failed");
        return;
    }
    // In turns, the order rotating, so that all three meet the same load.
    const char* const modes[] = {"program", "bare", "bare-fill"};
    std::vector<double>* const into[] = {&program, &bare, &filled};
    for (auto _ : state) {
        const std::size_t turn = program.size() % 3;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t which = (turn + k) % 3;
            const double ms = spawnChild(modes[which], &rss);
            if (ms < 0) {
                state.SkipWithError("child failed");
                return;
            }
            into[which]->push_back(ms);
        }
        state.SetIterationTime(program.back() / 1e3);
    }
    state.counters["median_ms"] = median(program);
    state.counters["bare_median_ms"] = median(bare);
    state.counters["ratio"] = median(program) / std::max(1e-9, median(bare));
    // Each turn met the same moment's load: the median of the turns' ratios
    // is steadier than the ratio of the medians when the load comes and goes.
    std::vector<double> pairs, filledPairs;
    for (std::size_t i = 0; i < program.size(); ++i) {
        pairs.push_back(program[i] / std::max(1e-9, bare[i]));
        filledPairs.push_back(program[i] / std::max(1e-9, filled[i]));
    }
    state.counters["pair_ratio"] = median(pairs);
    // Against a bare window as large as the program's: what the program's
    // own work adds, the first frame's size aside.
    state.counters["filled_median_ms"] = median(filled);
    state.counters["filled_pair_ratio"] = median(filledPairs);
}

BENCHMARK(BM_StartupAgainstBareWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(101);
void BM_StartupToShownWindow(benchmark::State& state) { runChildren(state, false); }
BENCHMARK(BM_StartupToShownWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_PeakMemoryWholeExercise(benchmark::State& state) { runChildren(state, true); }
BENCHMARK(BM_PeakMemoryWholeExercise)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_KeyToRepaint)
    ->Args({1024, 768})
    ->Args({1920, 1080})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_FullGridRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--child=exercise") == 0) return runExerciseChild();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(scratchFolder());
    std::filesystem::remove_all(runtimeFolder());
    return 0;
}
