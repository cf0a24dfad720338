#include "platform/safe_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

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

}  // namespace
}  // namespace hayate
