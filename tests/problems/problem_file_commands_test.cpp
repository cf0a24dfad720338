#include "problems/problem_file_commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "support/sjis_test_support.h"
#include "support/temp_dir.h"
#include "text/user_texts.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

TEST(NewProblemFileTest, NamesWithoutADotGetTheProblemExtension) {
    EXPECT_EQ(newProblemFileName("abc"), "abc.USR");
    EXPECT_EQ(newProblemFileName("abc.txt"), "abc.txt");
    EXPECT_EQ(newProblemFileName("dir.d/abc"), "dir.d/abc");  // a "." anywhere counts
    EXPECT_EQ(newProblemFileName("abc."), "abc.");
    EXPECT_EQ(newProblemFileName(sj("問題")), sj("問題") + ".USR");
    EXPECT_EQ(newProblemFileName(""), std::nullopt);
}

TEST(NewProblemFileTest, AnExistingFileIsNeverWrittenOver) {
    std::set<std::string> existing{"abc.USR", "old.txt"};
    std::vector<std::string> asked;
    auto exists = [&](const std::string& path) {
        asked.push_back(path);
        return existing.count(path) > 0;
    };

    NewFileDecision d = decideNewProblemFile("abc", exists);
    EXPECT_EQ(d.step, NewFileStep::AlreadyExists);
    EXPECT_EQ(d.path, "abc.USR");
    d = decideNewProblemFile("old.txt", exists);
    EXPECT_EQ(d.step, NewFileStep::AlreadyExists);
    d = decideNewProblemFile("new", exists);
    EXPECT_EQ(d.step, NewFileStep::Write);
    EXPECT_EQ(d.path, "new.USR");
    EXPECT_EQ(asked, (std::vector<std::string>{"abc.USR", "old.txt", "new.USR"}));

    // Cancelled or empty: nothing is even looked at.
    EXPECT_EQ(decideNewProblemFile(std::nullopt, exists).step, NewFileStep::Stop);
    EXPECT_EQ(decideNewProblemFile("", exists).step, NewFileStep::Stop);
    EXPECT_EQ(asked.size(), 3u);
}

TEST(NewProblemFileTest, ExistenceOnDisk) {
    test::TempDir dir;
    const std::string file = (dir / "a.USR").string();
    EXPECT_FALSE(somethingExistsAt(file));
    std::ofstream(file) << "x";
    EXPECT_TRUE(somethingExistsAt(file));
    EXPECT_TRUE(somethingExistsAt(dir.path().string()));
    const std::string link = (dir / "dangling.USR").string();
    std::filesystem::create_symlink(dir / "nowhere", link);
    EXPECT_TRUE(somethingExistsAt(link));
}

class ProblemFileStateTest : public ::testing::Test {
  protected:
    struct NullView : EditorGridView {
        void redrawCell(int, int) override {}
        void redrawAll() override {}
        void setCurrentCell(int, int) override {}
        void scrollToTop() override {}
    };
    CharTables tables = buildCharTables();
    NullView view;
    ProblemEditor editor{tables, view};
    SharedState state;
};

TEST_F(ProblemFileStateTest, SwitchingFilesLeavesNoUserProblemCurrent) {
    ProblemEditor::SlotContent content;
    content.name = "mine";
    editor.chooseSlot(6, content);
    state.courseIndex = 8;
    // An open editor keeps the slot it shows: F10 stores there, not into slot 0.
    EXPECT_TRUE(applyProblemFileSwitch(state, editor, "/data/other.USR", true));
    EXPECT_EQ(state.problemFileName, "/data/other.USR");
    EXPECT_EQ(state.courseIndex, 0);
    EXPECT_EQ(editor.slot(), 6);
    EXPECT_EQ(editor.confirmedName(), "mine");
    // Closed, the next entry starts again at slot 0.
    EXPECT_FALSE(applyProblemFileSwitch(state, editor, "/data/third.USR", false));
    EXPECT_EQ(editor.slot(), 0);

    for (int builtIn = 0; builtIn < 5; ++builtIn) {
        state.courseIndex = builtIn;
        EXPECT_FALSE(applyProblemFileSwitch(state, editor, "x.USR", false));
        EXPECT_EQ(state.courseIndex, builtIn);
    }
}

TEST_F(ProblemFileStateTest, DeletingTheCurrentCoursesProblem) {
    state.courseIndex = 7;
    EXPECT_FALSE(applyProblemDeleted(state, 1));
    EXPECT_EQ(state.courseIndex, 7);
    EXPECT_TRUE(applyProblemDeleted(state, 2));
    EXPECT_EQ(state.courseIndex, 0);
    EXPECT_FALSE(applyProblemDeleted(state, 2));
    state.courseIndex = 3;
    for (int slot = 0; slot < 10; ++slot) EXPECT_FALSE(applyProblemDeleted(state, slot));
}

}  // namespace
}  // namespace hayate
