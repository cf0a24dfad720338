// The exercise journal: writing one exercise with its commit, and the queries
// of the analysis screen over a journal of 10,000 exercises.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>

#include "journal/journal.h"

namespace journal = hayate::journal;

namespace {

std::filesystem::path scratch(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("hayate-journal-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir / name;
}

// An exercise of `cells` letters, one miss in twenty, as a learner types them.
journal::ExerciseEntry exercise(std::mt19937& random, std::int64_t at, int cells) {
    journal::ExerciseEntry e;
    e.startedAt = at;
    e.courseIndex = static_cast<int>(random() % 5);
    e.timeLimitIndex = static_cast<int>(random() % 3);
    e.spacing = static_cast<int>(random() % 2);
    e.end = hayate::ExerciseEnd::TimeLimit;
    e.characters = cells;
    e.keystrokes = cells;
    e.elapsedMs = 60000;
    e.score = cells;
    for (int c = 0; c < cells; ++c) {
        const char letter = static_cast<char>('a' + random() % 26);
        journal::CellEntry cell;
        cell.cellIndex = c;
        cell.character = std::string("\x82") + static_cast<char>(0x81 + (letter - 'a'));
        cell.typed = std::string(1, letter);
        if (random() % 20 == 0) {
            cell.wrongKeys = std::string(1, static_cast<char>('a' + random() % 26));
            cell.expectedKeys = cell.typed;
            e.misses += 1;
        }
        cell.msSincePrevious = 150 + static_cast<int>(random() % 300);
        e.cells.push_back(std::move(cell));
    }
    return e;
}

// One exercise written as the program writes it: its own transaction and
// commit (WAL, synchronous as SQLite sets it), 300 cells for a minute at
// 300 a minute, 2000 for a whole text.
void BM_RecordExercise(benchmark::State& state) {
    journal::Journal j;
    const auto path = scratch("write.sqlite3");
    if (!j.open(path.string()).ok()) {
        state.SkipWithError("cannot open the journal");
        return;
    }
    std::mt19937 random(1);
    const journal::ExerciseEntry e =
        exercise(random, std::time(nullptr), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!j.record(e).ok()) state.SkipWithError("record failed");
    }
    state.SetLabel(std::to_string(state.range(0)) + " cells");
}
BENCHMARK(BM_RecordExercise)->Arg(300)->Arg(2000)->Unit(benchmark::kMillisecond);

journal::Journal& bigJournal() {
    static journal::Journal j;
    static bool built = false;
    if (built) return j;
    built = true;
    const auto path = scratch("big.sqlite3");
    if (!j.open(path.string()).ok()) std::abort();
    std::mt19937 random(20261208);
    const std::int64_t now = std::time(nullptr);
    std::vector<journal::ExerciseEntry> batch;
    for (int e = 0; e < 10000; ++e) {
        // A year of practice, 150 cells an exercise.
        batch.push_back(exercise(random, now - 365 * 86400 + e * (365 * 86400 / 10000), 150));
        if (batch.size() == 500) {
            if (!j.recordAll(batch).ok()) std::abort();
            batch.clear();
        }
    }
    return j;
}

// What the analysis screen asks for one course and period.
void BM_AnalysisQueries(benchmark::State& state) {
    journal::Journal& j = bigJournal();
    journal::Filter f;
    f.courseIndex = 3;
    const journal::Period period =
        state.range(0) == 0 ? journal::Period::All : journal::Period::Days30;
    f.since = journal::periodStart(period, std::time(nullptr));
    for (auto _ : state) {
        benchmark::DoNotOptimize(j.exerciseCount(f));
        benchmark::DoNotOptimize(j.exercises(f));
        benchmark::DoNotOptimize(j.keyStats(f));
        benchmark::DoNotOptimize(j.weakestCharacters(f));
    }
    state.SetLabel(state.range(0) == 0 ? "all, one course" : "30 days, one course");
}
BENCHMARK(BM_AnalysisQueries)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

// The same for every course at once, the largest selection the screen makes.
void BM_AnalysisQueriesAllCourses(benchmark::State& state) {
    journal::Journal& j = bigJournal();
    const journal::Filter f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(j.exercises(f));
        benchmark::DoNotOptimize(j.keyStats(f));
        benchmark::DoNotOptimize(j.weakestCharacters(f));
    }
}
BENCHMARK(BM_AnalysisQueriesAllCourses)->Unit(benchmark::kMillisecond);

// The CSV export of the whole journal.
void BM_CsvExport(benchmark::State& state) {
    journal::Journal& j = bigJournal();
    for (auto _ : state) benchmark::DoNotOptimize(j.csv({}));
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);

}  // namespace
