// Not a check: with HAYATE_SCREENSHOT_DIR set and a real X server, fills the
// journal with a month of exercises, opens 成績 › 分析 and photographs the
// screen for the README. Skipped otherwise.
#include <QAction>
#include <QDateTime>
#include <QProcess>
#include <QScreen>
#include <random>

#include "form_fixture.h"
#include "journal/jis_keys.h"
#include "journal/journal.h"
#include "records/record_store.h"

namespace hayate::gui::test {
namespace {

// A month of the alphabet course, two exercises a day, getting faster, with
// the usual weak letters missed more often.
void fillJournal(journal::Journal& j, RecordStore& records) {
    std::mt19937 random(7);
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    const std::string weak = "qzxpb";
    CourseHistory history;
    int best = 0;
    for (int day = 29; day >= 0; --day) {
        for (int n = 0; n < 2; ++n) {
            journal::ExerciseEntry e;
            e.startedAt = now - day * 86400 - (2 - n) * 3600;
            e.end = ExerciseEnd::TimeLimit;
            e.elapsedMs = 30000;
            const int cells = 60 + (29 - day) * 2 + static_cast<int>(random() % 12);
            for (int c = 0; c < cells; ++c) {
                const char letter = static_cast<char>('a' + random() % 26);
                journal::CellEntry cell;
                cell.cellIndex = c;
                cell.character = std::string("\x82") + static_cast<char>(0x60 + (letter - 'a'));
                cell.typed = std::string(1, letter);
                const bool isWeak = weak.find(letter) != std::string::npos;
                if (random() % (isWeak ? 4 : 40) == 0) {
                    cell.wrongKeys =
                        std::string(1, static_cast<char>(letter == 'q' ? 'w' : letter + 1));
                    cell.expectedKeys = cell.typed;
                    e.misses += 1;
                }
                cell.msSincePrevious = (isWeak ? 500 : 250) + static_cast<int>(random() % 200);
                e.cells.push_back(cell);
            }
            e.characters = e.score = e.keystrokes = cells;
            e.newBest = cells > best;
            ASSERT_TRUE(j.record(e).ok());
            if (e.newBest) {
                best = cells;
                const QDate d = QDateTime::fromSecsSinceEpoch(e.startedAt).date();
                history.addBest(0, cells, d.year() * 10000 + d.month() * 100 + d.day());
            }
        }
    }
    ASSERT_TRUE(records.writeHistory(0, history));
    CourseBest b;
    b.score[0] = history.score[0][0];
    b.date[0] = history.date[0][0];
    ASSERT_TRUE(records.writeBest(0, b));
}

class AnalysisScreenshot : public FormTest {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("HAYATE_SCREENSHOT_DIR") ||
            QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "set HAYATE_SCREENSHOT_DIR and run under an X server";
        }
        {
            RecordStore store(dir / "hayateuchi.DAT", dir / "hayateuchi.UPD", 20261208);
            ASSERT_TRUE(store.loadAtStartup());
            journal::Journal j;
            ASSERT_TRUE(j.open((dir / "hayateuchi.sqlite3").string()).ok());
            fillJournal(j, store);
        }
        const QSize screen = QGuiApplication::primaryScreen()->size();
        open(screen.width(), screen.height(), false);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return form->journal() && form->journal()->isOpen(); }, 3000));
    }
};

TEST_F(AnalysisScreenshot, WeakSpots) {
    find<QAction>("SeiBun")->trigger();
    auto* w = form->findChild<QDialog*>("TAnalysis");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QProcess::execute(
        QStringLiteral("xdotool"),
        {QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(w->winId())});
    auto* map = w->findChild<QWidget*>("KeyMap");
    QRect q;
    ASSERT_TRUE(QMetaObject::invokeMethod(map, "keyRect", Q_RETURN_ARG(QRect, q),
                                          Q_ARG(int, jis::keyIdForByte('q'))));
    QTest::mouseMove(map, q.center());
    QTest::qWait(600);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const QString path =
        qEnvironmentVariable("HAYATE_SCREENSHOT_DIR") +
        QStringLiteral("/analysis-%1x%2.png").arg(screen.width()).arg(screen.height());
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), path});
    ASSERT_TRUE(import.waitForFinished(20000));
    EXPECT_EQ(import.exitCode(), 0);
}

}  // namespace
}  // namespace hayate::gui::test
