#include "journal/exercise_logger.h"

#include <gtest/gtest.h>

#include "exercise/exercise_fakes.h"
#include "journal/weak_spot.h"
#include "platform/safe_file.h"
#include "support/sjis_test_support.h"
#include "support/temp_dir.h"
#include "text/width_conversion.h"

namespace hayate::journal {
namespace {

using test::sj;

struct QuietDialog : ResultDialog {
    void showResultAndWait(bool newRecord) override { newRecords += newRecord ? 1 : 0; }
    void showSaveFailure(const std::string&) override {}
    int newRecords = 0;
};

// A real session, completion, record files and journal, played by keys.
class ExerciseLoggerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(store.loadAtStartup());
        ASSERT_TRUE(journal.open((dir / "hayate.sqlite3").string()).ok());
        session.setObserver(&logger);
    }
    void start(int course, bool kana = false) {
        shared.courseIndex = course;
        shared.kanaMode = kana;
        session.startExercise();
    }
    void key(unsigned char c) {
        session.gridKeyDown(test::virtualKeyFor(c));
        session.gridKeyPress(c);
    }
    void type(const std::string& keys) {
        for (char c : keys) {
            window.now += 250;
            key(static_cast<unsigned char>(c));
        }
    }
    // The keys that complete cells `from`..`to`-1 as the grid expects them.
    std::string expected(int from, int to) {
        std::string keys;
        for (int i = from; i < to; ++i) keys += session.grid().cell(i).input;
        return keys;
    }
    void timeRunsOut() {
        window.now += 31000;
        session.clockTick();
    }
    std::string bytes(const std::filesystem::path& p) { return readWholeFile(p).value_or("?"); }

    test::TempDir dir;
    SharedState shared;
    CharTables tables = buildCharTables();
    Mt19937Source random{77};
    test::FakeWindow window;
    RecordStore store{dir / "hayate.DAT", dir / "hayate.UPD", 20261208};
    QuietDialog dialog;
    RecordCompletion completion{store, shared, window, dialog};
    ExerciseSession session{shared, tables, random, nullptr, window, window, window, completion};
    Journal journal;
    std::vector<std::string> notices;
    ExerciseLogger logger{journal,
                          session,
                          completion,
                          shared,
                          {[] { return std::int64_t{1796000000}; },
                           {},
                           [this](const std::string& m) { notices.push_back(m); },
                           {}}};
};

TEST_F(ExerciseLoggerTest, EveryWayAnExerciseEndsIsLoggedOnce) {
    shared.spacing = 1;
    struct Case {
        const char* name;
        std::function<void()> play;
        ExerciseEnd end;
        int characters;
    } cases[] = {
        {"time limit", [&] { start(0), type(expected(0, 4)), timeRunsOut(); }, ExerciseEnd::TimeLimit,
         4},
        {"Esc", [&] { start(1), type(expected(0, 2)), key(0x1B); }, ExerciseEnd::Stopped, 2},
        {"stop button",
         [&] {
             start(2), type(expected(0, 3)), session.buttonPressed(ExerciseSession::Button::Stop);
         },
         ExerciseEnd::Stopped, 3},
        {"restart", [&] { start(0), type(expected(0, 1)), start(0); }, ExerciseEnd::Stopped, 1},
    };
    int logged = 0;
    for (const Case& c : cases) {
        c.play();
        const auto all = journal.exercises({});
        ASSERT_EQ(static_cast<int>(all.size()), ++logged) << c.name;
        EXPECT_EQ(all.back().end, c.end) << c.name;
        EXPECT_EQ(all.back().characters, c.characters) << c.name;
        EXPECT_EQ(static_cast<int>(journal.cells(all.back().id).size()), c.characters) << c.name;
    }
    // The restarted exercise is under way; an Esc without a key logs nothing.
    key(0x1B);
    start(0);
    key(0x1B);
    EXPECT_EQ(journal.exerciseCount({}), logged);
    EXPECT_TRUE(notices.empty());
    // The first exercise set a best record and the journal says so.
    EXPECT_TRUE(journal.exercises({}).front().newBest);
    EXPECT_EQ(journal.exercises({}).front().score, 4);
}

TEST_F(ExerciseLoggerTest, RomajiCellsKeepTheSpellingTheMissesAndTheTimes) {
    start(3, true);
    // Fixed kana for the first two cells.
    session.grid().place(0, kanaIndexOf(tables, sj("し")), sj("し"), "si");
    session.grid().place(1, kanaIndexOf(tables, sj("つ")), sj("つ"), "tu");
    session.setWeakSpotWeights({});  // no effect on a running exercise
    type("sxhi");                    // x is a miss where h was due: the shi spelling
    type("tsu");
    type("q");  // a miss on the third cell, then Esc
    key(0x1B);
    const auto all = journal.exercises({});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_TRUE(all[0].romajiMode);
    EXPECT_FALSE(all[0].extendedRomaji);
    EXPECT_EQ(all[0].misses, 2);
    const auto cells = journal.cells(all[0].id);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].character, sj("し"));
    EXPECT_EQ(cells[0].typed, "shi");
    EXPECT_EQ(cells[0].wrongKeys, "x");
    EXPECT_EQ(cells[0].expectedKeys, "i");     // the table's first spelling, si, wanted i
    EXPECT_EQ(cells[0].msSincePrevious, 750);  // three keys after the first one, 250 ms apart
    EXPECT_EQ(cells[1].typed, "tsu");
    EXPECT_EQ(cells[1].msSincePrevious, 750);
    EXPECT_FALSE(cells[2].completed);
    EXPECT_EQ(cells[2].wrongKeys, "q");
}

TEST_F(ExerciseLoggerTest, SettingsChangedDuringAnExerciseAreLoggedAsTheyCountForIt) {
    shared.spacing = 1;
    shared.romajiExtended = 1;
    start(3, true);
    type(expected(0, 3));
    // The record goes under the limit in force at the end; the text and its
    // judging keep what they started with.
    session.selectTimeLimit(1, false);
    shared.letterCase = 1;
    shared.romajiExtended = 0;
    window.now += 61000;
    session.clockTick();
    const auto all = journal.exercises({});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].end, ExerciseEnd::TimeLimit);
    EXPECT_EQ(all[0].timeLimitIndex, 1);
    EXPECT_TRUE(all[0].newBest);
    EXPECT_EQ(store.bestScore(3, all[0].timeLimitIndex * 2 + all[0].spacing), all[0].score);
    EXPECT_GT(all[0].score, 0);
    EXPECT_EQ(all[0].letterCase, 0);
    EXPECT_TRUE(all[0].romajiMode);
    EXPECT_TRUE(all[0].extendedRomaji);
}

TEST_F(ExerciseLoggerTest, WeakSpotPracticeIsLoggedButNeverTouchesTheRecords) {
    shared.spacing = 1;
    const std::string best = bytes(store.bestFile()), history = bytes(store.historyFile());
    std::vector<int> weights(26, kWeakSpotBaseWeight);
    weights[25] = 50 * kWeakSpotBaseWeight;
    session.setWeakSpotWeights(weights);
    start(0);
    EXPECT_TRUE(session.weakSpotExercise());
    type(expected(0, 10));
    timeRunsOut();
    EXPECT_EQ(dialog.newRecords, 0);
    EXPECT_EQ(bytes(store.bestFile()), best);
    EXPECT_EQ(bytes(store.historyFile()), history);
    EXPECT_EQ(store.bestScore(0, 1), 0);
    const auto all = journal.exercises({});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].kind, PracticeKind::WeakSpot);
    EXPECT_FALSE(all[0].newBest);

    // The next start is a normal exercise again, and it may set a record.
    start(0);
    EXPECT_FALSE(session.weakSpotExercise());
    type(expected(0, 3));
    timeRunsOut();
    EXPECT_EQ(dialog.newRecords, 1);
    EXPECT_NE(bytes(store.bestFile()), best);
}

TEST_F(ExerciseLoggerTest, AFailingJournalGivesOneNoticeAndPracticeGoesOn) {
    shared.spacing = 1;
    journal.refuseWritesForTesting();
    for (int i = 0; i < 2; ++i) {
        start(0);
        type(expected(0, 3));
        timeRunsOut();
    }
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(logger.lastResult().status, Journal::Status::ReadOnly);
    EXPECT_EQ(store.bestScore(0, 1), 3) << "the record was kept all the same";

    // A journal found read-only when it opened has had its notice.
    std::vector<std::string> later;
    ExerciseLogger fresh{journal, session, completion, shared,
                         {{}, {}, [&](const std::string& m) { later.push_back(m); }, {}}};
    session.setObserver(&fresh);
    fresh.journalOpened({Journal::Status::ReadOnly, "read-only", {}});
    start(0);
    type(expected(0, 3));
    timeRunsOut();
    EXPECT_EQ(fresh.lastResult().status, Journal::Status::ReadOnly);
    EXPECT_EQ(later, std::vector<std::string>{"read-only"});
    session.setObserver(&logger);
}

}  // namespace
}  // namespace hayate::journal
