// The journal's side of kana input: each exercise's input method, the
// statistics kept apart by it, the keys of kana typed on the layout, and the
// kana best records and history.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>

#include "journal/jis_keys.h"
#include "journal/journal.h"
#include "journal/journal_kana_records.h"
#include "support/journal_damage.h"
#include "support/sjis_test_support.h"
#include "support/temp_dir.h"
#include "text/jis_kana_layout.h"

namespace hayate::journal {
namespace {

namespace fs = std::filesystem;
using test::execSql;
using test::sj;

constexpr std::int64_t kNow = 1796000000;  // 2026-11-30
constexpr int kCourse = 3;

// A kana cell as the matcher captures it: the bytes of the layout's keys.
CellEntry kanaCell(const std::string& kana, const std::string& wrong = {},
                   const std::string& expected = {}) {
    CellEntry c;
    c.character = kana;
    const KanaStrokes strokes = strokesForKana(kana);
    for (int i = 0; i < strokes.count; ++i)
        c.typed.push_back(static_cast<char>(strokes.keys[static_cast<std::size_t>(i)].byte));
    c.wrongKeys = wrong;
    c.expectedKeys = expected;
    c.msSincePrevious = 300;
    return c;
}

ExerciseEntry entry(InputMethod method, std::vector<CellEntry> cells) {
    ExerciseEntry e;
    e.startedAt = kNow;
    e.courseIndex = kCourse;
    e.romajiMode = true;
    e.inputMethod = method;
    e.cells = std::move(cells);
    e.characters = static_cast<int>(e.cells.size());
    return e;
}

// Presses and misses by key.
std::map<int, std::pair<int, int>> keyCounts(Journal& journal, std::optional<InputMethod> method,
                                             std::optional<int> course = std::nullopt) {
    Filter f;
    f.inputMethod = method;
    f.courseIndex = course;
    std::map<int, std::pair<int, int>> out;
    for (const KeyStat& k : journal.keyStats(f)) out[k.keyId] = {k.presses, k.misses};
    return out;
}

int idOfBase(char c) {
    for (const jis::Key& k : jis::keys())
        if (k.base == c && k.zone == jis::Zone::Main) return k.id;
    return -1;
}

class KanaJournalTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(journal.open(file.string()).ok()); }

    test::TempDir dir;
    fs::path file = dir / journalFileName("hayate");
    Journal journal;
};

TEST_F(KanaJournalTest, KanaPressesLandOnTheKeysOfTheKanaLayout) {
    struct Case {
        const char* kana;
        std::vector<int> keys;  // the physical keys pressed
    } cases[] = {
        {"た", {idOfBase('q')}},
        {"ち", {idOfBase('a')}},
        {"が", {idOfBase('t'), idOfBase('@')}},  // か + ゛
        {"ぱ", {idOfBase('f'), idOfBase('[')}},  // は + ゜
        {"ー", {idOfBase('\\')}},                // the ¥ key of the digit row
        {"ぁ", {idOfBase('3')}},                 // Shift + あ
        {"を", {idOfBase('0')}},                 // Shift + わ
        {"ろ", {jis::keyIdForByte('_')}},
    };
    ASSERT_EQ(jis::keyById(idOfBase('\\'))->row, 1);
    // One course per case, so that each case's keys stand alone.
    for (int course = 0; course < static_cast<int>(std::size(cases)); ++course) {
        ExerciseEntry e = entry(InputMethod::Kana, {kanaCell(sj(cases[course].kana))});
        e.courseIndex = course;
        ASSERT_TRUE(journal.record(e).ok());
        std::map<int, std::pair<int, int>> expected;
        for (int id : cases[course].keys) expected[id].first += 1;
        EXPECT_EQ(keyCounts(journal, InputMethod::Kana, course), expected) << cases[course].kana;
    }
    // A miss counts on the key that was due: ち typed where た was.
    ExerciseEntry missed = entry(InputMethod::Kana, {kanaCell(sj("た"), "\xC1", "\xC0")});
    missed.courseIndex = 9;
    ASSERT_TRUE(journal.record(missed).ok());
    EXPECT_EQ(keyCounts(journal, InputMethod::Kana, 9)[idOfBase('q')], std::make_pair(1, 1));
}

TEST_F(KanaJournalTest, StatisticsAndExercisesAreKeptApartByInputMethod) {
    // The same course, day and key: romaji "ta" (T, A) and kana ち (A).
    CellEntry romaji = kanaCell(sj("た"));
    romaji.typed = "ta";
    ASSERT_TRUE(journal.record(entry(InputMethod::Romaji, {romaji})).ok());
    ASSERT_TRUE(journal.record(entry(InputMethod::Kana, {kanaCell(sj("ち"))})).ok());
    ASSERT_TRUE(journal.record(entry(InputMethod::Kana, {kanaCell(sj("ち"))})).ok());
    const int a = idOfBase('a');
    struct Case {
        std::optional<InputMethod> method;
        int exercises;
        int aPresses;
        int seen;
    } cases[] = {
        {std::nullopt, 3, 3, 3},
        {InputMethod::Romaji, 1, 1, 1},
        {InputMethod::Kana, 2, 2, 2},
    };
    for (const Case& c : cases) {
        Filter f;
        f.inputMethod = c.method;
        EXPECT_EQ(journal.exerciseCount(f), c.exercises);
        const auto rows = journal.exercises(f);
        ASSERT_EQ(static_cast<int>(rows.size()), c.exercises);
        for (const ExerciseSummary& e : rows) {
            if (c.method) {
                EXPECT_EQ(e.inputMethod, *c.method);
            }
        }
        EXPECT_EQ(keyCounts(journal, c.method)[a].first, c.aPresses);
        int seen = 0;
        for (const CharStat& s : journal.charStats(f)) seen += s.seen;
        EXPECT_EQ(seen, c.seen);
    }
    EXPECT_NE(journal.csv({}).find(",kana\r\n"), std::string::npos);
}

TEST_F(KanaJournalTest, VersionThreeFileIsMigratedByTheKeysTyped) {
    CellEntry shi = kanaCell(sj("し"));
    shi.typed = "shi";
    shi.wrongKeys = "a";
    shi.expectedKeys = "s";
    ASSERT_TRUE(journal.record(entry(InputMethod::Romaji, {shi, shi})).ok());
    // Typed on the kana layout by a program that did not yet keep the method.
    ASSERT_TRUE(journal.record(entry(InputMethod::Kana, {kanaCell(sj("し"))})).ok());
    const auto romajiKeysBefore = keyCounts(journal, InputMethod::Romaji);
    const auto kanaKeysBefore = keyCounts(journal, InputMethod::Kana);
    journal.close();
    // The third version's shape: no input method anywhere, no kana records.
    execSql(file, R"sql(
ALTER TABLE exercise DROP COLUMN input_mode;
DROP TABLE kana_history;
CREATE TABLE c3(course INTEGER NOT NULL, day INTEGER NOT NULL, character BLOB NOT NULL,
  seen INTEGER NOT NULL, missed_cells INTEGER NOT NULL, misses INTEGER NOT NULL,
  total_ms INTEGER NOT NULL, PRIMARY KEY(course, day, character)) WITHOUT ROWID;
INSERT INTO c3 SELECT course, day, character, sum(seen), sum(missed_cells), sum(misses),
  sum(total_ms) FROM day_char GROUP BY course, day, character;
DROP TABLE day_char; ALTER TABLE c3 RENAME TO day_char;
CREATE TABLE k3(course INTEGER NOT NULL, day INTEGER NOT NULL, key_id INTEGER NOT NULL,
  presses INTEGER NOT NULL, misses INTEGER NOT NULL,
  PRIMARY KEY(course, day, key_id)) WITHOUT ROWID;
INSERT INTO k3 SELECT course, day, key_id, sum(presses), sum(misses) FROM day_key
  GROUP BY course, day, key_id;
DROP TABLE day_key; ALTER TABLE k3 RENAME TO day_key;
CREATE TABLE m3(course INTEGER NOT NULL, day INTEGER NOT NULL, key_id INTEGER NOT NULL,
  character BLOB NOT NULL, wrong_key INTEGER NOT NULL, count INTEGER NOT NULL,
  PRIMARY KEY(course, day, key_id, character, wrong_key)) WITHOUT ROWID;
INSERT INTO m3 SELECT course, day, key_id, character, wrong_key, sum(count) FROM day_miss
  GROUP BY course, day, key_id, character, wrong_key;
DROP TABLE day_miss; ALTER TABLE m3 RENAME TO day_miss;
PRAGMA user_version = 3;
)sql");
    ASSERT_TRUE(journal.open(file.string()).ok());
    Filter romaji;
    romaji.inputMethod = InputMethod::Romaji;
    Filter kana;
    kana.inputMethod = InputMethod::Kana;
    EXPECT_EQ(journal.exerciseCount(romaji), 1);
    EXPECT_EQ(journal.exerciseCount(kana), 1);
    EXPECT_EQ(keyCounts(journal, InputMethod::Romaji), romajiKeysBefore);
    EXPECT_EQ(keyCounts(journal, InputMethod::Kana), kanaKeysBefore);
    EXPECT_EQ(journal.kanaBest(kCourse), CourseBest{});
    // The migrated tables take new exercises of either method.
    ASSERT_TRUE(journal.record(entry(InputMethod::Kana, {kanaCell(sj("し"))})).ok());
    ASSERT_TRUE(journal.record(entry(InputMethod::Romaji, {shi})).ok());
    EXPECT_EQ(journal.exerciseCount(kana), 2);
    EXPECT_EQ(keyCounts(journal, InputMethod::Romaji)[idOfBase('s')].first, 3);
    EXPECT_EQ(keyCounts(journal, InputMethod::Kana)[idOfBase('d')].first, 2);  // し is D
}

TEST_F(KanaJournalTest, KanaBestsFollowTheRulesOfTheRecordFiles) {
    using Raise = KanaRecords::RaiseResult;
    JournalKanaRecords records([this] { return &journal; });
    struct Step {
        int setting;
        std::int32_t score;
        std::int32_t date;
        Raise result;
    } steps[] = {
        {0, 100, 20261201, Raise::Raised},
        {0, 100, 20261201, Raise::NotHigher},  // equal is no record
        {0, 90, 20261202, Raise::NotHigher},
        {0, 120, 20261201, Raise::Raised},  // the same day: that day's entry replaced
        {0, 130, 20261202, Raise::Raised},
        {1, 50, 20261202, Raise::Raised},
        {6, 500, 20261202, Raise::Failed},  // no such setting
    };
    for (const Step& s : steps)
        EXPECT_EQ(records.raiseBest(kCourse, s.setting, s.score, s.date), s.result) << s.score;
    CourseBest best = records.readBest(kCourse).value();
    EXPECT_EQ(best.score[0], 130);
    EXPECT_EQ(best.date[0], 20261202);
    EXPECT_EQ(best.score[1], 50);
    CourseHistory history = records.readHistory(kCourse).value();
    EXPECT_EQ(history.score[0][0], 130);
    EXPECT_EQ(history.score[0][1], 120);
    EXPECT_EQ(history.date[0][2], 0);
    EXPECT_EQ(records.readBest(kCourse + 1).value(), CourseBest{});

    // Sixteen better days: the latest fifteen stay, the best first.
    for (int day = 3; day <= 18; ++day)
        ASSERT_EQ(records.raiseBest(kCourse, 0, 130 + day, 20261200 + day), Raise::Raised);
    history = records.readHistory(kCourse).value();
    EXPECT_EQ(history.score[0][0], 148);
    EXPECT_EQ(history.score[0][14], 134);
    EXPECT_EQ(records.readBest(kCourse).value().date[0], 20261218);

    EXPECT_TRUE(records.clear(kCourse, 0));
    best = records.readBest(kCourse).value();
    EXPECT_EQ(best.score[0], 0);
    EXPECT_EQ(best.score[1], 50);
    EXPECT_EQ(records.readHistory(kCourse).value().score[0][0], 0);
    EXPECT_EQ(records.readHistory(kCourse).value().score[1][0], 50);
    EXPECT_TRUE(records.clear(kCourse, std::nullopt));
    EXPECT_EQ(records.readBest(kCourse).value(), CourseBest{});
    EXPECT_EQ(records.readHistory(kCourse).value(), CourseHistory{});
}

TEST_F(KanaJournalTest, NoJournalOrAnUnwritableOneStoresNoKanaBest) {
    using Raise = KanaRecords::RaiseResult;
    JournalKanaRecords none([] { return nullptr; });
    EXPECT_EQ(none.readBest(kCourse), std::nullopt);
    EXPECT_EQ(none.readHistory(kCourse), std::nullopt);
    EXPECT_EQ(none.raiseBest(kCourse, 0, 10, 20261201), Raise::Failed);
    EXPECT_FALSE(none.clear(kCourse, std::nullopt));

    JournalKanaRecords records([this] { return &journal; });
    ASSERT_EQ(records.raiseBest(kCourse, 0, 10, 20261201), Raise::Raised);
    journal.refuseWritesForTesting();
    EXPECT_EQ(records.raiseBest(kCourse, 0, 20, 20261202), Raise::Failed);
    EXPECT_FALSE(records.clear(kCourse, std::nullopt));
    EXPECT_EQ(records.readBest(kCourse).value().score[0], 10);
    EXPECT_EQ(records.readHistory(kCourse).value().date[0][1], 0);

    journal.close();
    EXPECT_EQ(records.readBest(kCourse), std::nullopt);
    EXPECT_EQ(records.raiseBest(kCourse, 0, 20, 20261202), Raise::Failed);
}

}  // namespace
}  // namespace hayate::journal
