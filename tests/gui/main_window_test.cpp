#include <QComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <filesystem>
#include <fstream>

#include "app/settings.h"
#include "form_fixture.h"
#include "gui/cell_font.h"
#include "gui/faces.h"

namespace hayate::gui::test {
namespace {

using MainWindow = FormTest;

TEST_F(MainWindow, LaidOutOnceForTheScreen) {
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    // Frame included, as the window takes the screen's width.
    EXPECT_EQ(form->frameGeometry().size(), QSize(1024, 750));
    EXPECT_EQ(find("Panel1")->height(), 142);
    EXPECT_EQ(find("Panel3")->height(), 83);
    EXPECT_EQ(find("SBar1")->height(), 20);
    GridWidget* grid = sg1();
    EXPECT_EQ(grid->columnWidth(0), 2);
    EXPECT_EQ(grid->columnWidth(1), 25);
    EXPECT_EQ(grid->columnWidth(40), 26);
    EXPECT_EQ(grid->rowHeight(5), grid->height() / 13);
    // All forty columns are in sight, none clipped.
    EXPECT_FALSE(grid->cellRect(40, 1).isEmpty());
    EXPECT_LE(grid->cellRect(40, 1).right(), grid->viewport()->width());
    // Nothing else is laid out again when the window is shown again.
    form->hide();
    form->show();
    EXPECT_EQ(form->frameGeometry().height(), 750);
}

TEST_F(MainWindow, FirstShowTexts) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral(u"ハヤテウチ"));
    EXPECT_EQ(find<QPushButton>("BStart")->text(), QStringLiteral(u"F10開始"));
    EXPECT_EQ(find<QPushButton>("BStop")->text(), QStringLiteral(u"ESC 中止"));
    EXPECT_EQ(find<QPushButton>("BEnd")->text(), QStringLiteral(u"F1終了"));
    EXPECT_TRUE(find("BStart")->isVisible());
    EXPECT_FALSE(find("BStop")->isVisible());
    EXPECT_FALSE(sg1()->isEnabled());
    EXPECT_EQ(form->statusPanelText(0), QStringLiteral("  1 :  1 "));
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral(u"制限時間 30秒"));
    EXPECT_EQ(form->statusPanelText(2), QStringLiteral(u"空白有り"));
    EXPECT_EQ(form->statusPanelText(3), QStringLiteral(u"英大文字"));
    EXPECT_EQ(form->statusPanelText(4), QStringLiteral(u"入力カーソル 黄色"));
    EXPECT_TRUE(form->statusPanelText(5).startsWith(QStringLiteral(u"今日の日付 20")));
    EXPECT_TRUE(form->statusPanelText(5).endsWith(' '));
    EXPECT_EQ(form->statusPanelText(6), QStringLiteral("Ver." HAYATE_PROJECT_VERSION "  "));
    EXPECT_EQ(text("LEtime"), QStringLiteral("   30"));
    EXPECT_EQ(text("LMsg"), QString());
    auto* courses = find<QComboBox>("Comb1");
    ASSERT_EQ(courses->count(), 15);
    EXPECT_EQ(courses->itemText(1), QStringLiteral(u"数字（テンキー不可）"));
    EXPECT_EQ(courses->itemText(4), QStringLiteral(u"キータッチ２０００"));
    EXPECT_EQ(courses->currentIndex(), 0);
    EXPECT_FALSE(find("L5")->isVisible());
    EXPECT_FALSE(find("L6")->isVisible());
    EXPECT_EQ(sg1()->cellText(0, 0), QStringLiteral("No"));
    EXPECT_EQ(sg1()->cellText(7, 0), QStringLiteral(" 7"));
    EXPECT_EQ(sg1()->cellText(0, 12), QStringLiteral("12"));
    QStringList menus;
    for (QAction* a : form->menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral(u"環境(&K)"), QStringLiteral(u"成績(&S)"),
                                  QStringLiteral(u"問題(&M)"), QStringLiteral(u"ヘルプ(&H)")}));
    // The editor's controls are made only when the editor first opens.
    for (const char* hidden : {"SG2", "SG3", "Comb2", "EMname", "RG6", "RG7", "BMonDel", "BFinp"}) {
        const QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(hidden));
        EXPECT_TRUE(w ? !w->isVisible() : std::string(hidden) != "SG2") << hidden;
    }
}

TEST_F(MainWindow, SettingsChoicesChangeTheStatusBarAndReturnTheFocus) {
    QTest::mouseClick(find<QRadioButton>("RG1_2"), Qt::LeftButton);
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral(u"制限時間 なし"));
    EXPECT_EQ(text("LEtime"), QStringLiteral(u"なし"));
    EXPECT_EQ(focused(), find("BStart"));
    QTest::mouseClick(find<QRadioButton>("RG1_1"), Qt::LeftButton);
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral(u"制限時間 60秒"));
    EXPECT_EQ(text("LEtime"), QStringLiteral("   60"));
    QTest::mouseClick(find<QRadioButton>("RG2_1"), Qt::LeftButton);
    EXPECT_EQ(form->statusPanelText(2), QStringLiteral(u"空白無し"));
    QTest::mouseClick(find<QRadioButton>("RG4_1"), Qt::LeftButton);
    EXPECT_EQ(form->statusPanelText(3), QStringLiteral(u"英小文字"));
    QTest::mouseClick(find<QRadioButton>("RG3_1"), Qt::LeftButton);
    EXPECT_EQ(form->statusPanelText(4), QStringLiteral(u"入力カーソル 無色"));
    EXPECT_EQ(focused(), find("BStart"));
    EXPECT_EQ(form->state().timeLimitIndex, 1);
    EXPECT_EQ(form->state().spacing, 1);
    EXPECT_EQ(form->state().letterCase, 1);
    EXPECT_EQ(form->state().cursorColour, 1);
}

TEST_F(MainWindow, EndCommandAsksAndNoKeepsTheWindow) {
    QString asked;
    QPoint where;
    find("BStart")->setFocus();
    answerNextMessageBox(QMessageBox::No, &asked, &where);
    key(Qt::Key_F1);
    EXPECT_EQ(asked, QStringLiteral(u"終了しますか"));
    EXPECT_EQ(where, QPoint(400, 300));
    EXPECT_TRUE(form->isVisible());
    answerNextMessageBox(QMessageBox::Yes);
    key(Qt::Key_F1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindow, UpArrowGoesToTheCourseListAndEnterBack) {
    find("BStart")->setFocus();
    key(Qt::Key_Up);
    EXPECT_EQ(focused(), find("Comb1"));
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), find("BStart"));
}

TEST_F(MainWindow, CursorCellIsYellowOrWhiteAndReportsItsPlace) {
    find("BStart")->setFocus();
    key(Qt::Key_F10);
    ASSERT_EQ(focused(), sg1());
    EXPECT_EQ(text("LMsg"), QStringLiteral(u"【ＥＳＣ】で中止"));
    EXPECT_EQ(cellBackground(1, 1), QColor(255, 255, 0));
    EXPECT_EQ(cellBackground(2, 1), QColor(255, 255, 255));
    EXPECT_EQ(form->statusPanelText(0), QStringLiteral("  1 :   1 "));
    key(Qt::Key_Escape);
    EXPECT_FALSE(sg1()->isEnabled());
    EXPECT_EQ(focused(), find("BStart"));
    EXPECT_EQ(text("LMsg"), QString());
    QTest::mouseClick(find<QRadioButton>("RG3_1"), Qt::LeftButton);
    key(Qt::Key_F10);
    EXPECT_EQ(cellBackground(1, 1), QColor(255, 255, 255));
}

TEST_F(MainWindow, LayoutAtOtherScreens) {
    open(1280, 1024);
    EXPECT_EQ(form->frameGeometry().height(), 1012);
    EXPECT_EQ(find("Panel1")->height(), 178);
    EXPECT_EQ(find("SBar1")->height(), 40);
    EXPECT_EQ(sg1()->columnWidth(29), 31);
    open(800, 600);
    EXPECT_EQ(form->frameGeometry().height(), 573);
    EXPECT_EQ(find("Panel3")->height(), 65);
    find("BStart")->setFocus();
    QPoint where;
    answerNextMessageBox(QMessageBox::No, nullptr, &where);
    key(Qt::Key_F1);
    EXPECT_EQ(where, QPoint(313, 234));
}

}  // namespace
}  // namespace hayate::gui::test

namespace hayate::gui::test {
namespace {

void writeBestFile(const std::filesystem::path& file, int course, int setting, std::int32_t score,
                   std::int32_t date) {
    std::string bytes(15 * 48, '\0');
    auto put = [&bytes](std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    };
    put(static_cast<std::size_t>(course * 48 + setting * 4), score);
    put(static_cast<std::size_t>(course * 48 + 24 + setting * 4), date);
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST_F(MainWindow, BestRecordLabelsFollowCourseAndSettings) {
    form.reset();
    writeBestFile(dir / "hayateuchi.DAT", 0, 3, 321, 20240131);
    open();
    EXPECT_EQ(text("LSaikoM"), QString());
    EXPECT_EQ(find<QLabel>("LSaikoM")->palette().color(QPalette::WindowText), QColor(0, 128, 128));
    EXPECT_TRUE(find<QLabel>("LSaikoD")->font().bold());
    QTest::mouseClick(find<QRadioButton>("RG1_1"), Qt::LeftButton);
    QTest::mouseClick(find<QRadioButton>("RG2_1"), Qt::LeftButton);
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("321"));
    EXPECT_EQ(text("LSaikoD"), QStringLiteral("2024/01/31"));
    QTest::mouseClick(find<QRadioButton>("RG2_0"), Qt::LeftButton);
    EXPECT_EQ(text("LSaikoM"), QString());
    EXPECT_EQ(text("LSaikoD"), QString());
    // First run files were made beside the (pretended) executable.
    EXPECT_EQ(std::filesystem::file_size(dir / "hayateuchi.UPD"), 10800u);
}

TEST_F(MainWindow, UnreadableRecordFileStopsTheStart) {
    form.reset();
    std::filesystem::remove(dir / "hayateuchi.DAT");
    std::filesystem::create_directory(dir / "hayateuchi.DAT");  // a folder in its place
    QString said;
    answerNextMessageBox(QMessageBox::Ok, &said);
    TForm1::Options options;
    options.screenWidthOverride = 1024;
    options.screenHeightOverride = 768;
    options.dataFolder = dir.path();
    options.executablePath = dir / "hayateuchi";
    TForm1 failing(options);
    failing.show();
    QTest::qWait(50);
    EXPECT_TRUE(failing.firstShowFailed());
    EXPECT_TRUE(
        said.startsWith(QStringLiteral(u"画面の表示に失敗しました\nプログラムを終了します\n\n")));
    EXPECT_TRUE(said.contains(QString::fromStdString((dir / "hayateuchi.DAT").string())))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral(u"フォルダです")));
    EXPECT_FALSE(failing.isVisible());
}

TEST_F(MainWindow, AProblemFileOnAStickThatIsGoneIsToldAndTheStartGoesOn) {
    form.reset();
    const std::string gone = (dir / "stick" / "mine.USR").string();
    {
        std::ofstream ini(dir / "hayateuchi.INI", std::ios::binary);
        ini << "[Init]\r\n" << sjisText(UserText::SettingsProblemFileKey) << "=" << gone << "\r\n";
    }
    QString said;
    answerNextMessageBox(QMessageBox::Ok, &said);
    open(1024, 768, false);  // the message box takes the focus first
    QTest::qWait(100);
    EXPECT_FALSE(form->firstShowFailed());
    EXPECT_TRUE(said.contains(QString::fromStdString(gone))) << said.toStdString();
    EXPECT_EQ(find<QComboBox>("Comb1")->itemText(5), QStringLiteral(u"ユーザー１"));
    EXPECT_TRUE(std::filesystem::exists(dir / "Kbdojo.USR"));
}

}  // namespace
}  // namespace hayate::gui::test
