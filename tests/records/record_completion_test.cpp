#include "records/record_completion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "exercise/exercise_stats.h"
#include "exercise/practice_text.h"
#include "platform/safe_file.h"
#include "record_fakes.h"
#include "support/sjis_test_support.h"
#include "support/temp_dir.h"

namespace hayate {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr int kToday = 20261208;

class CompletionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(store.loadAtStartup());
        files.replacements = 0;
    }

    // Runs one completion of an exercise started with the state's current
    // settings, or with `started` when the course list changed since.
    void complete(ExerciseEnd kind, int typed, int elapsedMs, int keystrokes = 0,
                  std::optional<ExerciseKeys> started = std::nullopt) {
        log.clear();
        test::FakeExercise exercise(
            log, typed, elapsedMs, keystrokes,
            started.value_or(ExerciseKeys{state.courseIndex, state.spacing, state.kanaMode}));
        completion.completeExercise(kind, exercise);
    }

    std::string text(Label label) { return display.texts[label]; }

    test::TempDir dir;
    fs::path best = dir / "t.DAT";
    fs::path history = dir / "t.UPD";
    test::RefusingFileAccess files;
    RecordStore store{best, history, kToday, files};
    SharedState state;
    test::EventLog log;
    test::FakeDisplay display{log};
    test::FakeDialog dialog{log};
    RecordCompletion completion{store, state, display, dialog};
};

TEST_F(CompletionTest, TextEndScalesTheCountToTheTimeLimit) {
    state.courseIndex = 2;
    state.timeLimitIndex = 1;  // 60 s, with spaces: setting 2
    complete(ExerciseEnd::LastCell, 2000, 50000);
    EXPECT_THAT(log, ElementsAre("stopClock", "LMoji", "LTime", "stopExercise", "LYmoji",
                                 "dialog:new", "LSaikoM", "LSaikoD", "focusStart"));
    EXPECT_EQ(text(Label::CharactersTyped), " 2400");
    EXPECT_EQ(text(Label::ElapsedTime), "   50");
    EXPECT_EQ(text(Label::Speed), " 2400");
    EXPECT_EQ(text(Label::BestScore), "2400");
    EXPECT_EQ(text(Label::BestDate), "2026/12/08");
    EXPECT_EQ(store.bestScore(2, 2), 2400);
    EXPECT_EQ(store.readBest(2).value().score[2], 2400);
    EXPECT_EQ(store.readBest(2).value().date[2], kToday);
    const CourseHistory h = store.readHistory(2).value();
    EXPECT_EQ(h.score[2][0], 2400);
    EXPECT_EQ(h.date[2][0], kToday);
}

TEST_F(CompletionTest, WithoutATimeLimitTheScoreIsTheSpeedOverWholeSeconds) {
    state.timeLimitIndex = 2;
    state.spacing = 1;  // setting 5
    complete(ExerciseEnd::LastCell, 1234, 400000);
    EXPECT_EQ(text(Label::CharactersTyped), " 2000");  // the whole grid, whatever was counted
    EXPECT_EQ(text(Label::ElapsedTime), " 6'40\"");
    EXPECT_EQ(text(Label::Speed), "  300");
    EXPECT_EQ(store.bestScore(0, 5), 300);

    complete(ExerciseEnd::LastCell, 2000, 401900);  // 120000 / 401 = 299.25
    EXPECT_EQ(text(Label::Speed), "  299");
    EXPECT_EQ(log[5], "dialog:finished");
    EXPECT_EQ(store.bestScore(0, 5), 300);

    // Under one second nothing divides by zero.
    complete(ExerciseEnd::LastCell, 2000, 0);
    EXPECT_EQ(text(Label::ElapsedTime), "    0");
    EXPECT_EQ(text(Label::Speed), "120000");
}

TEST_F(CompletionTest, TimeLimitEndKeepsTheCountAndSkipsTheTextEndSteps) {
    state.timeLimitIndex = 0;
    state.kanaMode = true;
    complete(ExerciseEnd::TimeLimit, 130, 30000, 400);
    EXPECT_THAT(log, ElementsAre("stopExercise", "LYmoji", "dialog:new", "LSaikoM", "LSaikoD",
                                 "focusStart"));
    EXPECT_EQ(text(Label::Speed), "  260");
    EXPECT_EQ(store.bestScore(0, 0), 130);
    EXPECT_EQ(text(Label::BestScore), "130");
}

TEST_F(CompletionTest, KanaModeShowsTheKeystrokeRate) {
    state.kanaMode = true;
    state.timeLimitIndex = 0;
    complete(ExerciseEnd::LastCell, 2000, 61000, 3000);
    EXPECT_EQ(text(Label::ElapsedTime), " 1'1\"");
    EXPECT_EQ(text(Label::KeystrokeSpeed), "2951 " + test::sj("／分"));  // 2950.8 rounded
    EXPECT_EQ(text(Label::CharactersTyped), "  983");                    // 2000 x 30000 / 61000

    state.kanaMode = false;
    display.texts.clear();
    complete(ExerciseEnd::LastCell, 2000, 60000, 3000);
    EXPECT_EQ(text(Label::ElapsedTime), "   60");
    EXPECT_FALSE(display.texts.contains(Label::KeystrokeSpeed));
}

TEST_F(CompletionTest, TheRecordBelongsToTheCourseAndSpacingTyped) {
    // Started in アルファベット with spaces, 30 s; ローマ字, no spaces and 60 s
    // were chosen while it ran.
    state.courseIndex = kCourseRomaji;
    state.kanaMode = true;
    state.spacing = 1;
    state.timeLimitIndex = 1;
    complete(ExerciseEnd::TimeLimit, 150, 60000, 0, ExerciseKeys{0, 0, false});
    EXPECT_EQ(store.bestScore(0, 2), 150);  // course 0, 60 s with spaces
    EXPECT_EQ(store.bestScore(kCourseRomaji, 3), 0);
    EXPECT_EQ(store.bestScore(kCourseRomaji, 2), 0);

    complete(ExerciseEnd::LastCell, 2000, 50000, 0, ExerciseKeys{0, 0, false});
    EXPECT_FALSE(display.texts.contains(Label::KeystrokeSpeed));  // no keystroke rate of 0
}

TEST_F(CompletionTest, KanaInputResultsNeverReachTheRecordFiles) {
    state.courseIndex = kCourseRomaji;
    state.kanaMode = true;
    const ExerciseKeys kana{kCourseRomaji, 0, true, InputMethod::Kana};
    complete(ExerciseEnd::TimeLimit, 150, 30000, 0, kana);
    EXPECT_EQ(log[2], "dialog:finished");
    EXPECT_EQ(files.replacements, 0);
    EXPECT_EQ(store.bestScore(kCourseRomaji, 0), 0);
    EXPECT_FALSE(completion.lastResult().newBest);
    EXPECT_EQ(completion.lastResult().score, 150);

    // A romaji result of the same course still counts, and a better kana one
    // still does not beat it.
    complete(ExerciseEnd::TimeLimit, 100, 30000, 0, ExerciseKeys{kCourseRomaji, 0, true});
    EXPECT_EQ(store.bestScore(kCourseRomaji, 0), 100);
    complete(ExerciseEnd::TimeLimit, 200, 30000, 0, kana);
    EXPECT_EQ(store.bestScore(kCourseRomaji, 0), 100);
    EXPECT_EQ(store.readBest(kCourseRomaji).value().score[0], 100);
}

TEST_F(CompletionTest, OnlyAStrictlyHigherScoreIsARecord) {
    // 0 against 0 writes nothing.
    complete(ExerciseEnd::TimeLimit, 0, 30000);
    EXPECT_EQ(log[2], "dialog:finished");
    EXPECT_EQ(files.replacements, 0);

    complete(ExerciseEnd::TimeLimit, 45, 30000);
    EXPECT_EQ(text(Label::Speed), "   90");
    const int writesForRecord = files.replacements;
    EXPECT_EQ(writesForRecord, 2);

    display.texts.clear();
    complete(ExerciseEnd::TimeLimit, 45, 30000);
    EXPECT_THAT(log, ElementsAre("stopExercise", "LYmoji", "dialog:finished", "focusStart"));
    EXPECT_EQ(files.replacements, writesForRecord);
    EXPECT_FALSE(display.texts.contains(Label::BestScore));
}

TEST_F(CompletionTest, HistoryGainsOneEntryPerDay) {
    state.timeLimitIndex = 1;
    complete(ExerciseEnd::TimeLimit, 100, 60000);
    complete(ExerciseEnd::TimeLimit, 150, 60000);  // same day: overwritten
    CourseHistory h = store.readHistory(0).value();
    EXPECT_EQ(h.score[2][0], 150);
    EXPECT_EQ(h.date[2][1], 0);

    // Later runs on sixteen later days, each with a new best.
    for (int day = 1; day <= 16; ++day) {
        RecordStore later(best, history, 20261208 + day);
        ASSERT_TRUE(later.loadAtStartup());
        RecordCompletion c(later, state, display, dialog);
        EXPECT_EQ(c.updateRecords(0, 2, 150 + day), UpdateResult::Saved);
    }
    h = store.readHistory(0).value();
    for (std::size_t k = 0; k < kHistoryLength; ++k) {
        EXPECT_EQ(h.score[2][k], 166 - static_cast<int>(k));
        EXPECT_EQ(h.date[2][k], 20261224 - static_cast<int>(k));
    }
    EXPECT_EQ(store.readBest(0).value().score[2], 166);
}

TEST_F(CompletionTest, AFailedUpdateTellsTheUserAndDamagesNothing) {
    ASSERT_TRUE(store.writeBest(1, CourseBest{{5, 6, 7, 8, 9, 10}, {1, 2, 3, 4, 5, 6}}));
    ASSERT_TRUE(store.loadAtStartup());
    state.courseIndex = 1;
    const std::string bestBefore = readWholeFile(best).value();
    const std::string historyBefore = readWholeFile(history).value();

    // The best-record file cannot be written: the tables keep the old best.
    files.refused = {best};
    complete(ExerciseEnd::TimeLimit, 300, 30000);
    EXPECT_THAT(log,
                ElementsAre("stopExercise", "LYmoji", "dialog:new", "saveFailure", "focusStart"));
    ASSERT_EQ(dialog.failures.size(), 1u);
    EXPECT_EQ(dialog.failures.back(), sjisText(UserText::BestNotSavedMessage));
    EXPECT_EQ(store.bestScore(1, 0), 5);
    EXPECT_EQ(store.bestDate(1, 0), 1);

    // An interrupted replacement is the same failure.
    files.refused.clear();
    setFailBeforeRenameForTesting(true);
    complete(ExerciseEnd::TimeLimit, 300, 30000);
    setFailBeforeRenameForTesting(false);
    ASSERT_EQ(dialog.failures.size(), 2u);
    EXPECT_EQ(dialog.failures.back(), sjisText(UserText::BestNotSavedMessage));
    EXPECT_EQ(readWholeFile(best).value(), bestBefore);
    EXPECT_EQ(readWholeFile(history).value(), historyBefore);

    // A folder in the place of the history file: the best is kept, the history is not touched.
    fs::remove(history);
    fs::create_directory(history);
    complete(ExerciseEnd::TimeLimit, 300, 30000);
    ASSERT_EQ(dialog.failures.size(), 3u);
    EXPECT_EQ(dialog.failures.back(), sjisText(UserText::HistoryNotSavedMessage));
    EXPECT_EQ(store.bestScore(1, 0), 300);
    EXPECT_EQ(store.readBest(1).value().score[0], 300);
    EXPECT_EQ(store.readBest(1).value().score[1], 6);
    EXPECT_EQ(text(Label::BestScore), "300");
    EXPECT_TRUE(fs::is_directory(history));
}

TEST_F(CompletionTest, ABestStoredByAnotherCopyIsNotOverwritten) {
    // A second copy of the program on another display, on the same files.
    struct Case {
        const char* what;
        bool duringWait;  // the other copy stores while this one shows the result
        std::int32_t other, mine;
        std::vector<std::string> steps;
        std::int32_t stored;
    };
    const Case cases[] = {
        {"before the end",
         false,
         40000,
         20000,
         {"stopExercise", "LYmoji", "LSaikoM", "LSaikoD", "dialog:finished", "focusStart"},
         40000},
        {"during the wait",
         true,
         40000,
         20000,
         {"stopExercise", "LYmoji", "dialog:new", "LSaikoM", "LSaikoD", "saveFailure",
          "focusStart"},
         40000},
        {"a lower one",
         false,
         100,
         20000,
         {"stopExercise", "LYmoji", "LSaikoM", "LSaikoD", "dialog:new", "LSaikoM", "LSaikoD",
          "focusStart"},
         20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(best);
        fs::remove(history);
        ASSERT_TRUE(store.loadAtStartup());
        RecordStore other(best, history, kToday + 1);
        ASSERT_TRUE(other.loadAtStartup());
        test::EventLog otherLog;
        test::FakeDisplay otherDisplay{otherLog};
        test::FakeDialog otherDialog{otherLog};
        RecordCompletion otherCompletion(other, state, otherDisplay, otherDialog);
        const auto storeOther = [&] {
            ASSERT_EQ(otherCompletion.updateRecords(0, 0, c.other), UpdateResult::Saved);
        };
        dialog.failures.clear();
        dialog.duringWait = nullptr;
        if (c.duringWait) {
            dialog.duringWait = [&] {
                dialog.duringWait = nullptr;
                storeOther();
            };
        } else {
            storeOther();
        }
        complete(ExerciseEnd::TimeLimit, c.mine, 30000);
        log.erase(std::remove(log.begin(), log.end(), std::string("other label")), log.end());
        EXPECT_EQ(log, c.steps);
        EXPECT_EQ(store.readBest(0).value().score[0], c.stored);
        EXPECT_EQ(store.bestScore(0, 0), c.stored);
        EXPECT_EQ(text(Label::BestScore), std::to_string(c.stored));
        EXPECT_EQ(completion.lastResult().newBest, c.stored == c.mine);
        EXPECT_EQ(store.readHistory(0).value().score[0][0], c.stored);
        if (c.duringWait) {
            EXPECT_THAT(dialog.failures, ElementsAre(sjisText(UserText::BeatenMeanwhileMessage)));
        }
    }
}

TEST(CompletionTextsTest, ElapsedTimeTurnsToMinutesAfterSixtySeconds) {
    EXPECT_EQ(elapsedText(59 * 1000), "   59");
    EXPECT_EQ(elapsedText(125 * 1000), " 2'5\"");
    EXPECT_EQ(elapsedText(43200 * 1000), " 720'0\"");
}

}  // namespace
}  // namespace hayate
