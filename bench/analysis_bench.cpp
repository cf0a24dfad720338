// The analysis screen over a journal of 10,000 exercises: from the menu
// command to the screen painted once, with every query it runs. The journal
// is built once per run in a scratch folder (its building is not measured).
// Run it with QT_QPA_PLATFORM=offscreen or under xvfb-run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "gui/analysis_window.h"
#include "bench_application.h"
#include "gui/main_window.h"
#include "journal/journal.h"
#include "records/record_store.h"

using hayate::gui::AnalysisWindow;
namespace journal = hayate::journal;

namespace {

constexpr int kExercises = 10000;
constexpr int kCellsPerExercise = 120;

std::filesystem::path scratchFolder() {
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() /
                 ("hayate-analysis-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

// Ten thousand exercises over a year, on the five built-in courses and six
// settings, each with its first cells typed and a miss now and then.
journal::Journal& bigJournal() {
    static journal::Journal j;
    static bool built = false;
    if (built) return j;
    built = true;
    const auto path = scratchFolder() / "hayateuchi.sqlite3";
    if (!j.open(path.string()).ok()) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        std::abort();
    }
    std::mt19937 random(20261208);
    std::vector<journal::ExerciseEntry> all;
    all.reserve(kExercises);
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    for (int e = 0; e < kExercises; ++e) {
        journal::ExerciseEntry x;
        x.startedAt = now - 365 * 86400 + static_cast<std::int64_t>(e) * 365 * 86400 / kExercises;
        x.courseIndex = static_cast<int>(random() % 5);
        x.timeLimitIndex = static_cast<int>(random() % 3);
        x.spacing = static_cast<int>(random() % 2);
        x.end = hayate::ExerciseEnd::TimeLimit;
        x.elapsedMs = 30000;
        for (int c = 0; c < kCellsPerExercise; ++c) {
            const char letter = static_cast<char>('a' + random() % 26);
            journal::CellEntry cell;
            cell.cellIndex = c;
            cell.character = std::string("\x82") + static_cast<char>(0x60 + (letter - 'a'));
            cell.typed = std::string(1, letter);
            if (random() % 12 == 0) {
                cell.wrongKeys = std::string(1, static_cast<char>('a' + random() % 26));
                cell.expectedKeys = cell.typed;
                x.misses += 1;
            }
            cell.msSincePrevious = 150 + static_cast<int>(random() % 400);
            x.cells.push_back(std::move(cell));
        }
        x.characters = kCellsPerExercise;
        x.keystrokes = kCellsPerExercise;
        x.score = kCellsPerExercise;
        all.push_back(std::move(x));
    }
    if (!j.recordAll(all).ok()) std::abort();
    return j;
}

hayate::RecordStore& records() {
    static hayate::RecordStore store(scratchFolder() / "hayateuchi.DAT",
                                     scratchFolder() / "hayateuchi.UPD", 20261208);
    static const bool loaded = store.loadAtStartup();
    (void)loaded;
    return store;
}

AnalysisWindow::Source source(int course, int setting) {
    AnalysisWindow::Source s;
    s.journal = &bigJournal();
    s.records = &records();
    for (int i = 0; i < 15; ++i) s.courseNames << QStringLiteral("course %1").arg(i);
    s.course = course;
    s.setting = setting;
    s.now = QDateTime::currentSecsSinceEpoch();
    return s;
}

// From nothing to the screen painted once, with the period the argument
// chooses: 0 = 7 days, 1 = 30 days (the default), 2 = all of the year.
void BM_OpenAnalysis(benchmark::State& state) {
    ensureApplication("analysis_bench");
    bigJournal();
    for (auto _ : state) {
        AnalysisWindow w;
        w.findChild<QComboBox*>("CombPeriod")->setCurrentIndex(static_cast<int>(state.range(0)));
        w.open(source(0, 0));
        w.repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenAnalysis)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Only the journal's part of it: the queries one opening runs, whole year.
void BM_AnalysisQueries(benchmark::State& state) {
    journal::Journal& j = bigJournal();
    journal::Filter f;
    f.courseIndex = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(j.exerciseCount(f));
        benchmark::DoNotOptimize(j.keyStats(f));
        benchmark::DoNotOptimize(j.weakestCharacters(f, 10));
        journal::Filter chart = f;
        chart.settingIndex = 0;
        chart.includeStopped = false;
        chart.includeWeakSpot = false;
        benchmark::DoNotOptimize(j.exercises(chart));
    }
}
BENCHMARK(BM_AnalysisQueries)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
