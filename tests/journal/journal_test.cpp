#include "journal/journal.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "journal/jis_keys.h"
#include "journal/journal_text.h"
#include "platform/safe_file.h"
#include "support/journal_damage.h"
#include "support/sjis_test_support.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace hayate::journal {
namespace {

namespace fs = std::filesystem;
using test::execSql;
using test::sj;

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kNow = 1796000000;  // 2026-11-30

CellEntry cell(const std::string& ch, const std::string& typed, const std::string& wrong = {},
               const std::string& expected = {}, int ms = 300) {
    CellEntry c;
    c.character = ch;
    c.typed = typed;
    c.wrongKeys = wrong;
    c.expectedKeys = expected;
    c.msSincePrevious = ms;
    return c;
}

ExerciseEntry exercise(int course, std::int64_t at, ExerciseEnd end = ExerciseEnd::TimeLimit) {
    ExerciseEntry e;
    e.startedAt = at;
    e.courseIndex = course;
    e.end = end;
    e.romajiMode = course == 3;
    e.cells = {cell(sj("し"), "shi", "x", "s", 400), cell(sj("し"), "si", {}, {}, 200),
               cell(sj("あ"), "a", "qw", "aa", 900)};
    e.characters = 3;
    e.misses = 3;
    e.keystrokes = 6;
    e.elapsedMs = 1500;
    return e;
}

int userVersion(const fs::path& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &s, nullptr);
    const int v = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
    sqlite3_finalize(s);
    sqlite3_close(db);
    return v;
}

class JournalTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    fs::path file = dir / journalFileName("hayate");
    Journal journal;

    void openFresh() { ASSERT_TRUE(journal.open(file.string()).ok()); }
};

TEST_F(JournalTest, WrittenExerciseReadsBackWithItsCellsAndStatistics) {
    openFresh();
    ExerciseEntry e = exercise(3, kNow);
    e.problemName = sj("ﾅﾏｴ,\"なまえ\"");
    e.cells.push_back(cell(sj("か"), "k", "j", "a", 0));
    e.cells.back().completed = false;
    ASSERT_TRUE(journal.record(e).ok());

    const auto all = journal.exercises({});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].startedAt, kNow);
    EXPECT_EQ(all[0].problemName, e.problemName);
    EXPECT_DOUBLE_EQ(all[0].charactersPerMinute(), 120.0);
    EXPECT_DOUBLE_EQ(all[0].accuracy(), 6.0 / 9.0);

    const auto cells = journal.cells(all[0].id);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[2].wrongKeys, "qw");
    EXPECT_EQ(cells[2].expectedKeys, "aa");
    EXPECT_FALSE(cells[3].completed);

    // Unfinished cells count their keys and misses, but are not "seen".
    const auto chars = journal.charStats({});
    ASSERT_EQ(chars.size(), 2u);  // あ and し; か was never completed
    const CharStat& shi = chars[0].character == sj("し") ? chars[0] : chars[1];
    EXPECT_EQ(shi.seen, 2);
    EXPECT_EQ(shi.missedCells, 1);
    EXPECT_DOUBLE_EQ(shi.meanMs, 300.0);
    EXPECT_EQ(journal.weakestCharacters({}, 1).at(0).character, sj("あ"));

    const int keyA = jis::keyIdForByte('a'), keyS = jis::keyIdForByte('s');
    int aPresses = -1, aMisses = -1, sMisses = -1;
    for (const KeyStat& k : journal.keyStats({})) {
        if (k.keyId == keyA) {
            aPresses = k.presses;
            aMisses = k.misses;
            ASSERT_EQ(k.details.size(), 3u);  // あ by q, あ by w, か by j
        }
        if (k.keyId == keyS) sMisses = k.misses;
    }
    EXPECT_EQ(aPresses, 1);
    EXPECT_EQ(aMisses, 3);
    EXPECT_EQ(sMisses, 1);

    const std::string csv = journal.csv({});
    EXPECT_EQ(csv.substr(0, 3), "id,");
    EXPECT_NE(csv.find(",\"ﾅﾏｴ,\"\"なまえ\"\"\",30,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",time_limit,normal,3,3,6,1500,0,0,120.0,"), std::string::npos) << csv;
    const fs::path out = dir / "out.csv";
    ASSERT_TRUE(journal.exportCsv(out.string(), {}).ok());
    EXPECT_EQ(readWholeFile(out).value(), csv);
}

TEST_F(JournalTest, FiltersSelectByCourseSettingPeriodEndAndKind) {
    openFresh();
    ExerciseEntry weak = exercise(0, kNow);
    weak.kind = PracticeKind::WeakSpot;
    ExerciseEntry sixty = exercise(0, kNow - kDay);
    sixty.timeLimitIndex = 1;
    for (const ExerciseEntry& e :
         {exercise(0, kNow), exercise(0, kNow - 40 * kDay), exercise(0, kNow, ExerciseEnd::Stopped),
          exercise(3, kNow), weak, sixty})
        ASSERT_TRUE(journal.record(e).ok());

    struct Case {
        Filter filter;
        int expected;
        int counted;  // exercises behind the statistics, which heed course and period only
    } cases[] = {
        // course, setting, since, stopped too, weak-spot too
        {{{}, {}, 0, true, true}, 6, 6},
        {{0, {}, 0, true, true}, 5, 5},
        {{0, 2, 0, true, true}, 1, 5},
        {{0, {}, periodStart(Period::Days30, kNow), true, true}, 4, 4},
        {{0, {}, 0, false, true}, 4, 5},
        {{0, {}, 0, true, false}, 4, 5},
        {{4, {}, 0, true, true}, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(journal.exerciseCount(c.filter), c.expected);
        EXPECT_EQ(static_cast<int>(journal.exercises(c.filter).size()), c.expected);
        // Two し per exercise, and one miss on the S key each.
        int shi = 0;
        for (const CharStat& s : journal.charStats(c.filter))
            shi += s.character == sj("し") ? s.seen : 0;
        EXPECT_EQ(shi, 2 * c.counted);
        int sMisses = 0;
        for (const KeyStat& k : journal.keyStats(c.filter))
            sMisses += k.keyId == jis::keyIdForByte('s') ? k.misses : 0;
        EXPECT_EQ(sMisses, c.counted);
    }
}

TEST(JournalPeriod, StartsAtLocalMidnightSoThatTodayCounts) {
    EXPECT_EQ(periodStart(Period::All, kNow), 0);
    for (auto [period, days] : {std::pair{Period::Days7, 7}, std::pair{Period::Days30, 30}}) {
        const std::int64_t start = periodStart(period, kNow);
        EXPECT_LE(kNow - start, days * kDay + 3600);  // a summer-time shift at most
        EXPECT_GT(kNow - start, (days - 1) * kDay - 3600);
        EXPECT_EQ(periodStart(period, start), periodStart(period, kNow) - (days - 1) * kDay)
            << "midnight is a fixed point, one period back";
    }
}

TEST(JournalCsv, ProblemNamesKeepEveryCharacterOfCodePage932) {
    struct Case {
        std::string sjis;
        std::string utf8;
    } const cases[] = {
        {"\x8A\xBF\x8E\x9A\x83\x65\x83\x58\x83\x67", "漢字テスト"},
        {"\x87\x40\x87\x8A\x81\xE0", "①㈱≒"},  // the vendor row
        {"\xB1\xB2 AZ\\~", "ｱｲ AZ\\~"},
        // A broken byte costs that byte, not the name.
        {std::string("\x8A\xBF\xFF\x8E\x9A", 5), "漢\uFFFD字"},
        {std::string("\x8E\x9A\x81", 3), "字\uFFFD"},
    };
    for (const Case& c : cases) EXPECT_EQ(journal::shiftJisToUtf8(c.sjis), c.utf8) << c.utf8;
}

TEST_F(JournalTest, VersionOneFileIsMigratedWithItsTotals) {
    execSql(file, R"sql(
CREATE TABLE exercise(id INTEGER PRIMARY KEY, started_at INTEGER NOT NULL, course INTEGER NOT NULL,
  problem_slot INTEGER NOT NULL, problem_name BLOB NOT NULL, time_limit INTEGER NOT NULL,
  spacing INTEGER NOT NULL, letter_case INTEGER NOT NULL, romaji INTEGER NOT NULL,
  end_reason INTEGER NOT NULL, characters INTEGER NOT NULL, misses INTEGER NOT NULL,
  keystrokes INTEGER NOT NULL, elapsed_ms INTEGER NOT NULL, score INTEGER NOT NULL,
  new_best INTEGER NOT NULL);
CREATE INDEX exercise_course_time ON exercise(course, started_at);
CREATE TABLE cell(exercise_id INTEGER NOT NULL REFERENCES exercise(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL, cell_index INTEGER NOT NULL, character BLOB NOT NULL, typed BLOB NOT NULL,
  wrong_keys BLOB NOT NULL, ms INTEGER NOT NULL, PRIMARY KEY(exercise_id, seq)) WITHOUT ROWID;
INSERT INTO exercise VALUES(7, 1796000000, 0, -1, x'', 0, 0, 0, 0, 1, 2, 1, 0, 900, 133, 1);
INSERT INTO cell VALUES(7, 0, 0, x'8260', 'A', 'S', 500);
INSERT INTO cell VALUES(7, 1, 1, x'8260', 'A', '', 100);
PRAGMA user_version = 1;
)sql");
    const Journal::Result r = journal.open(file.string());
    ASSERT_TRUE(r.ok()) << test::utf8(r.message);
    EXPECT_EQ(userVersion(file), Journal::kSchemaVersion);

    const auto all = journal.exercises({});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].kind, PracticeKind::Normal);
    EXPECT_FALSE(all[0].extendedRomaji);
    EXPECT_TRUE(all[0].newBest);
    const auto chars = journal.charStats({});
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].seen, 2);
    EXPECT_EQ(chars[0].missedCells, 1);
    // The first version kept no expected key: the cell's character names it.
    const auto keys = journal.keyStats({});
    ASSERT_EQ(keys.size(), 1u);  // A pressed twice and missed once; S was never expected
    EXPECT_EQ(keys[0].keyId, jis::keyIdForByte('a'));
    EXPECT_EQ(keys[0].misses, 1);
    ASSERT_EQ(keys[0].details.size(), 1u);
    EXPECT_EQ(keys[0].details[0].wrongKey, 'S');

    ASSERT_TRUE(journal.record(exercise(0, kNow)).ok());  // and it takes new exercises
    EXPECT_EQ(journal.exerciseCount({}), 2);
}

TEST_F(JournalTest, VersionTwoFileIsMigratedAndKnowsExtendedRomajiFromThen) {
    openFresh();
    ASSERT_TRUE(journal.record(exercise(3, kNow)).ok());
    journal.close();
    execSql(file,
            "ALTER TABLE exercise DROP COLUMN input_mode; DROP TABLE kana_history;"
            " ALTER TABLE exercise DROP COLUMN extended_romaji; PRAGMA user_version = 2;");
    ASSERT_TRUE(journal.open(file.string()).ok());
    EXPECT_EQ(userVersion(file), Journal::kSchemaVersion);
    ExerciseEntry extended = exercise(3, kNow + 60);
    extended.extendedRomaji = true;
    ASSERT_TRUE(journal.record(extended).ok());
    const auto all = journal.exercises({});
    ASSERT_EQ(all.size(), 2u);
    EXPECT_FALSE(all[0].extendedRomaji) << "older exercises ran with the standard spellings";
    EXPECT_TRUE(all[1].extendedRomaji);
    const std::string csv = journal.csv({});
    EXPECT_NE(csv.find(",extended_romaji,input_mode\r\n"), std::string::npos);
    EXPECT_NE(csv.find(",0,romaji\r\n"), std::string::npos);
    EXPECT_EQ(csv.substr(csv.size() - 11), ",1,romaji\r\n");
}

TEST_F(JournalTest, CorruptFileIsMovedAsideAndANewJournalStarted) {
    const std::string garbage(8192, 'Z');
    ASSERT_TRUE(replaceFileAtomically(file, garbage));
    const Journal::Result r = journal.open(file.string());
    ASSERT_EQ(r.status, Journal::Status::Corrupt);
    EXPECT_FALSE(r.message.empty());
    ASSERT_TRUE(journal.isOpen());
    EXPECT_EQ(readWholeFile(r.movedAsideTo).value(), garbage);
    EXPECT_NE(r.movedAsideTo.find(".corrupt-20"), std::string::npos);
    EXPECT_TRUE(journal.record(exercise(0, kNow)).ok());
    EXPECT_EQ(journal.exerciseCount({}), 1);
}

TEST_F(JournalTest, ForeignDatabaseAndNewerVersionAreLeftAlone) {
    // A SQLite file of someone else's is not ours to migrate into; it is set
    // aside whole. One with no tables at all is an empty journal.
    const struct {
        const char* sql;
        Journal::Status status;
    } files[] = {
        {"CREATE TABLE notes(x); INSERT INTO notes VALUES(42); PRAGMA user_version = 2;",
         Journal::Status::Corrupt},
        {"CREATE TABLE notes(x); INSERT INTO notes VALUES(42);", Journal::Status::Corrupt},
        {"CREATE VIEW answer AS SELECT 42;", Journal::Status::Corrupt},
        {"PRAGMA user_version = 0;", Journal::Status::Ok},
    };
    for (const auto& f : files) {
        const fs::path foreign = dir / "foreign.sqlite3";
        execSql(foreign, f.sql);
        const std::string before = readWholeFile(foreign).value_or("");
        const Journal::Result r = journal.open(foreign.string());
        EXPECT_EQ(r.status, f.status) << f.sql;
        EXPECT_TRUE(journal.record(exercise(0, kNow)).ok()) << f.sql;
        journal.close();
        if (f.status == Journal::Status::Corrupt) {
            EXPECT_TRUE(readWholeFile(r.movedAsideTo).value_or("") == before) << f.sql;
        }
        fs::remove(foreign);
    }

    const fs::path newer = dir / "newer.sqlite3";
    execSql(newer, "CREATE TABLE future(x); PRAGMA user_version = 99;");
    const std::string before = readWholeFile(newer).value();
    const Journal::Result r = journal.open(newer.string());
    EXPECT_EQ(r.status, Journal::Status::Failed);
    EXPECT_FALSE(journal.isOpen());
    EXPECT_EQ(journal.record(exercise(0, kNow)).status, Journal::Status::NotOpen);
    EXPECT_TRUE(readWholeFile(newer).value() == before) << "a newer file was changed";
}

TEST_F(JournalTest, ReadOnlyPlacesGiveAStatusNotACrash) {
    // Nothing can be created in /proc, not even by root.
    const Journal::Result r = journal.open("/proc/hayate-journal.sqlite3");
    EXPECT_EQ(r.status, Journal::Status::ReadOnly);
    EXPECT_FALSE(r.message.empty());
    EXPECT_FALSE(journal.isOpen());
    EXPECT_EQ(journal.record(exercise(0, kNow)).status, Journal::Status::NotOpen);
    EXPECT_TRUE(journal.exercises({}).empty());
}

TEST_F(JournalTest, ReadOnlyFileIsNotWritten) {
    openFresh();
    ASSERT_TRUE(journal.record(exercise(0, kNow)).ok());
    journal.close();
    const std::string before = readWholeFile(file).value();
    fs::permissions(file, fs::perms::owner_read);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    test::asUnprivilegedUser(dir.path(), [&] {
        Journal locked;
        EXPECT_NE(locked.open(file.string()).status, Journal::Status::Ok);
        EXPECT_NE(locked.record(exercise(0, kNow)).status, Journal::Status::Ok);
    });
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_TRUE(readWholeFile(file).value() == before) << "a read-only journal was changed";
}

TEST_F(JournalTest, FullDiskLeavesNoPartOfTheExercise) {
    openFresh();
    ASSERT_TRUE(journal.record(exercise(0, kNow)).ok());
    ExerciseEntry big = exercise(0, kNow);
    big.cells.assign(2000, cell(sj("Ａ"), "A", "B", "A"));
    for (int i = 0; i < 2000; ++i) big.cells[static_cast<std::size_t>(i)].cellIndex = i;
    journal.setMaxPagesForTesting(2);
    const Journal::Result r = journal.record(big);
    EXPECT_EQ(r.status, Journal::Status::Full);
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(journal.exerciseCount({}), 1);
    EXPECT_EQ(journal.cells(2).size(), 0u);
}

}  // namespace
}  // namespace hayate::journal
