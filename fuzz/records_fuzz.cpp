// Arbitrary bytes as the two record files: the loader must accept them, keep
// every byte it does not own, and the label, date and cell texts and the
// completion must cope with whatever integers the records hold.
//
// Run with TMPDIR on a RAM disk (e.g. /dev/shm): every replacement is flushed
// to disk, which otherwise dominates the run time.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/safe_file.h"
#include "records/record_completion.h"
#include "records/record_store.h"

namespace {

using namespace hayate;
namespace fs = std::filesystem;

class NullDisplay final : public NullExerciseDisplay {
  public:
    void setLabelText(Label, const std::string& text) override { shown += text.size(); }
    std::size_t shown = 0;
};

class NullDialog final : public ResultDialog {
  public:
    void showResultAndWait(bool) override {}
    void showSaveFailure(const std::string&) override { std::abort(); }  // the folder is writable
};

class FuzzedExercise final : public ExerciseControl {
  public:
    FuzzedExercise(int typed, int keys, int elapsed)
        : typed_(typed), keys_(keys), elapsed_(elapsed) {}
    int charactersTyped() const override { return typed_; }
    int keystrokeCount() const override { return keys_; }
    int elapsedMilliseconds() override { return elapsed_; }
    void stopClock() override {}
    void stopExercise() override {}
    void focusStartButton() override {}

  private:
    int typed_, keys_, elapsed_;
};

// One folder per run, removed when the fuzzer exits.
struct FuzzFolder {
    fs::path path =
        fs::temp_directory_path() / ("hayate-records-fuzz-" + std::to_string(::getpid()));
    FuzzFolder() { fs::create_directories(path); }
    ~FuzzFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

const fs::path& folder() {
    static const FuzzFolder dir;
    return dir.path;
}

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void check(bool condition) {
    if (!condition) std::abort();
}

// The file holds `before` unchanged where the operation had no business.
void checkPreserved(const std::string& before, const std::string& after, std::size_t recordSize,
                    std::size_t changedRecord) {
    const std::size_t from = changedRecord * recordSize;
    check(after.size() >= before.size());
    check(after.compare(0, from, before, 0, from) == 0);
    if (before.size() > from + recordSize) {
        check(after.compare(from + recordSize, std::string::npos, before, from + recordSize) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int today = in.ConsumeIntegral<int>();
    const int course = in.ConsumeIntegralInRange(0, kCourseCount - 1);
    const int setting = in.ConsumeIntegralInRange(0, kSettingCount - 1);
    const int score = in.ConsumeIntegral<int>();
    const int typed = in.ConsumeIntegral<int>();
    const int keys = in.ConsumeIntegral<int>();
    const int elapsed = in.ConsumeIntegral<int>();
    const int timeLimit = in.ConsumeIntegralInRange(0, 2);
    const std::string bestBytes = in.ConsumeRandomLengthString(1200);
    const std::string historyBytes = in.ConsumeRemainingBytesAsString();

    const fs::path best = folder() / "f.DAT";
    const fs::path history = folder() / "f.UPD";
    put(best, bestBytes);
    put(history, historyBytes);

    RecordStore store(best, history, today);
    check(store.loadAtStartup());
    const std::string bestNow = readWholeFile(best).value();
    const std::string historyNow = readWholeFile(history).value();
    // Whole records stay; a short file grows to fifteen, a long one is left alone.
    const std::size_t wholeBest = bestBytes.size() / 48 * 48;
    check(bestNow.size() == (wholeBest >= 720 ? bestBytes.size() : 720));
    check(bestNow.compare(0, wholeBest, bestBytes, 0, wholeBest) == 0);
    check(historyNow.size() >= 10800);
    if (historyBytes.size() >= 10800) check(historyNow == historyBytes);

    NullDisplay display;
    for (int c = 0; c < kCourseCount; ++c) {
        for (int s = 0; s < kSettingCount; ++s) {
            store.refreshBestLabels(display, c, s);
            check(recordCellText(store.bestScore(c, s), store.bestDate(c, s)).size() <= 32);
            check(shortDateText(store.bestDate(c, s)).size() <= 8);
        }
    }
    const CourseHistory h = store.readHistory(course).value();
    for (int s = 0; s < kSettingCount; ++s) {
        for (int k = 0; k < kHistoryLength; ++k) {
            const auto si = static_cast<std::size_t>(s);
            const auto ki = static_cast<std::size_t>(k);
            check(recordCellText(h.score[si][ki], h.date[si][ki]).size() <= 32);
        }
    }

    // The update rewrites one record of each file and nothing else.
    SharedState state;
    state.courseIndex = course;
    state.timeLimitIndex = timeLimit;
    state.spacing = setting % 2;
    NullDialog dialog;
    RecordCompletion completion(store, state, display, dialog);
    check(completion.updateRecords(course, setting, score) == UpdateResult::Saved);
    const std::string bestAfter = readWholeFile(best).value();
    const std::string historyAfter = readWholeFile(history).value();
    checkPreserved(bestNow, bestAfter, kCourseBestSize, static_cast<std::size_t>(course));
    checkPreserved(historyNow, historyAfter, kCourseHistorySize, static_cast<std::size_t>(course));
    CourseHistory expected = h;
    expected.addBest(setting, score, today);
    check(store.readHistory(course).value() == expected);
    check(store.readBest(course).value().score[static_cast<std::size_t>(setting)] == score);

    // Whatever the exercise reports, the completion divides by nothing smaller than 1.
    FuzzedExercise exercise(typed, keys, elapsed);
    completion.completeExercise(typed % 2 ? EndKind::TextEnd : EndKind::TimeLimit, exercise);
    return 0;
}
