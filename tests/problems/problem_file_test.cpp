#include "problems/problem_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/safe_file.h"
#include "support/sjis_test_support.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

std::string fullWidthDigits(int n) {
    const char* d[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string out;
    for (char c : std::to_string(n)) out += d[c - '0'];
    return out;
}

std::string defaultName(int slot) { return sj("ユーザー" + fullWidthDigits(slot + 1)); }

// A record with recognisable contents, built by hand in the file layout.
std::string handMadeRecord(std::int32_t count, std::int32_t kind, std::int32_t unit,
                           const std::string& name, const std::string& row1) {
    std::string r(kProblemRecordBytes, '\x5A');  // junk in the unused bytes
    auto put = [&](std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            r[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    };
    put(0, count);
    put(4, kind);
    put(8, unit);
    r[12] = static_cast<char>(name.size());
    r.replace(13, name.size(), name);
    r[43] = static_cast<char>(row1.size());
    r.replace(44, row1.size(), row1);
    for (int row = 2; row <= 50; ++row) r[43 + 81 * (row - 1)] = 0;
    return r;
}

class ProblemFileTest : public ::testing::Test {
  protected:
    std::string bytes() { return readWholeFile(file).value_or("<missing>"); }
    std::string record(const std::string& all, int k) {
        return all.substr(k * kProblemRecordBytes, kProblemRecordBytes);
    }

    test::TempDir dir;
    std::filesystem::path file = dir / "Kbdojo.USR";
    ProblemFile problems{file};
};

TEST_F(ProblemFileTest, RecordLayout) {
    ProblemRecord rec;
    rec.head = {sj("名前"), 0x01020304, 3, 2};
    rec.rows[0] = sj("あいう");
    rec.rows[49] = sj("ん");
    const std::string b = encodeProblemRecord(rec);
    ASSERT_EQ(b.size(), 4093u);
    EXPECT_EQ(hex(b.substr(0, 12)), "04 03 02 01 03 00 00 00 02 00 00 00");
    EXPECT_EQ(b[12], 4);
    EXPECT_EQ(b.substr(13, 4), sj("名前"));
    EXPECT_EQ(b.substr(17, 26), std::string(26, '\0'));
    EXPECT_EQ(b[43], 6);
    EXPECT_EQ(b.substr(44, 6), sj("あいう"));
    EXPECT_EQ(b[43 + 81 * 49], 2);
    EXPECT_EQ(b.substr(44 + 81 * 49, 2), sj("ん"));

    const ProblemRecord back = decodeProblemRecord(b);
    EXPECT_EQ(back.head.name, rec.head.name);
    EXPECT_EQ(back.head.count, 0x01020304);
    EXPECT_EQ(back.rows, rec.rows);
}

TEST_F(ProblemFileTest, OverlongLengthBytesAreClampedToTheField) {
    std::string b = handMadeRecord(-5, 1, 9, std::string(30, 'N'), std::string(80, 'R'));
    b[12] = static_cast<char>(0xFF);
    b[43] = static_cast<char>(200);
    b[43 + 81 * 49] = static_cast<char>(81);
    const ProblemRecord rec = decodeProblemRecord(b);
    EXPECT_EQ(rec.head.name, std::string(30, 'N'));  // not the count byte of row 1 after it
    EXPECT_EQ(rec.rows[0], std::string(80, 'R'));
    EXPECT_EQ(rec.rows[49].size(), 80u);  // ends exactly at the record's end
    EXPECT_EQ(rec.head.count, -5);
    EXPECT_EQ(rec.head.unit, 9);
    // A short buffer reads as zeros rather than past its end.
    EXPECT_EQ(decodeProblemRecord(b.substr(0, 20)).head.name,
              std::string(7, 'N') + std::string(23, '\0'));
}

TEST_F(ProblemFileTest, FirstStartCreatesTenDefaultRecords) {
    ASSERT_TRUE(problems.listProblems());
    const std::string all = bytes();
    ASSERT_EQ(all.size(), 40930u);
    for (int k = 0; k < 10; ++k) {
        const ProblemRecord rec = decodeProblemRecord(record(all, k));
        EXPECT_EQ(rec.head.name, defaultName(k)) << k;
        EXPECT_EQ(rec.head.count, 0);
        EXPECT_EQ(rec.head.kind, 0);
        EXPECT_EQ(rec.head.unit, 0);
        for (const std::string& row : rec.rows) EXPECT_TRUE(row.empty());
        EXPECT_EQ(problems.table()[k].name, defaultName(k));
    }
    EXPECT_EQ(problems.table()[9].name, sj("ユーザー１０"));
}

TEST_F(ProblemFileTest, AShortFileIsCompletedKeepingItsRecords) {
    std::string four;
    for (int k = 0; k < 4; ++k)
        four += handMadeRecord(10 + k, k, 2, sj("問") + char('a' + k), sj("あ"));
    ASSERT_TRUE(replaceFileAtomically(file, four + "partial"));
    ASSERT_TRUE(problems.listProblems());
    const std::string all = bytes();
    ASSERT_EQ(all.size(), 40930u);
    EXPECT_EQ(all.substr(0, four.size()), four);  // junk bytes included
    for (int k = 4; k < 10; ++k) EXPECT_EQ(problems.table()[k].name, defaultName(k)) << k;
    EXPECT_EQ(problems.table()[4].name, sj("ユーザー５"));
    EXPECT_EQ(problems.table()[2].count, 12);
    EXPECT_EQ(problems.table()[3].kind, 3);
    EXPECT_EQ(problems.table()[1].name, sj("問") + "b");
}

TEST_F(ProblemFileTest, ExtraRecordsAreNeitherUsedNorCutButTheSwitchRejectsThem) {
    std::string twelve;
    for (int k = 0; k < 12; ++k) twelve += handMadeRecord(k, 0, 0, "P" + std::to_string(k), "");
    ASSERT_TRUE(replaceFileAtomically(file, twelve));
    ASSERT_TRUE(problems.listProblems());
    EXPECT_EQ(bytes(), twelve);
    EXPECT_EQ(problems.table()[9].name, "P9");

    ProblemFile other{dir / "other.USR"};
    EXPECT_EQ(other.readProblemFile(file), ProblemFileCheck::Rejected);
    EXPECT_EQ(other.table()[0].name, "");
}

TEST_F(ProblemFileTest, TheSwitchChecksCountAndKindsOnly) {
    std::string ten;
    for (int k = 0; k < 10; ++k)
        ten += handMadeRecord(k, k == 7 ? 4 : 1, 5, "Q" + std::to_string(k), "");
    ASSERT_TRUE(replaceFileAtomically(file, ten));
    ASSERT_TRUE(writeNewProblemFile(dir / "mine.USR"));
    ProblemFile current{dir / "mine.USR"};
    ASSERT_TRUE(current.listProblems());
    const auto before = current.table();

    EXPECT_EQ(current.readProblemFile(file), ProblemFileCheck::Rejected);  // record 7 has kind 4
    EXPECT_EQ(current.table()[7].name, before[7].name);
    EXPECT_EQ(current.table()[0].kind, 0);

    ten.replace(7 * kProblemRecordBytes + 4, 4, std::string("\x03\0\0\0", 4));
    ASSERT_TRUE(replaceFileAtomically(file, ten + "x"));  // one byte over still counts as ten
    EXPECT_EQ(current.readProblemFile(file), ProblemFileCheck::Accepted);
    EXPECT_EQ(current.table()[7].kind, 3);
    EXPECT_EQ(current.table()[0].unit, 5);  // units are not checked
    EXPECT_EQ(current.table()[4].name, "Q4");
    EXPECT_EQ(current.path(), dir / "mine.USR");

    ten.replace(2 * kProblemRecordBytes + 4, 4, std::string("\xff\xff\xff\xff", 4));  // kind -1
    ASSERT_TRUE(replaceFileAtomically(file, ten));
    EXPECT_EQ(current.readProblemFile(file), ProblemFileCheck::Rejected);
    ASSERT_TRUE(replaceFileAtomically(file, ten.substr(0, 40929)));
    EXPECT_EQ(current.readProblemFile(file), ProblemFileCheck::Rejected);
    EXPECT_EQ(current.readProblemFile(dir / "none.USR"), ProblemFileCheck::Unreadable);
    EXPECT_EQ(current.readProblemFile(dir.path()), ProblemFileCheck::Unreadable);
}

// The start-up completes a problem file cut short, never some other file
// named as one: it is refused with every byte kept.
TEST_F(ProblemFileTest, TheStartupListRefusesWhatIsNoProblemFile) {
    const std::string good = handMadeRecord(3, 1, 0, "R", sj("あいう"));
    std::string badKind = good;
    badKind.replace(4, 4, std::string("\x07\0\0\0", 4));
    std::string tenWithBadKind;
    for (int k = 0; k < 10; ++k) tenWithBadKind += k == 6 ? badKind : good;
    struct Case {
        const char* name;
        std::string content;
        ProblemListResult::Outcome outcome;
    };
    const Case cases[] = {
        {"a 39-byte note", "Remember: buy milk and practise typing.",
         ProblemListResult::NotProblemFile},
        {"a longer text", std::string(5000, 'a'), ProblemListResult::NotProblemFile},
        {"a short file with a foreign record", good + badKind, ProblemListResult::NotProblemFile},
        // Nothing to complete: taken as it is, as before.
        {"ten records, one of a foreign kind", tenWithBadKind, ProblemListResult::Listed},
        {"an empty file", "", ProblemListResult::Listed},
        {"two records and a partial one", good + good + "xyz", ProblemListResult::Listed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(replaceFileAtomically(file, c.content));
        EXPECT_EQ(problems.listProblems().outcome, c.outcome);
        if (c.outcome == ProblemListResult::Listed)
            EXPECT_EQ(bytes().size(), 40930u);
        else
            EXPECT_EQ(bytes(), c.content);
    }
}

TEST_F(ProblemFileTest, StoreTakesRowsUpToTheFirstEmptyCell) {
    std::string grid[51][41];
    for (int c = 1; c <= 10; ++c) grid[3][c] = sj("あ");
    for (int c = 12; c <= 16; ++c) grid[3][c] = sj("い");
    for (int c = 1; c <= 40; ++c) grid[5][c] = sj("Ａ");
    grid[7][1] = sj("ん");
    const StoredText text = storedTextFromCells([&](int c, int r) { return grid[r][c]; });
    EXPECT_EQ(text.count, 10 + 40 + 1);
    EXPECT_EQ(text.rows[2], sj("ああああああああああ"));
    EXPECT_EQ(text.rows[4].size(), 80u);
    EXPECT_TRUE(text.rows[5].empty());
    EXPECT_EQ(text.rows[6], sj("ん"));

    const StoredText empty = storedTextFromCells([](int, int) { return std::string(); });
    EXPECT_EQ(empty.count, 0);
}

TEST_F(ProblemFileTest, StoreWritesOneSlotAndKeepsTheOthersByteForByte) {
    std::string ten;
    for (int k = 0; k < 10; ++k)
        ten += handMadeRecord(k + 1, 1, 1, "R" + std::to_string(k), sj("か"));
    ASSERT_TRUE(replaceFileAtomically(file, ten));
    ASSERT_TRUE(problems.listProblems());

    StoredText text;
    text.rows[0] = sj("てすと");
    text.count = 3;
    EXPECT_EQ(problems.storeProblem(4, text, sj("新しい問題"), 2, 1), StoreResult::Stored);
    const std::string all = bytes();
    ASSERT_EQ(all.size(), 40930u);
    for (int k = 0; k < 10; ++k) {
        if (k == 4) continue;
        EXPECT_EQ(record(all, k), record(ten, k)) << k;
    }
    const ProblemRecord rec = decodeProblemRecord(record(all, 4));
    EXPECT_EQ(rec.head.name, sj("新しい問題"));
    EXPECT_EQ(rec.head.count, 3);
    EXPECT_EQ(rec.head.kind, 2);
    EXPECT_EQ(rec.head.unit, 1);
    EXPECT_EQ(rec.rows[0], sj("てすと"));
    EXPECT_EQ(problems.table()[4].name, sj("新しい問題"));
    EXPECT_EQ(problems.table()[4].count, 3);
}

TEST_F(ProblemFileTest, NamesAreCutToThirtyBytesOnACharacterBoundary) {
    ASSERT_TRUE(problems.listProblems());
    const std::string twenty = sj("あいうえおかきくけこさしすせそたちつてと");
    ASSERT_EQ(problems.storeProblem(0, StoredText{}, twenty, 0, 0), StoreResult::Stored);
    EXPECT_EQ(problems.table()[0].name, twenty.substr(0, 30));
    ASSERT_EQ(problems.storeProblem(1, StoredText{}, "A" + twenty, 0, 0), StoreResult::Stored);
    EXPECT_EQ(problems.table()[1].name,
              "A" + twenty.substr(0, 28));  // no half character at the end
    ASSERT_TRUE(problems.listProblems());
    EXPECT_EQ(problems.table()[0].name.size(), 30u);
    EXPECT_EQ(problems.table()[1].name.size(), 29u);
}

TEST_F(ProblemFileTest, StoreAfterTheFileWasDeletedRecreatesIt) {
    ASSERT_TRUE(problems.listProblems());
    StoredText kept;
    kept.rows[0] = sj("まえ");
    kept.count = 2;
    ASSERT_EQ(problems.storeProblem(2, kept, "before", 0, 0), StoreResult::Stored);
    std::filesystem::remove(file);

    StoredText text;
    text.rows[1] = sj("うしろ");
    text.count = 3;
    EXPECT_EQ(problems.storeProblem(6, text, "after", 1, 2), StoreResult::StoredInNewFile);
    const std::string all = bytes();
    ASSERT_EQ(all.size(), 40930u);
    const ProblemRecord rec = decodeProblemRecord(record(all, 6));
    EXPECT_EQ(rec.head.count, 3);
    EXPECT_EQ(rec.rows[1], sj("うしろ"));
    EXPECT_EQ(decodeProblemRecord(record(all, 2)).head.name, defaultName(2));
    EXPECT_EQ(problems.table()[2].name, defaultName(2));  // refilled from the new file
    EXPECT_EQ(problems.table()[2].count, 0);
    EXPECT_EQ(problems.table()[6].name, "after");
}

TEST_F(ProblemFileTest, ClearKeepsNameKindAndUnit) {
    ASSERT_TRUE(problems.listProblems());
    StoredText text;
    text.rows[0] = sj("かきく");
    text.rows[10] = sj("け");
    text.count = 4;
    ASSERT_EQ(problems.storeProblem(3, text, sj("名"), 3, 2), StoreResult::Stored);
    const std::string before = bytes();

    EXPECT_EQ(problems.clearProblem(3, sj("名"), 3, 2), StoreResult::Stored);
    const std::string all = bytes();
    const ProblemRecord rec = decodeProblemRecord(record(all, 3));
    EXPECT_EQ(rec.head.name, sj("名"));
    EXPECT_EQ(rec.head.count, 0);
    EXPECT_EQ(rec.head.kind, 3);
    EXPECT_EQ(rec.head.unit, 2);
    for (const std::string& row : rec.rows) EXPECT_TRUE(row.empty());
    EXPECT_EQ(all.substr(0, 3 * kProblemRecordBytes), before.substr(0, 3 * kProblemRecordBytes));
    EXPECT_EQ(all.substr(4 * kProblemRecordBytes), before.substr(4 * kProblemRecordBytes));

    // The table keeps the name it shows even when another name is written.
    ASSERT_EQ(problems.clearProblem(3, "other", 1, 0), StoreResult::Stored);
    EXPECT_EQ(problems.table()[3].name, sj("名"));
    EXPECT_EQ(problems.table()[3].kind, 1);
    EXPECT_EQ(decodeProblemRecord(record(bytes(), 3)).head.name, "other");
}

TEST_F(ProblemFileTest, FailedWritesChangeNeitherFileNorTable) {
    ASSERT_TRUE(problems.listProblems());
    const std::string before = bytes();
    StoredText text;
    text.rows[0] = sj("あ");
    text.count = 1;

    setFailBeforeRenameForTesting(true);
    EXPECT_EQ(problems.storeProblem(0, text, "x", 0, 0), StoreResult::Failed);
    EXPECT_EQ(problems.clearProblem(1, "y", 0, 0), StoreResult::Failed);
    EXPECT_FALSE(writeNewProblemFile(dir / "new.USR"));
    setFailBeforeRenameForTesting(false);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(problems.table()[0].name, defaultName(0));
    EXPECT_EQ(problems.table()[0].count, 0);

    EXPECT_EQ(problems.storeProblem(10, text, "x", 0, 0), StoreResult::Failed);
    EXPECT_EQ(problems.storeProblem(-1, text, "x", 0, 0), StoreResult::Failed);

    // A file that cannot be opened for writing: a folder in its place here.
    ProblemFile blocked{dir / "blocked.USR"};
    std::filesystem::create_directory(dir / "blocked.USR");
    EXPECT_EQ(blocked.storeProblem(0, text, "x", 0, 0), StoreResult::Failed);
    EXPECT_FALSE(blocked.listProblems());
    EXPECT_FALSE(writeNewProblemFile(dir / "blocked.USR"));
}

TEST_F(ProblemFileTest, AReadOnlyFileIsReadButNotWritten) {
    ASSERT_TRUE(problems.listProblems());
    const std::string before = bytes();
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    test::asUnprivilegedUser(dir.path(), [&] {
        EXPECT_EQ(problems.storeProblem(0, StoredText{}, "x", 0, 0), StoreResult::Failed);
        EXPECT_EQ(problems.clearProblem(0, "x", 0, 0), StoreResult::Failed);
        EXPECT_FALSE(writeNewProblemFile(file));
        EXPECT_TRUE(problems.listProblems());
        EXPECT_TRUE(problems.loadSlot(3));
    });
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    EXPECT_EQ(bytes(), before);
}

TEST_F(ProblemFileTest, StoreIntoAFileCutShortSinceTheStart) {
    ASSERT_TRUE(problems.listProblems());
    ASSERT_TRUE(replaceFileAtomically(file, bytes().substr(0, 2 * kProblemRecordBytes + 100)));
    StoredText text;
    text.count = 1;
    text.rows[0] = sj("ね");
    ASSERT_EQ(problems.storeProblem(5, text, "five", 0, 0), StoreResult::Stored);
    const std::string all = bytes();
    ASSERT_EQ(all.size(), 6 * kProblemRecordBytes);
    EXPECT_EQ(decodeProblemRecord(record(all, 3)).head.name, defaultName(3));
    EXPECT_EQ(decodeProblemRecord(record(all, 5)).rows[0], sj("ね"));
}

TEST_F(ProblemFileTest, LoadSlotFillsTheEntryAndTheTextOrKeepsThem) {
    ASSERT_TRUE(problems.listProblems());
    StoredText text;
    text.rows[0] = sj("さしす");
    text.count = 3;
    ASSERT_EQ(problems.storeProblem(8, text, "eight", 1, 2), StoreResult::Stored);
    EXPECT_EQ(problems.loadedSlot(), -1);
    ASSERT_TRUE(problems.loadSlot(8));
    EXPECT_EQ(problems.loadedSlot(), 8);
    EXPECT_EQ(problems.loadedText()[0], sj("さしす"));
    EXPECT_EQ(problems.table()[8].kind, 1);

    // Changed on disk behind the program's back, then removed: the load fails
    // and keeps what it had.
    std::string all = bytes();
    all.replace(8 * kProblemRecordBytes + 4, 4, std::string("\x02\0\0\0", 4));
    ASSERT_TRUE(replaceFileAtomically(file, all));
    ASSERT_TRUE(problems.loadSlot(8));
    EXPECT_EQ(problems.table()[8].kind, 2);
    std::filesystem::remove(file);
    EXPECT_FALSE(problems.loadSlot(8));
    EXPECT_EQ(problems.table()[8].kind, 2);
    EXPECT_EQ(problems.loadedText()[0], sj("さしす"));
    EXPECT_FALSE(problems.loadSlot(10));
}

TEST_F(ProblemFileTest, WriteNewFileLeavesTheTableAlone) {
    ASSERT_TRUE(problems.listProblems());
    ASSERT_EQ(problems.storeProblem(0, StoredText{}, "kept", 0, 0), StoreResult::Stored);
    ASSERT_TRUE(replaceFileAtomically(dir / "b.USR", "old content"));
    ASSERT_TRUE(writeNewProblemFile(dir / "b.USR"));
    const std::string created = readWholeFile(dir / "b.USR").value();
    ASSERT_EQ(created.size(), 40930u);
    EXPECT_EQ(decodeProblemRecord(record(created, 0)).head.name, defaultName(0));
    EXPECT_EQ(problems.table()[0].name, "kept");
}

}  // namespace
}  // namespace hayate
