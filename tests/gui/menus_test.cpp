// Menu commands and the focus rules around them.
#include <QAction>
#include <QDesktopServices>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include "form_fixture.h"
#include "gui/about_box.h"
#include "gui/help_window.h"

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

TEST_F(Menus, HelpShowsContentsAndKeywordIndexInItsOwnWindow) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    find<QAction>("HelpCon")->trigger();
    auto* help = form->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/help/");
    QTextBrowser* browser = help->browser();
    EXPECT_EQ(browser->source().toLocalFile(), folder + QStringLiteral("index.html"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral(u"ハヤテウチ")));

    // A link between the pages, then back.
    QTextCursor link = browser->document()->find(QStringLiteral(u"キーワードで検索"));
    ASSERT_FALSE(link.isNull());
    const QString href = link.charFormat().anchorHref();
    EXPECT_EQ(href, QStringLiteral("keywords.html"));
    browser->setSource(browser->source().resolved(QUrl(href)));
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("keywords.html"));
    QTest::mouseClick(help->findChild<QPushButton*>("HelpBack"), Qt::LeftButton);
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("index.html"));

    // The keyword index: a keyword typed narrows it, Enter opens its topic.
    find<QAction>("HelpKey")->trigger();
    EXPECT_EQ(form->findChildren<HelpWindow*>().size(), 1);
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("keywords.html"));
    auto* keywords = help->findChild<QListWidget*>("HelpKeywords");
    ASSERT_GT(keywords->count(), 20);
    auto* search = help->findChild<QLineEdit*>("HelpSearch");
    QTest::keyClicks(search, QStringLiteral("shi"));
    int shown = 0;
    for (int i = 0; i < keywords->count(); ++i) shown += keywords->item(i)->isHidden() ? 0 : 1;
    EXPECT_EQ(shown, 1);
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("index.html"));
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("romaji"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_TRUE(catcher.urls.isEmpty());  // no desktop browser was asked
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
