// Completion of results typed on the kana layout: judged against and stored in
// the kana records, never in the record files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "exercise/practice_text.h"
#include "platform/safe_file.h"
#include "record_fakes.h"
#include "records/record_completion.h"
#include "support/temp_dir.h"

namespace hayate {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr int kToday = 20261208;

// Kana records in memory, with the history rules of the record files.
class MemoryKanaRecords : public KanaRecords {
  public:
    std::optional<CourseBest> readBest(int course) override {
        if (!available) return std::nullopt;
        return best[course];
    }
    std::optional<CourseHistory> readHistory(int course) override {
        if (!available) return std::nullopt;
        return history[course];
    }
    RaiseResult raiseBest(int course, int setting, std::int32_t score, std::int32_t date) override {
        if (!available || failRaise) return RaiseResult::Failed;
        const auto s = static_cast<std::size_t>(setting);
        if (score <= best[course].score[s]) return RaiseResult::NotHigher;
        best[course].score[s] = score;
        best[course].date[s] = date;
        history[course].addBest(setting, score, date);
        return RaiseResult::Raised;
    }
    bool clear(int, std::optional<int>) override { return false; }

    bool available = true;
    bool failRaise = false;
    std::map<int, CourseBest> best;
    std::map<int, CourseHistory> history;
};

class KanaCompletionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(store.loadAtStartup());
        files.replacements = 0;
        state.courseIndex = kCourseRomaji;
        state.kanaMode = true;
        state.inputMethod = InputMethod::Kana;
        completion.setKanaRecords(&kana);
        bestFileBefore = readWholeFile(bestFile).value();
        historyFileBefore = readWholeFile(historyFile).value();
    }

    void complete(int typed, InputMethod method = InputMethod::Kana) {
        log.clear();
        test::FakeExercise exercise(log, typed, 30000, 0,
                                    ExerciseKeys{kCourseRomaji, 0, true, method});
        completion.completeExercise(ExerciseEnd::TimeLimit, exercise);
    }

    std::string dialogShown() const {
        for (const std::string& event : log)
            if (event.starts_with("dialog:")) return event;
        return "no dialog";
    }

    void expectRecordFilesUntouched() {
        EXPECT_EQ(files.replacements, 0);
        EXPECT_EQ(readWholeFile(bestFile).value(), bestFileBefore);
        EXPECT_EQ(readWholeFile(historyFile).value(), historyFileBefore);
        EXPECT_EQ(store.bestScore(kCourseRomaji, 0), 0);
    }

    test::TempDir dir;
    fs::path bestFile = dir / "t.DAT";
    fs::path historyFile = dir / "t.UPD";
    test::RefusingFileAccess files;
    RecordStore store{bestFile, historyFile, kToday, files};
    SharedState state;
    test::EventLog log;
    test::FakeDisplay display{log};
    test::FakeDialog dialog{log};
    RecordCompletion completion{store, state, display, dialog};
    MemoryKanaRecords kana;
    std::string bestFileBefore;
    std::string historyFileBefore;
};

TEST_F(KanaCompletionTest, AKanaResultIsJudgedAgainstTheKanaBestOnly) {
    struct Step {
        int typed;
        InputMethod method;
        bool newRecord;
        std::int32_t kanaBest;  // afterwards
    };
    const Step steps[] = {
        {150, InputMethod::Kana, true, 150},
        {150, InputMethod::Kana, false, 150},   // equal is no record
        {120, InputMethod::Romaji, true, 150},  // the romaji best is apart
        {140, InputMethod::Kana, false, 150},   // beats the romaji best, not the kana one
        {151, InputMethod::Kana, true, 151},
    };
    for (const Step& step : steps) {
        complete(step.typed, step.method);
        EXPECT_EQ(dialogShown(), step.newRecord ? "dialog:new" : "dialog:finished") << step.typed;
        EXPECT_EQ(completion.lastResult().newBest, step.newRecord) << step.typed;
        EXPECT_EQ(kana.best[kCourseRomaji].score[0], step.kanaBest) << step.typed;
    }
    EXPECT_EQ(store.bestScore(kCourseRomaji, 0), 120);
    EXPECT_EQ(display.texts[Label::BestScore], "151");
    EXPECT_EQ(display.texts[Label::BestDate], "2026/12/08");
    // One entry per day, as in the history file.
    EXPECT_EQ(kana.history[kCourseRomaji].score[0][0], 151);
    EXPECT_EQ(kana.history[kCourseRomaji].date[0][1], 0);
}

TEST_F(KanaCompletionTest, TheLabelsFollowAWayOfTypingSwitchedDuringTheExercise) {
    kana.best[kCourseRomaji].score[0] = 300;
    kana.best[kCourseRomaji].date[0] = kToday;
    ASSERT_EQ(completion.updateRecords(kCourseRomaji, 0, 200), UpdateResult::Saved);
    state.inputMethod = InputMethod::Romaji;  // switched while a kana exercise ran
    complete(100, InputMethod::Kana);
    EXPECT_EQ(display.texts[Label::BestScore], "200");
    state.inputMethod = InputMethod::Kana;  // and back while a romaji one ran
    complete(100, InputMethod::Romaji);
    EXPECT_EQ(display.texts[Label::BestScore], "300");
}

TEST_F(KanaCompletionTest, KanaRecordsThatCannotBeReadGiveAPlainEnd) {
    struct Case {
        const char* what;
        bool attached;
        bool available;
        bool keep;
    };
    const Case cases[] = {
        {"no journal", false, true, true},
        {"journal not open", true, false, true},
        {"weak-spot practice", true, true, false},
    };
    for (const Case& c : cases) {
        completion.setKanaRecords(c.attached ? &kana : nullptr);
        kana.available = c.available;
        completion.setKeepRecords(c.keep);
        complete(200);
        EXPECT_THAT(log, ElementsAre("stopExercise", "LYmoji", "dialog:finished", "focusStart"))
            << c.what;
        EXPECT_FALSE(completion.lastResult().newBest) << c.what;
        EXPECT_TRUE(dialog.failures.empty()) << c.what;
        expectRecordFilesUntouched();
    }
    EXPECT_EQ(kana.best[kCourseRomaji].score[0], 0);
}

TEST_F(KanaCompletionTest, AFailedOrOvertakenStoreIsToldNotShownAsARecord) {
    kana.failRaise = true;
    complete(200);
    EXPECT_THAT(log, ElementsAre("stopExercise", "LYmoji", "LSaikoM", "LSaikoD", "dialog:new",
                                 "saveFailure", "focusStart"));
    EXPECT_EQ(dialog.failures.back(), sjisText(UserText::BestNotSavedMessage));
    EXPECT_FALSE(completion.lastResult().newBest);
    EXPECT_EQ(display.texts[Label::BestScore], "");

    // Another copy stores a higher kana best while the result is shown.
    kana.failRaise = false;
    dialog.duringWait = [this] { kana.raiseBest(kCourseRomaji, 0, 250, kToday); };
    complete(200);
    EXPECT_EQ(dialog.failures.back(), sjisText(UserText::BeatenMeanwhileMessage));
    EXPECT_FALSE(completion.lastResult().newBest);
    EXPECT_EQ(kana.best[kCourseRomaji].score[0], 250);
    EXPECT_EQ(display.texts[Label::BestScore], "250");
    expectRecordFilesUntouched();
}

}  // namespace
}  // namespace hayate
