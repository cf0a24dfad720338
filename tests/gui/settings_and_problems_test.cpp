// The save command and user problems in the course list, through the window.
#include <QAction>
#include <QComboBox>
#include <QRadioButton>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "form_fixture.h"
#include "problems/problem_file.h"
#include "support/sjis_test_support.h"

namespace hayate::gui::test {
namespace {

using SettingsAndProblems = FormTest;

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(SettingsAndProblems, SaveAsksWritesAndConfirms) {
    QTest::mouseClick(find<QRadioButton>("RG1_1"), Qt::LeftButton);
    QTest::mouseClick(find<QRadioButton>("RG3_1"), Qt::LeftButton);
    QAction* save = find<QAction>("Hozon");
    ASSERT_EQ(save->text(), QStringLiteral(u"保存(&H)"));

    QString asked;
    answerNextMessageBox(QMessageBox::No, &asked);
    save->trigger();
    EXPECT_EQ(asked, QStringLiteral(u"現在の制限時間等の設定を保存しますか"));
    EXPECT_FALSE(std::filesystem::exists(dir / "hayateuchi.INI"));

    QStringList seen;
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, &seen);
    save->trigger();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[1], QStringLiteral(
                           u"現在の設定を保存しました\n\n次回の起動時に今回の設定が反映されます"));
    ASSERT_TRUE(std::filesystem::exists(dir / "hayateuchi.INI"));
    const std::string ini = readFile(dir / "hayateuchi.INI");
    EXPECT_NE(ini.find(hayate::test::sj("制限時間") + "=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find(hayate::test::sj("入力カーソル色") + "=1"), std::string::npos);
    EXPECT_EQ(ini.find(hayate::test::sj("問題ファイル名")), std::string::npos);

    // The next start shows the saved choices.
    open();
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral(u"制限時間 60秒"));
    EXPECT_EQ(form->statusPanelText(4), QStringLiteral(u"入力カーソル 無色"));
    EXPECT_TRUE(find<QRadioButton>("RG1_1")->isChecked());
}

TEST_F(SettingsAndProblems, AUserProblemSetsItsCaseAndIsPractised) {
    form.reset();
    {
        ProblemFile problems(dir / "Kbdojo.USR");
        ASSERT_TRUE(problems.listProblems());
        StoredText text;
        text.rows[0] = hayate::test::sj("ａｂｃ");  // the editor stores full-width characters
        text.count = 3;
        ASSERT_NE(problems.storeProblem(1, text, hayate::test::sj("小文字の練習"), kKindLowerCase,
                                        kUnitAsWritten),
                  StoreResult::Failed);
    }
    open();
    auto* courses = find<QComboBox>("Comb1");
    EXPECT_EQ(courses->itemText(6), QStringLiteral(u"小文字の練習"));
    EXPECT_EQ(courses->itemText(5), QStringLiteral(u"ユーザー１"));
    courses->setFocus();
    courses->setCurrentIndex(5);
    key(Qt::Key_Down);
    EXPECT_EQ(form->state().courseIndex, 6);
    EXPECT_EQ(form->statusPanelText(3), QStringLiteral(u"英小文字"));
    EXPECT_TRUE(find<QRadioButton>("RG4_1")->isChecked());
    key(Qt::Key_F10);
    ASSERT_EQ(focused(), sg1());
    // "そのまま": the text repeats from the first cell.
    EXPECT_EQ(sg1()->cellText(1, 1), QStringLiteral(u"ａ"));
    EXPECT_EQ(sg1()->cellText(2, 1), QStringLiteral(u"ｂ"));
    EXPECT_EQ(sg1()->cellText(3, 1), QStringLiteral(u"ｃ"));
    type(QStringLiteral("abc"));
    EXPECT_EQ(text("LMoji"), QStringLiteral("    3"));
    EXPECT_EQ(text("LMiss"), QStringLiteral("    0"));
}

}  // namespace
}  // namespace hayate::gui::test
