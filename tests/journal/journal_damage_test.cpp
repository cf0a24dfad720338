// A journal damaged on disk, and the things in its place that keep it from
// opening: damage is found on opening and by any read, the file is set
// aside once, and every other cause is named for what it is.
#include "support/journal_damage.h"

#include <gtest/gtest.h>

#include <functional>

#include "journal/journal.h"
#include "platform/safe_file.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"
#include "text/user_texts.h"

namespace hayate::journal {
namespace {

namespace fs = std::filesystem;

ExerciseEntry exercise(int course) {
    ExerciseEntry e;
    e.startedAt = 1796000000;
    e.courseIndex = course;
    e.cells = {{0, "\x82\xB5", "shi", "x", "s", 400, true},
               {1, "\x82\xA0", "a", {}, {}, 200, true}};
    e.characters = 2;
    e.misses = 1;
    e.elapsedMs = 600;
    return e;
}

class JournalDamage : public ::testing::Test {
  protected:
    test::TempDir dir;
    fs::path file = dir / "hayate.sqlite3";
    Journal journal;

    // A journal of three exercises, closed and opened again as at a start.
    void threeExercises() {
        ASSERT_TRUE(journal.open(file.string()).ok());
        for (int course : {0, 0, 3}) ASSERT_TRUE(journal.record(exercise(course)).ok());
        journal.close();
        ASSERT_TRUE(journal.open(file.string()).ok());
    }
    // A new journal stands where the damaged one was.
    void expectNewJournal(const std::string& what) {
        EXPECT_EQ(journal.exerciseCount({}), 0) << what;
        EXPECT_TRUE(journal.record(exercise(0)).ok()) << what;
        EXPECT_EQ(journal.exercises({}).size(), 1u) << what;
    }
    void clear() {
        journal.close();
        for (const auto& entry : fs::directory_iterator(dir.path())) fs::remove_all(entry.path());
    }
};

TEST_F(JournalDamage, DamageIsFoundOnOpeningAndByEveryRead) {
    const struct {
        const char* btree;
        std::function<void(Journal&)> read;
    } cases[] = {
        {"exercise", [](Journal& j) { j.exercises({}); }},
        {"exercise_course_time",
         [](Journal& j) {
             j.exerciseCount(Filter{0, {}, 0, true, true});
         }},
        {"cell", [](Journal& j) { j.cells(1); }},
        {"day_char", [](Journal& j) { j.weakestCharacters({}); }},
        {"day_key", [](Journal& j) { j.keyStats({}); }},
        {"day_miss", [](Journal& j) { j.keyStats({}); }},
    };
    for (const auto& c : cases) {
        // Damaged while the program was not running: opening finds it.
        threeExercises();
        journal.close();
        test::damageJournalPage(file, c.btree);
        const std::string damaged = readWholeFile(file).value();
        const Journal::Result opened = journal.open(file.string());
        EXPECT_EQ(opened.status, Journal::Status::Corrupt) << c.btree;
        EXPECT_TRUE(readWholeFile(opened.movedAsideTo) == damaged) << c.btree;
        expectNewJournal(c.btree);
        clear();

        // Damaged while open: the read that meets it sets the file aside.
        threeExercises();
        test::damageJournalPage(file, c.btree);
        c.read(journal);
        const Journal::Result read = journal.takeReadResult();
        EXPECT_EQ(read.message, sjisText(UserText::JournalCorrupt)) << c.btree;
        EXPECT_TRUE(fs::exists(read.movedAsideTo)) << c.btree;
        expectNewJournal(c.btree);
        EXPECT_TRUE(journal.takeReadResult().ok()) << "told once: " << c.btree;
        clear();
    }
}

// The kana-input records live only in the journal: a journal set aside for
// damage elsewhere hands them on whole, and damage to them hands on none.
TEST_F(JournalDamage, KanaRecordsOutliveDamageElsewhere) {
    const struct {
        const char* btree;
        bool whileOpen;
        std::int32_t best;  // of the new journal; 0 when none was handed on
    } cases[] = {
        {"day_char", false, 120},
        {"cell", false, 120},
        {"cell", true, 120},
        {"kana_history", false, 0},
    };
    for (const auto& c : cases) {
        threeExercises();
        ASSERT_EQ(journal.raiseKanaBest(3, 1, 90, 20261130), KanaRecords::RaiseResult::Raised);
        ASSERT_EQ(journal.raiseKanaBest(3, 1, 120, 20261201), KanaRecords::RaiseResult::Raised);
        if (!c.whileOpen) journal.close();
        test::damageJournalPage(file, c.btree);
        std::string damaged;
        if (c.whileOpen) {
            journal.cells(1);
            ASSERT_FALSE(journal.takeReadResult().ok()) << c.btree;
        } else {
            damaged = readWholeFile(file).value();
            const Journal::Result opened = journal.open(file.string());
            ASSERT_EQ(opened.status, Journal::Status::Corrupt) << c.btree;
            EXPECT_TRUE(readWholeFile(opened.movedAsideTo) == damaged) << "only read: " << c.btree;
        }
        EXPECT_EQ(journal.exerciseCount({}), 0) << c.btree;
        const std::optional<CourseHistory> history = journal.kanaHistory(3);
        ASSERT_TRUE(history) << c.btree;
        EXPECT_EQ(history->score[1][0], c.best) << c.btree;
        EXPECT_EQ(history->score[1][1], c.best ? 90 : 0) << c.btree;
        clear();
    }
}

TEST_F(JournalDamage, ExportNeverSaysDoneWhenItReadNothing) {
    const fs::path out = dir / "out.csv";
    const struct {
        bool exercises;
        bool emptyPage;  // the rows hidden without a read error
        Journal::Status status;
    } cases[] = {
        {true, false, Journal::Status::Corrupt},
        {true, true, Journal::Status::Corrupt},
        {false, false, Journal::Status::Empty},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(replaceFileAtomically(out, "kept"));
        if (c.exercises) {
            threeExercises();
            test::damageJournalPage(file, "exercise", c.emptyPage);
        } else {
            ASSERT_TRUE(journal.open(file.string()).ok());
        }
        const Journal::Result r = journal.exportCsv(out.string(), {});
        EXPECT_EQ(r.status, c.status) << c.emptyPage;
        EXPECT_EQ(readWholeFile(out).value_or(""), "kept") << c.emptyPage;
        clear();
    }
}

TEST_F(JournalDamage, EachCauseThatKeepsItFromOpeningIsNamed) {
    const struct {
        std::function<void()> arrange;
        std::string_view message;
    } cases[] = {
        {[&] { fs::create_directory(file); }, sjisText(UserText::JournalFolderInTheWay)},
        {[&] { fs::create_symlink(dir / "gone" / "x", file); },
         sjisText(UserText::JournalLinkGoesNowhere)},
        {[&] { fs::create_directory(file.string() + "-wal"); },
         sjisText(UserText::JournalCompanionFolderInTheWay)},
        {[&] { fs::create_directory(file.string() + "-shm"); },
         sjisText(UserText::JournalCompanionFolderInTheWay)},
        {[&] {  // beside a journal, which SQLite would open and not write
             threeExercises();
             journal.close();
             fs::create_directory(file.string() + "-shm");
         },
         sjisText(UserText::JournalCompanionFolderInTheWay)},
    };
    for (const auto& c : cases) {
        c.arrange();
        const Journal::Result r = journal.open(file.string());
        EXPECT_EQ(r.message, c.message);
        EXPECT_TRUE(r.movedAsideTo.empty()) << "nothing is damaged";
        clear();
    }
}

TEST(JournalFullDisk, AFewKilobytesFreeAreToldAsAFullDisk) {
    for (const bool existing : {false, true}) {
        for (std::size_t free = 4; free <= 24; free += 4) {
            test::SmallDisk disk(96);
            HAYATE_NEED_SMALL_DISK(disk);
            const fs::path file = disk / "hayate.sqlite3";
            Journal journal;
            if (existing) {
                ASSERT_TRUE(journal.open(file.string()).ok());
                ASSERT_TRUE(journal.record(exercise(0)).ok());
                journal.close();
            }
            disk.fill(free);
            Journal::Result r = journal.open(file.string());
            if (r.ok()) r = journal.record(exercise(0));
            EXPECT_EQ(r.message, sjisText(UserText::JournalFull))
                << free << " KB free, existing " << existing;
        }
    }
}

}  // namespace
}  // namespace hayate::journal
