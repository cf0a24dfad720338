#include "platform/safe_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace hayate {
namespace {

TEST(SafeFileTest, ReplacesAndCreates) {
    test::TempDir dir;
    const auto file = dir / "a.DAT";
    ASSERT_TRUE(replaceFileAtomically(file, std::string("one\0two", 7)));
    EXPECT_EQ(readWholeFile(file).value(), std::string("one\0two", 7));
    ASSERT_TRUE(replaceFileAtomically(file, "x"));
    EXPECT_EQ(readWholeFile(file).value(), "x");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.DAT.tmp~"));
    EXPECT_FALSE(readWholeFile(dir / "missing").has_value());
}

TEST(SafeFileTest, AnInterruptedWriteLeavesTheOldFile) {
    test::TempDir dir;
    const auto file = dir / "b.UPD";
    ASSERT_TRUE(replaceFileAtomically(file, "old content"));
    setFailBeforeRenameForTesting(true);
    EXPECT_FALSE(replaceFileAtomically(file, "new content"));
    setFailBeforeRenameForTesting(false);
    EXPECT_EQ(readWholeFile(file).value(), "old content");
    // The next successful write replaces the stale temporary file too.
    ASSERT_TRUE(replaceFileAtomically(file, "new content"));
    EXPECT_EQ(readWholeFile(file).value(), "new content");
}

TEST(SafeFileTest, AWriteThatCannotStartFailsCleanly) {
    test::TempDir dir;
    // A plain file where the folder should be: nothing can be created below it.
    ASSERT_TRUE(replaceFileAtomically(dir / "notafolder", "keep"));
    EXPECT_FALSE(replaceFileAtomically(dir / "notafolder" / "c.INI", "lost"));
    // A folder in the place of the file: the rename fails and the temporary file goes.
    std::filesystem::create_directory(dir / "taken");
    std::filesystem::create_directory(dir / "taken" / "inner");
    EXPECT_FALSE(replaceFileAtomically(dir / "taken", "lost"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken" / "inner"));
    EXPECT_FALSE(std::filesystem::exists(dir / "taken.tmp~"));
    EXPECT_EQ(readWholeFile(dir / "notafolder").value(), "keep");
}

namespace fs = std::filesystem;

fs::perms modeOf(const fs::path& p) { return fs::status(p).permissions() & fs::perms::mask; }

TEST(SafeFileTest, LinksAreFollowedAndPermissionsKept) {
    test::TempDir dir;
    fs::create_directory(dir / "real");
    ASSERT_TRUE(replaceFileAtomically(dir / "real" / "a.INI", "old"));
    fs::permissions(dir / "real" / "a.INI", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/a.INI", dir / "hop");   // relative, through a second link
    fs::create_symlink(dir / "hop", dir / "a.INI");  // absolute
    fs::create_symlink("real/new.INI", dir / "dangling");

    ASSERT_TRUE(replaceFileAtomically(dir / "a.INI", "new"));
    ASSERT_TRUE(replaceFileAtomically(dir / "dangling", "made"));
    EXPECT_TRUE(fs::is_symlink(dir / "a.INI"));
    EXPECT_TRUE(fs::is_symlink(dir / "hop"));
    EXPECT_EQ(readWholeFile(dir / "real" / "a.INI").value(), "new");
    EXPECT_EQ(modeOf(dir / "real" / "a.INI"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(readWholeFile(dir / "real" / "new.INI").value(), "made");

    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    EXPECT_FALSE(replaceFileAtomically(dir / "loop1", "x"));
}

TEST(SafeFileTest, LeftoversNeitherBlockNorStay) {
    test::TempDir dir;
    const fs::path file = dir / "c.DAT";
    // What a crash, or the fixed name earlier versions used, left behind.
    fs::create_directory(dir / "c.DAT.tmp~");
    ASSERT_TRUE(replaceFileAtomically(dir / "c.DAT.tmp~12-0-5", "stale"));
    ASSERT_TRUE(replaceFileAtomically(dir / "cc.DAT.tmp~1", "someone else's"));
    setFailBeforeRenameForTesting(true);
    EXPECT_FALSE(replaceFileAtomically(file, "interrupted"));
    setFailBeforeRenameForTesting(false);

    ASSERT_TRUE(replaceFileAtomically(file, "new"));
    EXPECT_EQ(readWholeFile(file).value(), "new");
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"c.DAT", "c.DAT.tmp~", "cc.DAT.tmp~1"}));
}

TEST(SafeFileTest, AWriteProtectedFolderIsWrittenInPlaceWhenTheFileAllowsIt) {
    test::TempDir dir;
    fs::create_directory(dir / "shared");
    const fs::path writable = dir / "shared" / "w.UPD";
    const fs::path locked = dir / "shared" / "r.UPD";
    ASSERT_TRUE(replaceFileAtomically(writable, "a much longer old content"));
    ASSERT_TRUE(replaceFileAtomically(locked, "old"));
    fs::permissions(locked, fs::perms::owner_read);
    fs::permissions(dir / "shared", fs::perms::owner_read | fs::perms::owner_exec);
    test::asUnprivilegedUser(dir.path(), [&] {
        EXPECT_TRUE(replaceFileAtomically(writable, "new"));
        EXPECT_EQ(readWholeFile(writable).value(), "new");
        EXPECT_FALSE(replaceFileAtomically(locked, "new"));
        EXPECT_EQ(readWholeFile(locked).value(), "old");
        EXPECT_FALSE(replaceFileAtomically(dir / "shared" / "absent", "new"));
    });
    fs::permissions(dir / "shared", fs::perms::owner_all);
}

}  // namespace
}  // namespace hayate
