// The analysis screen over exercises played through the real window: what
// the heat map paints, what the filters leave out, what the export writes.
// The screen is reached by object names and Qt's own classes, as a user sees it.
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QStringDecoder>
#include <QTableWidget>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <algorithm>
#include <filesystem>

#include "exercise/exercise_ports.h"
#include "file_dialogs.h"
#include "form_fixture.h"
#include "gui/keyboard_heatmap.h"
#include "gui/ok_dialog.h"
#include "gui/sjis_qt.h"
#include "journal/jis_keys.h"
#include "journal/journal.h"
#include "text/user_texts.h"
#include "support/journal_damage.h"

namespace hayate::gui::test {
namespace {

struct FakeTicks : TickSource {
    std::uint32_t now = 5000;
    std::uint32_t tickCount() override { return now; }
};

bool reddish(const QColor& c) { return c.red() > 200 && c.green() < 200 && c.blue() < 200; }
bool white(const QColor& c) { return c.red() > 245 && c.green() > 245 && c.blue() > 245; }
bool grey(const QColor& c) {
    return c.red() == c.green() && c.green() == c.blue() && c.red() < 240 && c.red() > 150;
}

class Analysis : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        form->setTickSourceForTesting(&ticks);
        // The journal opens once the window has shown.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return form->journal() && form->journal()->isOpen(); }, 3000));
    }

    static QChar keyFor(const QString& cell) {
        const char16_t c = cell.at(0).unicode();
        if (c == 0x3000) return QChar(' ');
        if (c >= 0xFF01 && c <= 0xFF5E) return QChar(c - 0xFEE0);
        return QChar(c);
    }
    void press(QChar c) {
        if (c == ' ') {
            QTest::keyClick(sg1(), Qt::Key_Space);
        } else {
            QTest::keyClick(sg1(), c.toLatin1());
        }
    }
    // Types the first `cells` cells of a fresh text and presses a wrong key
    // once before every cell that shows `*target` (the first cell's letter
    // when still empty). Returns the misses made.
    int play(int cells, QChar* target = nullptr) {
        find("BStart")->setFocus();
        key(Qt::Key_F10);
        if (target && target->isNull()) *target = keyFor(sg1()->cellText(1, 1)).toUpper();
        int misses = 0;
        for (int i = 0; i < cells; ++i) {
            const QChar k = keyFor(sg1()->cellText(i % 40 + 1, i / 40 + 1));
            ticks.now += 250;
            if (target && k.toUpper() == *target) {
                press(wrongFor(*target));
                ++misses;
            }
            press(k);
        }
        return misses;
    }
    static QChar wrongFor(QChar target) { return target == 'Q' ? QChar('Z') : QChar('Q'); }
    void stop() { key(Qt::Key_Escape); }
    // Lets the 30-second limit run out and confirms the result.
    void runOut() {
        auto* timer = new QTimer(form.get());
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [=, this] {
            TOKDlg* dlg = form->okDialog();
            if (!dlg->waiting() || !dlg->isVisible()) return;
            timer->deleteLater();
            QTest::mouseClick(dlg->yesButton(), Qt::LeftButton);
        });
        timer->start();
        ticks.now += 31000;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return find("BStart")->isVisible() && form->isEnabled(); }, 4000));
    }
    QDialog* openAnalysis() {
        find<QAction>("SeiBun")->trigger();
        auto* w = form->findChild<QDialog*>("TAnalysis");
        EXPECT_NE(w, nullptr);
        if (w) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        }
        return w;
    }
    static int keyOf(QChar c) {
        return jis::keyIdForByte(static_cast<unsigned char>(c.toLatin1()));
    }
    static QRect keyRect(QWidget* map, int keyId) {
        QRect r;
        EXPECT_TRUE(
            QMetaObject::invokeMethod(map, "keyRect", Q_RETURN_ARG(QRect, r), Q_ARG(int, keyId)));
        return r;
    }
    // The fill of a key as painted, from the lower half of its cap.
    static QColor painted(QDialog* w, int keyId) {
        auto* map = w->findChild<QWidget*>("KeyMap");
        const QImage image = map->grab().toImage();
        const QRect r = keyRect(map, keyId);
        return image.pixelColor(r.center().x(), r.bottom() - 3);
    }

    FakeTicks ticks;
};

TEST_F(Analysis, HeatMapTableAndChartShowThePlayedExercises) {
    // The first text's first letter is missed wherever it appears.
    QChar letter;
    int misses = play(120, &letter);
    runOut();
    misses += play(40, &letter);
    stop();
    ASSERT_GT(misses, 0);
    const QChar wrong = wrongFor(letter);

    QDialog* w = openAnalysis();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(reddish(painted(w, keyOf(letter)))) << letter.toLatin1();
    // A letter of the text typed without a miss, and a key no course uses.
    QChar clean;
    for (int i = 1; i <= 40 && clean.isNull(); ++i) {
        const QChar k = keyFor(sg1()->cellText(i, 1)).toUpper();
        if (k != letter && k != wrong && k.isLetter()) clean = k;
    }
    ASSERT_FALSE(clean.isNull());
    EXPECT_TRUE(white(painted(w, keyOf(clean)))) << clean.toLatin1();
    const auto function =
        std::find_if(jis::keys().begin(), jis::keys().end(),
                     [](const jis::Key& k) { return k.zone == jis::Zone::Function; });
    ASSERT_NE(function, jis::keys().end());
    EXPECT_TRUE(grey(painted(w, function->id)));

    // Clicking the key lists the wrong key behind its misses.
    auto* map = w->findChild<QWidget*>("KeyMap");
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, keyRect(map, keyOf(letter)).center());
    EXPECT_TRUE(w->findChild<QLabel*>("LKeyInfo")->text().contains(QString(wrong)));

    auto* table = w->findChild<QTableWidget*>("SGWeak");
    ASSERT_NE(table->item(0, 0), nullptr);
    EXPECT_EQ(table->item(0, 0)->text(), QString(QChar(letter.unicode() + 0xFEE0)));

    // The chart: the one finished exercise, and the best line at its record.
    auto* chart = w->findChild<QChartView*>("ChartSpeed")->chart();
    QList<QLineSeries*> lines;
    for (QAbstractSeries* s : chart->series())
        if (auto* l = qobject_cast<QLineSeries*>(s);
            l && s->type() == QAbstractSeries::SeriesTypeLine)
            lines << l;
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0]->count(), 1);  // speed: the stopped ones stay out
    const double best = form->findChild<QLabel*>("LSaikoM")->text().toDouble() * 2;  // 30 s
    ASSERT_EQ(lines[2]->count(), 2);
    EXPECT_DOUBLE_EQ(lines[2]->at(0).y(), best);
}

TEST_F(Analysis, FiltersLeaveOutOtherPeriodsAndCourses) {
    // An exercise from three weeks ago with misses on Q, and one of today on
    // the digits course with misses on 1.
    journal::ExerciseEntry old;
    old.startedAt = QDateTime::currentSecsSinceEpoch() - 21 * 86400;
    old.courseIndex = 0;
    old.end = ExerciseEnd::Stopped;
    old.characters = 2;
    old.misses = 2;
    old.elapsedMs = 2000;
    old.cells = {{0, "\x82\x70", "q", "w", "q", 900}, {1, "\x82\x70", "q", "e", "q", 800}};
    ASSERT_TRUE(form->journal()->record(old).ok());
    journal::ExerciseEntry digits = old;
    digits.startedAt = QDateTime::currentSecsSinceEpoch() - 60;
    digits.courseIndex = 1;
    digits.cells = {{0, "\x82\x50", "1", "2", "1", 900}};
    ASSERT_TRUE(form->journal()->record(digits).ok());

    QDialog* w = openAnalysis();
    ASSERT_NE(w, nullptr);
    auto* period = w->findChild<QComboBox*>("CombPeriod");
    auto* course = w->findChild<QComboBox*>("CombCourse");
    const int q = keyOf('Q');
    const int one = keyOf('1');
    struct Case {
        int period;  // 7 days, 30 days, all
        int course;
        bool qRed;
        bool oneRed;
    } cases[] = {
        {2, 0, true, false}, {0, 0, false, false}, {1, 0, true, false},
        {0, 1, false, true}, {2, 1, false, true},
    };
    for (const Case& c : cases) {
        period->setCurrentIndex(c.period);
        course->setCurrentIndex(c.course);
        EXPECT_EQ(reddish(painted(w, q)), c.qRed) << c.period << "," << c.course;
        EXPECT_EQ(reddish(painted(w, one)), c.oneRed) << c.period << "," << c.course;
        EXPECT_FALSE(reddish(painted(w, keyOf('W'))));  // the wrong key is not the weak one
    }
}

TEST_F(Analysis, CsvExportWritesEveryExercise) {
    QChar letter;
    play(10, &letter);
    // Not while typing: the screen would take the keys from the exercise.
    find<QAction>("SeiBun")->trigger();
    EXPECT_EQ(form->findChild<QDialog*>("TAnalysis"), nullptr);
    stop();
    play(5);
    stop();
    QDialog* w = openAnalysis();
    ASSERT_NE(w, nullptr);
    // A path longer than any screen is wide must not widen the window.
    const std::filesystem::path folder =
        dir / std::string(120, 'x') / std::string(120, 'y') / std::string(120, 'z');
    std::filesystem::create_directories(folder);
    const QString target = QString::fromStdString((folder / "out.csv").string());
    const int minimumWidth = w->minimumSizeHint().width();
    const int width = w->width();
    FileDialogSeen seen;
    answerFileDialog(target, &seen);
    QTest::mouseClick(w->findChild<QPushButton*>("BExport"), Qt::LeftButton);
    EXPECT_EQ(seen.name, QStringLiteral("SaveDialog1"));
    EXPECT_TRUE(seen.columnsFit);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->minimumSizeHint().width(), minimumWidth);
    EXPECT_EQ(w->width(), width);
    auto* summary = w->findChild<QLabel*>("LSummary");
    EXPECT_LE(summary->fontMetrics().horizontalAdvance(summary->text()),
              summary->contentsRect().width());
    EXPECT_TRUE(summary->toolTip().contains(target));
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    auto decode = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    EXPECT_FALSE(decode.hasError());
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);  // header and two exercises, oldest first
    const QStringList header = lines[0].trimmed().split(QLatin1Char(','));
    const int characters = static_cast<int>(header.indexOf(QStringLiteral("characters")));
    ASSERT_GE(characters, 0) << lines[0].toStdString();
    EXPECT_EQ(lines[1].split(QLatin1Char(','))[characters].toInt(), 10);
    EXPECT_EQ(lines[2].split(QLatin1Char(','))[characters].toInt(), 5);
}

TEST_F(Analysis, ADamagedJournalIsSetAsideAndNothingIsReportedAsExported) {
    play(10);
    stop();
    play(5);
    stop();
    // The damage leaves the count, which the index gives, and takes the rows.
    hayate::test::damageJournalPage(dir / "hayateuchi.sqlite3", "exercise");
    QDialog* w = openAnalysis();
    ASSERT_NE(w, nullptr);
    auto* summary = w->findChild<QLabel*>("LSummary");
    EXPECT_EQ(summary->toolTip(), toQt(sjisText(UserText::JournalCorrupt)));
    int aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        aside += entry.path().filename().string().starts_with("hayateuchi.sqlite3.corrupt-");
    EXPECT_EQ(aside, 1);

    // What is left is a new journal without an exercise: there is nothing to write.
    const QString target = QString::fromStdString((dir / "out.csv").string());
    QString said;
    answerFileDialog(target);
    answerNextMessageBox(QMessageBox::Ok, &said);
    QTest::mouseClick(w->findChild<QPushButton*>("BExport"), Qt::LeftButton);
    EXPECT_EQ(said, toQt(sjisText(UserText::JournalNothingToExport)));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(summary->toolTip().startsWith(QStringLiteral(u"書き出しました")));
}

TEST_F(Analysis, WeakSpotPracticeWaitsForThreeExercises) {
    for (int round = 0; round <= 3; ++round) {
        QDialog* w = openAnalysis();
        ASSERT_NE(w, nullptr);
        if (round < 3) {
            // Too little data: a message, nothing starts, the screen stays.
            answerNextMessageBox(QMessageBox::Ok);
            QTest::mouseClick(w->findChild<QPushButton*>("BWeak"), Qt::LeftButton);
            EXPECT_TRUE(w->isVisible()) << round;
            EXPECT_FALSE(find("BStop")->isVisible()) << round;
            w->close();
            play(5);
            runOut();
            continue;
        }
        QTest::mouseClick(w->findChild<QPushButton*>("BWeak"), Qt::LeftButton);
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(find("BStop")->isVisible());
        EXPECT_EQ(focused(), sg1());
    }
}

TEST(HeatKeyColour, GreyWhenUnseenThenWhiteToRedWithTheMissRate) {
    struct Case {
        int seen, missed;
        QColor expected;
    } cases[] = {
        {0, 0, QColor(0xD8, 0xD8, 0xD8)},
        {50, 0, QColor(255, 255, 255)},
        {50, 10, QColor(255, 0, 0)},  // the full rate
        {50, 50, QColor(255, 0, 0)},  // beyond it
    };
    for (const Case& c : cases) {
        HeatKey k;
        k.seen = c.seen;
        k.missed = c.missed;
        EXPECT_EQ(KeyboardHeatmap::colourFor(k), c.expected) << c.seen << "/" << c.missed;
    }
    // Up to the full rate every further miss paints the key darker.
    int lastGreen = 256;
    for (int missed = 0; missed <= 10; ++missed) {
        HeatKey k;
        k.seen = 50;
        k.missed = missed;
        const int green = KeyboardHeatmap::colourFor(k).green();
        EXPECT_LT(green, lastGreen) << missed;
        lastGreen = green;
    }
}

}  // namespace
}  // namespace hayate::gui::test
