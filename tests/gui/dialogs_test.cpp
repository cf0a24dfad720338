#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "gui/about_box.h"
#include "gui/ok_dialog.h"

namespace hayate::gui {
namespace {

// Runs `step` once the dialog's wait has begun.
void whileWaiting(TOKDlg& dlg, std::function<void()> step) {
    QTimer::singleShot(0, [&dlg, step] {
        ASSERT_TRUE(dlg.waiting());
        step();
    });
}

TEST(ResultDialog, SpaceAndNoKeepItOpenYesEndsTheWait) {
    QWidget main;
    main.show();
    TOKDlg dlg(&main);
    bool sawDisabled = false;
    whileWaiting(dlg, [&] {
        sawDisabled = !main.isEnabled();
        QPushButton* yes = dlg.findChild<QPushButton*>("OKBtn");
        QPushButton* no = dlg.findChild<QPushButton*>("CancelBtn");
        for (int i = 0; i < 5; ++i) QTest::keyClick(yes, Qt::Key_Space);
        QTest::mouseClick(no, Qt::LeftButton);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.waiting());
        EXPECT_FALSE(main.isEnabled());
        QTest::keyClick(yes, Qt::Key_Return);
    });
    dlg.showAndWait(QStringLiteral(u"記録更新です"), Qt::red, QStringLiteral(u"確認ＯＫですか"));
    EXPECT_TRUE(sawDisabled);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_EQ(dlg.findChild<QLabel*>("L1")->text(), QStringLiteral(u"記録更新です"));
    EXPECT_EQ(dlg.findChild<QLabel*>("L1")->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(dlg.findChild<QLabel*>("L2")->text(), QStringLiteral(u"確認ＯＫですか"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral(u"情報"));
}

TEST(ResultDialog, ClosingThroughTheFrameEndsTheWaitLikeYes) {
    QWidget main;
    main.show();
    TOKDlg dlg(&main);
    whileWaiting(dlg, [&] { dlg.close(); });
    dlg.showAndWait(QStringLiteral(u"終了しました"), Qt::black, QStringLiteral(u"確認ＯＫですか"));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(main.isEnabled());
}

TEST(AboutBox, ShowsVersionAndGroupedMemoryFigures) {
    QWidget main;
    main.show();
    TAboutBox box(&main);
    box.open();
    EXPECT_FALSE(main.isEnabled());
    EXPECT_EQ(box.windowTitle(), QStringLiteral(u"ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(box.findChild<QLabel*>("ProductName")->text(), QStringLiteral(u"ハヤテウチ"));
    EXPECT_EQ(box.findChild<QLabel*>("Version")->text(), QStringLiteral("Version " HAYATE_PROJECT_VERSION));
    // Ten characters for the figure, digits grouped by three.
    const QRegularExpression total(QStringLiteral(u"^物理ﾒﾓﾘ     :[ 0-9,]{10} KB$"));
    EXPECT_TRUE(total.match(box.lineText(1)).hasMatch()) << box.lineText(1).toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral(u"^空き物理ﾒﾓﾘ :[ 0-9,]{10} KB$"))
                    .match(box.lineText(2))
                    .hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral(u"^ﾒﾓﾘ利用率   : {7,9}[0-9]{1,3} %$"))
                    .match(box.lineText(3))
                    .hasMatch())
        << box.lineText(3).toStdString();
    EXPECT_TRUE(box.lineText(1).contains(','));
    QTest::mouseClick(box.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_TRUE(main.isEnabled());
    box.open();
    box.close();  // the frame's close box
    EXPECT_TRUE(main.isEnabled());
}

}  // namespace
}  // namespace hayate::gui
