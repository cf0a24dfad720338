#include "records/record_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/safe_file.h"
#include "record_fakes.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace hayate {
namespace {

namespace fs = std::filesystem;

constexpr int kToday = 20261208;

std::string bytesOf(const fs::path& path) { return readWholeFile(path).value(); }

void writeBytes(const fs::path& path, const std::string& bytes) {
    ASSERT_TRUE(replaceFileAtomically(path, bytes));
}

// `count` best records whose values tell course and setting apart.
std::string bestRecords(int count) {
    std::string bytes;
    for (int c = 0; c < count; ++c) {
        CourseBest r;
        for (std::size_t s = 0; s < kSettingCount; ++s) {
            r.score[s] = c * 100 + static_cast<int>(s) + 1;
            r.date[s] = 20260100 + c;
        }
        bytes += encode(r);
    }
    return bytes;
}

class RecordStoreTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    fs::path best = dir / "hayate.DAT";
    fs::path history = dir / "hayate.UPD";
    test::RefusingFileAccess files;
    RecordStore store{best, history, kToday, files};
};

TEST(RecordFileNamesTest, ReplaceTheExecutablesExtensionInTheDataFolder) {
    const auto names = recordFileNames("/data", "/opt/bin/hayate.exe");
    EXPECT_EQ(names.best, fs::path("/data/hayate.DAT"));
    EXPECT_EQ(names.history, fs::path("/data/hayate.UPD"));
    EXPECT_EQ(recordFileNames("/d", "/opt/hayate").best, fs::path("/d/hayate.DAT"));
    EXPECT_EQ(recordFileNames("/d", "my.trainer.exe").history, fs::path("/d/my.trainer.UPD"));
}

TEST_F(RecordStoreTest, FirstRunCreatesBothFilesEmpty) {
    ASSERT_TRUE(store.loadAtStartup());
    EXPECT_EQ(bytesOf(best), std::string(720, '\0'));
    EXPECT_EQ(bytesOf(history), std::string(10800, '\0'));
    EXPECT_EQ(store.bestScore(0, 0), 0);
    EXPECT_EQ(store.bestScore(14, 5), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST_F(RecordStoreTest, ShortBestFilesAreExtendedKeepingWholeRecords) {
    // 240 bytes: five records, kept and loaded.
    writeBytes(best, bestRecords(5));
    ASSERT_TRUE(store.loadAtStartup());
    EXPECT_EQ(bytesOf(best), bestRecords(5) + std::string(480, '\0'));
    EXPECT_EQ(store.bestScore(4, 5), 406);
    EXPECT_EQ(store.bestDate(4, 5), 20260104);
    EXPECT_EQ(store.bestScore(5, 0), 0);

    // 250 bytes: the ten stray bytes after the fifth record are overwritten.
    writeBytes(best, bestRecords(5) + std::string(10, '\x7F'));
    ASSERT_TRUE(store.loadAtStartup());
    EXPECT_EQ(bytesOf(best), bestRecords(5) + std::string(480, '\0'));
}

TEST_F(RecordStoreTest, LongFilesAreReadButNeverWrittenAtStartup) {
    // 1000 bytes: twenty records and 40 bytes, neither extended nor cut.
    const std::string longBest = bestRecords(20) + std::string(40, '\x55');
    const std::string longHistory = std::string(16 * 720, '\x01') + "tail";
    writeBytes(best, longBest);
    writeBytes(history, longHistory);
    ASSERT_TRUE(store.loadAtStartup());
    EXPECT_EQ(files.replacements, 0);
    EXPECT_EQ(bytesOf(best), longBest);
    EXPECT_EQ(bytesOf(history), longHistory);
    EXPECT_EQ(store.bestScore(14, 0), 1401);
}

TEST_F(RecordStoreTest, ShortHistoryIsExtendedAndItsPartialTailOverwritten) {
    writeBytes(history, std::string(720 * 3, '\x02') + "partial");
    ASSERT_TRUE(store.loadAtStartup());
    EXPECT_EQ(bytesOf(history), std::string(720 * 3, '\x02') + std::string(720 * 12, '\0'));
}

TEST_F(RecordStoreTest, StartupFailsOnFilesThatCannotBeWritten) {
    // Read-only or locked: a long enough file is still opened for writing.
    writeBytes(best, bestRecords(15));
    files.refused.insert(best);
    EXPECT_FALSE(store.loadAtStartup());
    EXPECT_FALSE(fs::exists(history));
    files.refused = {history};
    writeBytes(history, std::string(10800, '\0'));
    EXPECT_FALSE(store.loadAtStartup());
    // A short read-only file is not extended through a rename either.
    files.refused = {best};
    writeBytes(best, bestRecords(2));
    EXPECT_FALSE(store.loadAtStartup());
    EXPECT_EQ(bytesOf(best), bestRecords(2));

    // A folder in the place of a file, and a folder that does not exist.
    files.refused.clear();
    fs::remove(best);
    fs::create_directory(best);
    EXPECT_FALSE(store.loadAtStartup());
    RecordStore nowhere(dir / "missing" / "a.DAT", dir / "missing" / "a.UPD", kToday);
    EXPECT_FALSE(nowhere.loadAtStartup());
}

TEST_F(RecordStoreTest, ARealReadOnlyFileIsRefused) {
    writeBytes(best, bestRecords(15));
    fs::permissions(best, fs::perms::owner_read);
    test::asUnprivilegedUser(dir.path(), [&] {
        RecordStore real(best, history, kToday);
        EXPECT_FALSE(real.loadAtStartup());
        EXPECT_EQ(bytesOf(best), bestRecords(15));
    });
}

TEST_F(RecordStoreTest, RecordWritesKeepEveryOtherByte) {
    const std::string longBest = bestRecords(20) + std::string(40, '\x55');
    writeBytes(best, longBest);
    ASSERT_TRUE(store.loadAtStartup());

    CourseBest changed = store.readBest(7).value();
    EXPECT_EQ(changed.score[2], 703);
    changed.score[2] = -1;
    ASSERT_TRUE(store.writeBest(7, changed));
    std::string expected = longBest;
    expected.replace(7 * 48, 48, encode(changed));
    EXPECT_EQ(bytesOf(best), expected);
    EXPECT_EQ(store.readBest(7).value(), changed);

    CourseHistory h;
    h.addBest(4, 321, kToday);
    ASSERT_TRUE(store.writeHistory(14, h));
    ASSERT_TRUE(store.modifyHistory(3, [](CourseHistory& r) { r.addBest(0, 9, 20260101); }));
    EXPECT_EQ(store.readHistory(14).value(), h);
    EXPECT_EQ(store.readHistory(3).value().score[0][0], 9);
    const std::string historyBytes = bytesOf(history);
    EXPECT_EQ(historyBytes.size(), 10800u);
    EXPECT_EQ(historyBytes.substr(0, 3 * 720), std::string(3 * 720, '\0'));
    EXPECT_EQ(historyBytes.substr(4 * 720, 10 * 720), std::string(10 * 720, '\0'));

    // Links and permissions survive the replacement of the file behind them.
    fs::permissions(history, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(best, dir / "link.DAT");
    RecordStore linked(dir / "link.DAT", history, kToday);
    ASSERT_TRUE(linked.writeBest(0, changed));
    ASSERT_TRUE(linked.modifyHistory(0, [](CourseHistory& r) { r.addBest(1, 2, 3); }));
    EXPECT_TRUE(fs::is_symlink(dir / "link.DAT"));
    EXPECT_EQ(store.readBest(0).value(), changed);
    EXPECT_EQ(fs::status(history).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_FALSE(store.readBest(15).has_value());
    EXPECT_FALSE(store.writeBest(-1, changed));
}

TEST_F(RecordStoreTest, AFailedWriteLeavesTheFileAsItWas) {
    writeBytes(best, bestRecords(15));
    ASSERT_TRUE(store.loadAtStartup());
    CourseBest zero;

    setFailBeforeRenameForTesting(true);
    const bool interrupted = store.writeBest(3, zero);
    setFailBeforeRenameForTesting(false);
    EXPECT_FALSE(interrupted);
    EXPECT_EQ(bytesOf(best), bestRecords(15));

    files.refused.insert(best);
    EXPECT_FALSE(store.writeBest(3, zero));
    EXPECT_FALSE(store.modifyBest(3, [](CourseBest& r) { r.score[0] = 1; }));
    EXPECT_FALSE(store.readBest(3).has_value());
    EXPECT_EQ(bytesOf(best), bestRecords(15));

    // A file cut short behind the program's back: no record is made up.
    files.refused.clear();
    writeBytes(best, bestRecords(2));
    EXPECT_FALSE(store.readBest(2).has_value());
    EXPECT_FALSE(store.writeBest(3, zero));
    EXPECT_EQ(bytesOf(best), bestRecords(2));
}

TEST_F(RecordStoreTest, LabelsShowOnlyPositiveScores) {
    test::EventLog log;
    test::FakeDisplay display(log);
    store.setBest(2, 3, 1234, 20261208);
    store.refreshBestLabels(display, 2, 3);
    EXPECT_EQ(display.texts[Label::BestScore], "1234");
    EXPECT_EQ(display.texts[Label::BestDate], "2026/12/08");

    store.setBest(2, 3, 5, -42);  // a garbage date still shows
    store.refreshBestLabels(display, 2, 3);
    EXPECT_EQ(display.texts[Label::BestDate], "-42//");

    for (int score : {0, -5}) {
        store.setBest(2, 3, score, 20261208);
        store.refreshBestLabels(display, 2, 3);
        EXPECT_EQ(display.texts[Label::BestScore], "");
        EXPECT_EQ(display.texts[Label::BestDate], "");
    }
    store.refreshBestLabels(display, 15, 6);
    EXPECT_EQ(display.texts[Label::BestScore], "");
}

}  // namespace
}  // namespace hayate
