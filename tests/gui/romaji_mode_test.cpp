// The romaji input mode through the window: the settings key picks it, the
// menu shows and changes it, and a romaji problem typed the input-method way
// finishes only in the extended mode.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "form_fixture.h"
#include "gui/ok_dialog.h"
#include "platform/safe_file.h"
#include "problems/problem_file.h"
#include "support/sjis_test_support.h"

namespace hayate::gui::test {
namespace {

using hayate::test::sj;

class RomajiMode : public FormTest {
  protected:
    // Problem slot 1 holds ちゃふぁっんしぇ as written; no time limit, no spaces,
    // so 250 rounds fill the grid exactly.
    void openWith(int extended) {
        form.reset();
        ASSERT_TRUE(replaceFileAtomically(
            dir / "hayateuchi.INI",
            sj("[Init]\r\n制限時間=2\r\n空白有無=1\r\nローマ字拡張=") + std::to_string(extended) +
                "\r\n"));
        ProblemFile problems(dir / "Kbdojo.USR");
        ASSERT_TRUE(problems.listProblems());
        StoredText text;
        text.rows[0] = sj("ちゃふぁっんしぇ");
        text.count = 8;
        ASSERT_NE(problems.storeProblem(0, text, sj("拡張"), kKindRomaji, kUnitAsWritten),
                  StoreResult::Failed);
        open();
        auto* courses = find<QComboBox>("Comb1");
        courses->setFocus();
        courses->setCurrentIndex(4);
        key(Qt::Key_Down);
        ASSERT_EQ(form->state().courseIndex, 5);
        find("BStart")->setFocus();
        key(Qt::Key_F10);
        ASSERT_EQ(focused(), sg1());
    }
    // Clicks はい when the result dialog waits.
    void answerResult() {
        auto* timer = new QTimer(form.get());
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [this, timer] {
            TOKDlg* dlg = form->okDialog();
            if (!dlg->waiting() || !dlg->isVisible()) return;
            timer->deleteLater();
            QTest::mouseClick(dlg->yesButton(), Qt::LeftButton);
        });
        timer->start();
    }
    void typeRounds() {
        for (int round = 0; round < 250 && sg1()->isEnabled(); ++round)
            QTest::keyClicks(sg1(), QStringLiteral("chafaxtsun'she"));
    }
    std::int32_t storedScore() {  // course 5, no limit without spaces: setting 5
        return readInt(dir / "hayateuchi.DAT", 5 * 48 + 5 * 4);
    }
};

TEST_F(RomajiMode, ExtendedModeFinishesTheProblemAndStoresItsRecord) {
    openWith(1);
    EXPECT_TRUE(find<QAction>("RomaKakucho")->isChecked());
    EXPECT_TRUE(find<QLabel>("SBar1Roma")->isVisible());
    answerResult();
    typeRounds();
    EXPECT_FALSE(sg1()->isEnabled());
    EXPECT_EQ(text("LMoji"), QStringLiteral(" 2000"));
    EXPECT_EQ(text("LMiss"), QStringLiteral("    0"));
    EXPECT_GT(storedScore(), 0);
}

TEST_F(RomajiMode, StandardModeDoesNotFinishWithTheSameKeys) {
    openWith(0);
    EXPECT_TRUE(find<QAction>("RomaHyojun")->isChecked());
    EXPECT_FALSE(find<QLabel>("SBar1Roma")->isVisible());
    typeRounds();
    EXPECT_TRUE(sg1()->isEnabled());
    EXPECT_NE(text("LMiss"), QStringLiteral("    0"));
    EXPECT_EQ(storedScore(), 0);

    // The menu switches the mode for the next start and the save command keeps it.
    key(Qt::Key_Escape);
    find<QAction>("RomaKakucho")->trigger();
    EXPECT_EQ(form->state().romajiExtended, 1);
    EXPECT_TRUE(find<QLabel>("SBar1Roma")->isVisible());
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Ok}, nullptr);
    find<QAction>("Hozon")->trigger();
    std::ifstream in(dir / "hayateuchi.INI", std::ios::binary);
    const std::string ini((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(ini.find(sj("ローマ字拡張=1")), std::string::npos);
}

}  // namespace
}  // namespace hayate::gui::test
