// Not a check: with HAYATE_SCREENSHOT_DIR set and a real X server, plays part
// of an exercise in the real window and photographs the screen with
// ImageMagick's import, for the README. Skipped otherwise.
#include <QAction>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>

#include "form_fixture.h"
#include "problems/problem_file.h"
#include "records/record_store.h"
#include "support/sjis_test_support.h"

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

// Records of a few weeks' practice, written before the window opens.
class RecordsScreenshot : public Screenshot {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("HAYATE_SCREENSHOT_DIR") ||
            QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "set HAYATE_SCREENSHOT_DIR and run under an X server";
        }
        {
            RecordStore store(dir / "hayateuchi.DAT", dir / "hayateuchi.UPD", 20261207);
            ASSERT_TRUE(store.loadAtStartup());
            const int scores[5][6] = {{182, 176, 171, 168, 160, 0},
                                      {141, 0, 133, 0, 0, 0},
                                      {157, 150, 0, 0, 149, 0},
                                      {96, 0, 102, 98, 0, 0},
                                      {0, 0, 121, 0, 0, 0}};
            for (int course = 0; course < 5; ++course) {
                CourseBest best;
                for (int s = 0; s < 6; ++s) {
                    best.score[static_cast<std::size_t>(s)] = scores[course][s];
                    best.date[static_cast<std::size_t>(s)] =
                        scores[course][s] ? 20261101 + (course * 5 + s * 3) % 30 : 0;
                }
                ASSERT_TRUE(store.writeBest(course, best));
            }
            CourseHistory history;
            const int progress[] = {118, 131, 140, 152, 163, 170, 176, 182};
            for (int i = 0; i < 8; ++i) {
                history.addBest(0, progress[i], 20261010 + i * 3);
                if (i % 2 == 0) history.addBest(2, progress[i] - 11, 20261011 + i * 3);
            }
            history.addBest(1, 176, 20261120);
            history.addBest(3, 168, 20261125);
            ASSERT_TRUE(store.writeHistory(0, history));
        }
        Screenshot::SetUp();
    }
    void shootWhileBoxOpen(const char* command, const QString& name) {
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [=, this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    shoot(name);
                    box->button(QMessageBox::Yes)->click();
                    return;
                }
            }
        });
        timer->start();
        find<QAction>(command)->trigger();
    }
};

TEST_F(RecordsScreenshot, RecordsDisplay) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    shootWhileBoxOpen("SeiDsp",
                      QStringLiteral("records-%1x%2.png").arg(screen.width()).arg(screen.height()));
}

TEST_F(RecordsScreenshot, HistoryDisplay) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    shootWhileBoxOpen("SeiUpd",
                      QStringLiteral("history-%1x%2.png").arg(screen.width()).arg(screen.height()));
}

TEST_F(Screenshot, EditorWithARomajiProblem) {
    find<QAction>("MonSaku")->trigger();
    key(Qt::Key_Return);
    QCoreApplication::processEvents();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral(u"はるのうた"));
    QApplication::sendEvent(focused(), &commit);
    key(Qt::Key_Return);
    QTest::mouseClick(find<QRadioButton>("RG6_1"), Qt::LeftButton);
    QTest::mouseClick(find<QRadioButton>("RG7_1"), Qt::LeftButton);
    auto* sg3 = find<GridWidget>("SG3");
    const QString text = QStringLiteral(
        "harunourarara ni sumidagawa no noborikudari no funabitoga "
        "kaino shizukumo hanato chiru nagameo nanini tatoubeki. "
        "mirezo akebono tsuyu abite wareni monoiu sakuragi o, mireba yugure teni "
        "mirezo");
    for (QChar c : text) {
        if (c == ' ') {
            QTest::keyClick(sg3, Qt::Key_Space);
        } else {
            QTest::keyClicks(sg3, QString(c));
        }
    }
    const QSize screen = QGuiApplication::primaryScreen()->size();
    shoot(QStringLiteral("editor-%1x%2.png").arg(screen.width()).arg(screen.height()));
    key(Qt::Key_Escape);
}

}  // namespace
}  // namespace hayate::gui::test
