// Not a check: with HAYATE_SCREENSHOT_DIR set and a real X server, plays part
// of an exercise in the real window and photographs the screen with
// ImageMagick's import, for the README. Skipped otherwise.
#include <QComboBox>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>

#include "form_fixture.h"

namespace hayate::gui::test {
namespace {

class Screenshot : public FormTest {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("HAYATE_SCREENSHOT_DIR") ||
            QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "set HAYATE_SCREENSHOT_DIR and run under an X server";
        }
        const QSize screen = QGuiApplication::primaryScreen()->size();
        open(screen.width(), screen.height(), false);
        // No window manager activates the window: give it the keyboard.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                           QString::number(form->winId())});
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void shoot(const QString& name) {
        QTest::qWait(400);
        const QString path = qEnvironmentVariable("HAYATE_SCREENSHOT_DIR") + '/' + name;
        QProcess import;
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), path});
        ASSERT_TRUE(import.waitForFinished(20000));
        EXPECT_EQ(import.exitCode(), 0);
    }
    void typeKey(QChar c) {
        if (c == ' ') {
            QTest::keyClick(sg1(), Qt::Key_Space);
        } else {
            QTest::keyClick(sg1(), c.toLatin1());
        }
    }
};

TEST_F(Screenshot, CharacterCourse) {
    find("BStart")->setFocus();
    key(Qt::Key_F10);
    for (int i = 0; i < 67; ++i) {
        const QString cell = sg1()->cellText(i % 40 + 1, i / 40 + 1);
        const char16_t c = cell.at(0).unicode();
        QChar k = c == 0x3000 ? QChar(' ') : QChar(c - 0xFEE0);
        if (i == 23 || i == 51) typeKey(k == 'Q' ? 'W' : 'Q');  // two misses
        typeKey(k);
    }
    typeKey(sg1()->cellText(68 % 40 + 1, 2) == QStringLiteral(u"Ｑ") ? 'W' : 'Q');
    const QSize screen = QGuiApplication::primaryScreen()->size();
    shoot(QStringLiteral("alphabet-%1x%2.png").arg(screen.width()).arg(screen.height()));
}

TEST_F(Screenshot, RomajiCourse) {
    find<QComboBox>("Comb1")->setFocus();
    for (int i = 0; i < 3; ++i) key(Qt::Key_Down);
    key(Qt::Key_Return);
    key(Qt::Key_F10);
    for (int i = 0; i < 52; ++i) {
        const QString hint = text("LRoma1") + text("LRoma2") + text("LRoma3");
        if (i == 30) typeKey('q');
        for (QChar c : hint) typeKey(c);
    }
    typeKey(text("LRoma1").at(0));
    const QSize screen = QGuiApplication::primaryScreen()->size();
    shoot(QStringLiteral("romaji-%1x%2.png").arg(screen.width()).arg(screen.height()));
}

}  // namespace
}  // namespace hayate::gui::test
