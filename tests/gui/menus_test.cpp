// Menu commands and the focus rules around them.
#include <QAction>
#include <QDesktopServices>
#include <QRadioButton>
#include <QUrl>

#include "form_fixture.h"
#include "gui/about_box.h"

namespace hayate::gui::test {
namespace {

// Catches what the help commands ask the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls << url; }
};

using Menus = FormTest;

TEST_F(Menus, HelpOpensContentsAndKeywordIndexBesideTheProgram) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    find<QAction>("HelpCon")->trigger();
    find<QAction>("HelpKey")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.urls.size(), 2);
    const QString folder = QCoreApplication::applicationDirPath();
    EXPECT_EQ(catcher.urls[0].toLocalFile(), folder + QStringLiteral("/help/index.html"));
    EXPECT_EQ(catcher.urls[1].toLocalFile(), folder + QStringLiteral("/help/keywords.html"));
    EXPECT_EQ(find<QAction>("HelpCon")->text(), QStringLiteral(u"ﾊﾔﾃｳﾁとは(&R)"));
    EXPECT_EQ(find<QAction>("HelpKey")->text(), QStringLiteral(u"ｷｰﾜｰﾄﾞで検索(&K)"));
    // No address was configured at build time: no home-page command.
    EXPECT_EQ(form->findChild<QAction*>("HomePage"), nullptr);
}

TEST_F(Menus, AboutBoxDisablesTheWindowUntilOk) {
    find<QAction>("About")->trigger();
    EXPECT_TRUE(form->aboutBox()->isVisible());
    EXPECT_FALSE(form->isEnabled());
    QTest::keyClick(form->aboutBox(), Qt::Key_Return);
    EXPECT_FALSE(form->aboutBox()->isVisible());
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(Menus, EndMenuAsksWithoutTheSpaceGuard) {
    QWidget* end = find("BEnd");
    end->setFocus();
    QTest::keyPress(end, Qt::Key_Space);  // the space-key guard is set until the press
    QString asked;
    answerNextMessageBox(QMessageBox::No, &asked);
    find<QAction>("Syuryo")->trigger();
    EXPECT_EQ(asked, QStringLiteral(u"終了しますか"));
    EXPECT_TRUE(form->isVisible());
    // The Space's own press of the end button only clears the guard: no question.
    asked.clear();
    QTest::keyRelease(end, Qt::Key_Space);
    QTest::qWait(50);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Menus, AClickDuringAnExerciseActsAndGivesTheKeysBackToTheGrid) {
    find("BStart")->setFocus();
    key(Qt::Key_F10);
    ASSERT_EQ(focused(), sg1());
    QTest::mouseClick(find<QRadioButton>("RG2_1"), Qt::LeftButton);
    EXPECT_EQ(form->statusPanelText(2), QStringLiteral(u"空白無し"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return focused() == sg1(); }, 1000));
    EXPECT_EQ(text("LMsg"), QStringLiteral(u"【ＥＳＣ】で中止"));
    key(Qt::Key_Escape);
    EXPECT_EQ(focused(), find("BStart"));
}

}  // namespace
}  // namespace hayate::gui::test

#include "menus_test.moc"
