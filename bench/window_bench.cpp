// The window itself: from a key event in the practice grid to the end of the
// repaint of the cells it changed, over whole exercises, and the peak memory
// of a process that types a whole exercise. (The start-up is measured from
// outside: startup_probe.) Run it under a real X server (xvfb-run).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_application.h"
#include "gui/grid_widget.h"
#include "gui/main_window.h"
#include "gui/qt_japanese.h"

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
    // Made only now: the memory benchmark's child makes its own.
    ensureApplication("window_bench");
    TForm1 form(benchOptions(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    form.show();
    QApplication::setActiveWindow(&form);
    (void)QTest::qWaitForWindowExposed(&form);
    auto* grid = form.findChild<GridWidget*>("SG1");
    std::vector<double> latencies, keyOnly, cpu, pageTurns;
    long cells = 0, keys = 0;
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

// Waits until the window is on screen and its first frame flushed.
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

// A whole exercise typed in the window, in a process of its own for its peak
// resident memory.
int runExerciseChild(int width, int height) {
    int argc = 1;
    char name[] = "hayateuchi";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    hayate::gui::installFontSubstitutes();
    hayate::gui::installQtJapanese();
    TForm1 form(benchOptions(width, height));
    form.show();
    if (!waitShown(form)) return 2;
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

void BM_PeakMemoryWholeExercise(benchmark::State& state) {
    scratchFolder();  // named in the environment before the child starts
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string size = std::to_string(state.range(0)) + "x" + std::to_string(state.range(1));
    long maxRssKb = 0;
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0) {
            execl(self.c_str(), self.c_str(), "--child-exercise", size.c_str(), nullptr);
            _exit(127);
        }
        int status = 0;
        struct rusage usage {};
        wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("child failed");
            break;
        }
        maxRssKb = std::max(maxRssKb, usage.ru_maxrss);
    }
    state.counters["peak_rss_MB"] = static_cast<double>(maxRssKb) / 1024.0;
}

// Each repetition is one exercise; its p99 over the exercise's keys, and the
// median of the repetitions' p99 in the aggregate.
BENCHMARK(BM_KeyToRepaint)
    ->Args({1024, 768})
    ->Args({1920, 1080})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK(BM_PeakMemoryWholeExercise)->Args({1920, 1080})->Iterations(1);
BENCHMARK(BM_FullGridRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--child-exercise") == 0) {
        int width = 0, height = 0;
        if (std::sscanf(argv[2], "%dx%d", &width, &height) != 2) return 2;
        return runExerciseChild(width, height);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(scratchFolder());
    return 0;
}
