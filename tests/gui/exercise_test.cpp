// Whole exercises through the real window: keys sent to the focused widget,
// texts read from the controls by name.
#include <QComboBox>
#include <QRadioButton>
#include <filesystem>
#include <fstream>

#include "exercise/exercise_ports.h"
#include "form_fixture.h"
#include "gui/ok_dialog.h"
#include "gui/sjis_qt.h"
#include "text/char_tables.h"
#include "text/width_conversion.h"

namespace hayate::gui::test {
namespace {

struct FakeTicks : TickSource {
    std::uint32_t now = 5000;
    std::uint32_t tickCount() override { return now; }
};

QString todayText() {
    const QDate d = QDate::currentDate();
    return d.toString(QStringLiteral("yyyy/MM/dd"));
}

class Exercise : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        form->setTickSourceForTesting(&ticks);
    }

    // The key that types a character-mode cell.
    static QChar keyFor(const QString& cell) {
        const char16_t c = cell.at(0).unicode();
        if (c == 0x3000) return QChar(' ');
        if (c >= 0xFF01 && c <= 0xFF5E) return QChar(c - 0xFEE0);
        if (c == 0xFFE5) return QChar('\\');
        return QChar(c);
    }
    void typeChar(QChar c) {
        if (c == ' ') {
            QTest::keyClick(sg1(), Qt::Key_Space, Qt::NoModifier);
        } else {
            QTest::keyClick(sg1(), c.toLatin1());
        }
    }
    // Clicks "はい" once the result dialog waits; records what it said.
    void answerResult(QString* line1 = nullptr, QColor* colour = nullptr) {
        auto* timer = new QTimer(form.get());
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [=, this] {
            TOKDlg* dlg = form->okDialog();
            if (!dlg->waiting() || !dlg->isVisible()) return;
            auto* l1 = dlg->findChild<QLabel*>("L1");
            if (line1) *line1 = l1->text();
            if (colour) *colour = l1->palette().color(QPalette::WindowText);
            EXPECT_FALSE(form->isEnabled());
            timer->deleteLater();
            QTest::mouseClick(dlg->yesButton(), Qt::LeftButton);
        });
        timer->start();
    }
    void start() {
        find("BStart")->setFocus();
        key(Qt::Key_F10);
        ASSERT_EQ(focused(), sg1());
    }

    FakeTicks ticks;
};

TEST_F(Exercise, CharacterCourseTypedToTheEndSetsARecord) {
    QTest::mouseClick(find<QRadioButton>("RG1_2"), Qt::LeftButton);  // no time limit
    start();
    EXPECT_TRUE(find("BStop")->isVisible());
    EXPECT_FALSE(find("BStart")->isVisible());
    QString line1;
    QColor colour;
    answerResult(&line1, &colour);
    const std::uint32_t first = ticks.now;
    for (int row = 1; row <= 50; ++row) {
        for (int column = 1; column <= 40; ++column) {
            // 2000 cells in 400 seconds: 300 characters a minute.
            if (row == 50 && column == 40) ticks.now = first + 400000;
            typeChar(keyFor(sg1()->cellText(column, row)));
            if (row < 50 || column < 40) {
                ASSERT_EQ(sg1()->currentColumn(), column % 40 + 1) << row << "," << column;
            }
        }
    }
    EXPECT_EQ(line1, QStringLiteral(u"記録更新です"));
    EXPECT_EQ(colour, QColor(Qt::red));
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(text("LMoji"), QStringLiteral(" 2000"));
    EXPECT_EQ(text("LMiss"), QStringLiteral("    0"));
    EXPECT_EQ(text("LYmoji"), QStringLiteral("  300"));
    EXPECT_EQ(text("LTime"), QStringLiteral(" 6'40\""));
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("300"));
    EXPECT_EQ(text("LSaikoD"), todayText());
    EXPECT_TRUE(find("BStart")->isVisible());
    EXPECT_FALSE(sg1()->isEnabled());
    EXPECT_EQ(focused(), find("BStart"));
    // Course 0, no limit with spaces: setting 4 of the first record.
    EXPECT_EQ(readInt(dir / "hayateuchi.DAT", 4 * 4), 300);
    EXPECT_EQ(QString::number(readInt(dir / "hayateuchi.DAT", 24 + 4 * 4)),
              todayText().remove('/'));
    EXPECT_EQ(readInt(dir / "hayateuchi.UPD", 60 * 4), 300);

    // The same score again is no record.
    answerResult(&line1, &colour);
    start();
    const std::uint32_t again = ticks.now;
    for (int i = 0; i < 2000; ++i) {
        if (i == 1999) ticks.now = again + 400000;
        typeChar(keyFor(sg1()->cellText(i % 40 + 1, i / 40 + 1)));
    }
    EXPECT_EQ(line1, QStringLiteral(u"終了しました"));
    EXPECT_EQ(colour, QColor(Qt::black));
}

TEST_F(Exercise, CellsShowHitsMissesAndTheCursor) {
    start();
    const QChar first = keyFor(sg1()->cellText(1, 1));
    typeChar(first);
    const QChar wrong = keyFor(sg1()->cellText(2, 1)) == 'Q' ? 'W' : 'Q';
    typeChar(wrong);
    EXPECT_EQ(text("LMoji"), QStringLiteral("    1"));
    EXPECT_EQ(text("LMiss"), QStringLiteral("    1"));
    // Written when the cursor cell is painted.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form->statusPanelText(0) == QStringLiteral("  2 :   1 "); }, 1000))
        << form->statusPanelText(0).toStdString();
    // Missed: red, also on the cursor; completed: white ground, blue letters.
    EXPECT_EQ(cellBackground(2, 1), QColor(255, 0, 0));
    EXPECT_EQ(cellBackground(1, 1), QColor(255, 255, 255));
    const QRect done = sg1()->cellRect(1, 1);
    const QImage image = sg1()->viewport()->grab().toImage();
    bool blue = false;
    for (int y = done.top(); y <= done.bottom(); ++y) {
        for (int x = done.left(); x <= done.right(); ++x)
            blue |= image.pixelColor(x, y) == QColor(0, 0, 255);
    }
    EXPECT_TRUE(blue);
    // A correct key clears the red: the cursor cell is yellow again... once
    // completed it moves on and the next cursor is yellow.
    typeChar(keyFor(sg1()->cellText(2, 1)));
    EXPECT_EQ(cellBackground(3, 1), QColor(255, 255, 0));
}

TEST_F(Exercise, AKeyRepaintsOnlyTheCellsItChanged) {
    start();
    QTest::qWait(50);
    // Across the end of a row too, where the two cells are far apart.
    for (int i = 0; i < 42; ++i) {
        sg1()->resetPaintedCells();
        typeChar(keyFor(sg1()->cellText(i % 40 + 1, i / 40 + 1)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return sg1()->paintedCells() >= 2; }, 1000)) << i;
        QTest::qWait(i < 38 ? 1 : 30);
        EXPECT_EQ(sg1()->paintedCells(), 2) << i;
    }
}

TEST_F(Exercise, EscStopsWithoutAResult) {
    start();
    for (int i = 1; i <= 3; ++i) typeChar(keyFor(sg1()->cellText(i, 1)));
    key(Qt::Key_Escape);
    EXPECT_FALSE(form->okDialog()->isVisible());
    EXPECT_TRUE(find("BStart")->isVisible());
    EXPECT_FALSE(find("BStop")->isVisible());
    EXPECT_FALSE(sg1()->isEnabled());
    EXPECT_EQ(focused(), find("BStart"));
    EXPECT_EQ(text("LMoji"), QStringLiteral("    3"));
    EXPECT_EQ(text("LMsg"), QString());
    EXPECT_EQ(readInt(dir / "hayateuchi.DAT", 0), 0);
    // F10 again: a new text and all counters back to 0.
    key(Qt::Key_F10);
    EXPECT_EQ(text("LMoji"), QStringLiteral("    0"));
    EXPECT_EQ(sg1()->currentColumn(), 1);
}

TEST_F(Exercise, TimeLimitEndsOnTheTickThatReachesIt) {
    start();
    ticks.now = 10000;
    for (int i = 1; i <= 5; ++i) typeChar(keyFor(sg1()->cellText(i, 1)));  // clock starts at 10000
    ticks.now = 10000 + 29999;
    QTest::qWait(1100);  // one tick of the real timer: not yet
    EXPECT_TRUE(sg1()->isEnabled());
    EXPECT_EQ(text("LTime"), QStringLiteral("   29"));
    EXPECT_EQ(text("LYmoji"), QStringLiteral("   10"));  // 5 in 29.999 s
    QString line1;
    answerResult(&line1);
    ticks.now = 10000 + 30000;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !line1.isEmpty(); }, 3000));
    EXPECT_EQ(line1, QStringLiteral(u"記録更新です"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isEnabled(); }, 1000));
    EXPECT_FALSE(sg1()->isEnabled());
    EXPECT_EQ(text("LYmoji"), QStringLiteral("   10"));  // 5 * 60 / 30
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("5"));
    EXPECT_EQ(readInt(dir / "hayateuchi.DAT", 0), 5);
}

TEST_F(Exercise, SpaceOnTheStartButtonDoesNotStart) {
    find("BStart")->setFocus();
    for (int i = 0; i < 3; ++i) key(Qt::Key_Space);
    EXPECT_TRUE(find("BStart")->isVisible());
    EXPECT_FALSE(sg1()->isEnabled());
    // Nor does it leave the next real press swallowed.
    key(Qt::Key_Return);
    EXPECT_TRUE(find("BStop")->isVisible());
    EXPECT_EQ(focused(), sg1());
}

TEST_F(Exercise, F10InTheCourseListStartsAtOnce) {
    find("Comb1")->setFocus();
    key(Qt::Key_F10);
    EXPECT_TRUE(sg1()->isEnabled());
    EXPECT_EQ(focused(), sg1());
}

TEST_F(Exercise, EmptyProblemSlotIsRefused) {
    auto* courses = find<QComboBox>("Comb1");
    courses->setFocus();
    key(Qt::Key_Down);  // 数字
    EXPECT_EQ(form->state().courseIndex, 1);
    QString said;
    QPoint where;
    answerNextMessageBox(QMessageBox::Ok, &said, &where);
    courses->setCurrentIndex(4);
    key(Qt::Key_Down);  // the first problem slot, empty in a new problem file
    EXPECT_EQ(said, QStringLiteral(u"問題が作成されていません"));
    EXPECT_EQ(where, QPoint(400, 300));
    EXPECT_EQ(courses->currentIndex(), 1);
    EXPECT_EQ(form->state().courseIndex, 1);
}

TEST_F(Exercise, RomajiCourseAcceptsAlternativeSpellings) {
    auto* courses = find<QComboBox>("Comb1");
    courses->setFocus();
    for (int i = 0; i < 3; ++i) key(Qt::Key_Down);
    EXPECT_EQ(form->state().courseIndex, 3);
    EXPECT_TRUE(find("L5")->isVisible());
    EXPECT_TRUE(find("L6")->isVisible());
    start();
    const QString hint = text("LRoma1") + text("LRoma2") + text("LRoma3");
    EXPECT_FALSE(hint.isEmpty());
    EXPECT_TRUE(find<QLabel>("LRoma1")->font().bold());

    const CharTables tables = buildCharTables();
    const QString smallKana = QStringLiteral(u"ぁぃぅぇぉゃゅょっゎ");
    int typed = 0, keystrokes = 0, alternatives = 0;
    for (int column = 1; column <= 40; ++column) {
        const QString cell = sg1()->cellText(column, 1);
        const QString next = column < 40 ? sg1()->cellText(column + 1, 1) : QString();
        const int index = kanaIndexOf(tables, toSjis(cell));
        // Joined and doubled forms look ahead: type the hint for those.
        QString spelling = text("LRoma1") + text("LRoma2") + text("LRoma3");
        const bool plain = index >= 0 && !smallKana.contains(cell) && !smallKana.contains(next) &&
                           cell != QStringLiteral(u"ん");
        if (plain && !tables.romaji(1, index).empty()) {
            spelling = toQt(tables.romaji(1, index));
            ++alternatives;
        }
        for (QChar c : spelling) typeChar(c);
        keystrokes += static_cast<int>(spelling.size());
        ++typed;
        ASSERT_EQ(text("LMiss"), QStringLiteral("    0"))
            << column << " " << spelling.toStdString();
    }
    EXPECT_GT(alternatives, 0);
    EXPECT_EQ(text("LMoji"), QString::asprintf("%5d", typed));
    EXPECT_EQ(sg1()->currentRow(), 2);
    EXPECT_EQ(sg1()->currentColumn(), 1);
    // The hint shows the romaji of the new cell, in blue.
    EXPECT_FALSE((text("LRoma1") + text("LRoma2") + text("LRoma3")).isEmpty());
    EXPECT_EQ(find<QLabel>("LRoma1")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    // A wrong letter: a miss, and the hint letter turns red.
    typeChar('q' == text("LRoma1").at(0).toLower() ? 'x' : 'q');
    EXPECT_EQ(text("LMiss"), QStringLiteral("    1"));
    EXPECT_EQ(find<QLabel>("LRoma1")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // Leaving the course empties the hint and hides the captions.
    key(Qt::Key_Escape);
    courses->setFocus();
    key(Qt::Key_Up);
    EXPECT_FALSE(find("L5")->isVisible());
    EXPECT_EQ(text("LRoma1") + text("LRoma2") + text("LRoma3") + text("LDaken"), QString());
}

}  // namespace
}  // namespace hayate::gui::test
