// Kana-input results through the window: judged against the journal's kana
// bests and shown by the records screens in かな mode, while the record files
// stay as they were; the analysis screen filters by input method.
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <filesystem>

#include "exercise/exercise_ports.h"
#include "form_fixture.h"
#include "gui/ok_dialog.h"
#include "gui/sjis_qt.h"
#include "journal/journal.h"
#include "platform/safe_file.h"
#include "support/sjis_test_support.h"
#include "text/jis_kana_layout.h"

namespace hayate::gui::test {
namespace {

namespace fs = std::filesystem;
using hayate::test::sj;

struct FakeTicks : TickSource {
    std::uint32_t now = 5000;
    std::uint32_t tickCount() override { return now; }
};

class KanaRecordsWindow : public FormTest {
  protected:
    void SetUp() override {
        // The romaji course, 30 seconds without spaces (setting 1), かな chosen.
        ASSERT_TRUE(replaceFileAtomically(
            dir / "hayateuchi.INI",
            sj("[Init]\r\nコース=3\r\n制限時間=0\r\n空白有無=1\r\n入力方式=1\r\n")));
        if (journalInTheWay) fs::create_directory(dir / "hayateuchi.sqlite3");
        open();
        form->setTickSourceForTesting(&ticks);
        bestBytes = bytes("hayateuchi.DAT");
        historyBytes = bytes("hayateuchi.UPD");
    }
    std::string bytes(const char* name) { return readWholeFile(dir / name).value_or("?"); }

    void press(const KanaStroke& stroke) {
        const unsigned char byte = kanaByteOfKey({stroke.keycode, stroke.shift});
        QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown,
                       stroke.shift ? Qt::ShiftModifier : Qt::NoModifier,
                       static_cast<quint32>(stroke.keycode), 0, 0,
                       QString(QChar(char16_t(0xFF61 + (byte - 0xA1)))));
        QCoreApplication::sendEvent(sg1(), &down);
    }
    // Types `cells` cells on the kana layout, lets the limit run out and
    // returns the result dialog's first line.
    QString play(int cells) {
        find("BStart")->setFocus();
        key(Qt::Key_F10);
        for (int i = 0; i < cells; ++i) {
            ticks.now += 250;
            const KanaStrokes strokes =
                strokesForKana(toSjis(sg1()->cellText(i % 40 + 1, i / 40 + 1)));
            for (int k = 0; k < strokes.count; ++k)
                press(strokes.keys[static_cast<std::size_t>(k)]);
        }
        QString line1;
        auto* timer = new QTimer(form.get());
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [&line1, timer, this] {
            TOKDlg* dlg = form->okDialog();
            if (!dlg->waiting() || !dlg->isVisible()) return;
            timer->deleteLater();
            line1 = dlg->findChild<QLabel*>("L1")->text();
            QTest::mouseClick(dlg->yesButton(), Qt::LeftButton);
        });
        timer->start();
        ticks.now += 31000;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return find("BStart")->isVisible() && form->isEnabled(); }, 4000));
        return line1;
    }
    // The records grid's cell while a display command shows it.
    QString shownCell(const char* command, int column, int row) {
        QString cell = QStringLiteral("not shown");
        auto* timer = new QTimer(form.get());
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [&cell, timer, column, row, this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    timer->deleteLater();
                    // The records screen waits on a yes; anything else is a message.
                    QAbstractButton* yes = box->button(QMessageBox::Yes);
                    cell = yes ? find<GridWidget>("SG2")->cellText(column, row)
                               : QStringLiteral("told: ") + box->text();
                    (yes ? yes : box->buttons().value(0))->click();
                    return;
                }
            }
        });
        timer->start();
        find<QAction>(command)->trigger();
        if (cell == QStringLiteral("not shown")) delete timer;
        return cell;
    }
    void expectRecordFilesAsTheyWere() {
        EXPECT_EQ(bytes("hayateuchi.DAT"), bestBytes);
        EXPECT_EQ(bytes("hayateuchi.UPD"), historyBytes);
    }

    bool journalInTheWay = false;
    FakeTicks ticks;
    std::string bestBytes;
    std::string historyBytes;
};

TEST_F(KanaRecordsWindow, KanaResultsHaveTheirOwnBestsAndRecordsScreens) {
    EXPECT_EQ(play(12), QStringLiteral(u"記録更新です"));
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("12"));
    EXPECT_EQ(play(8), QStringLiteral(u"終了しました"));
    expectRecordFilesAsTheyWere();
    EXPECT_EQ(form->journal()->kanaBest(kCourseRomaji).value().score[1], 12);

    // Row 4 is the romaji course, column 2 the setting.
    EXPECT_TRUE(shownCell("SeiDsp", 2, 4).startsWith(QStringLiteral("  12 (")));
    EXPECT_TRUE(shownCell("SeiUpd", 2, 1).startsWith(QStringLiteral("  12 (")));
    // ローマ字 shows the record files', which hold nothing.
    find<QAction>("NyuryokuRoma")->trigger();
    EXPECT_EQ(text("LSaikoM"), QString());
    EXPECT_EQ(shownCell("SeiDsp", 2, 4), QString());
    EXPECT_EQ(shownCell("SeiUpd", 2, 1), QString());
    find<QAction>("NyuryokuKana")->trigger();
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("12"));

    // The analysis screen opens on the kana exercises.
    find<QAction>("SeiBun")->trigger();
    auto* analysis = form->findChild<QDialog*>("TAnalysis");
    ASSERT_NE(analysis, nullptr);
    auto* input = analysis->findChild<QComboBox*>("CombInput");
    auto* summary = analysis->findChild<QLabel*>("LSummary");
    const struct {
        int index;
        const char16_t* summary;
    } filters[] = {{2, u"練習 2 回"}, {1, u"練習 0 回"}, {0, u"練習 2 回"}};
    EXPECT_EQ(input->currentIndex(), 2);
    for (const auto& f : filters) {
        input->setCurrentIndex(f.index);
        EXPECT_EQ(summary->text(), QString::fromUtf16(f.summary)) << f.index;
    }
    analysis->close();

    // Deleting in かな mode clears the kana records only.
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok}, nullptr);
    find<QAction>("SeiDel")->trigger();
    EXPECT_EQ(text("LSaikoM"), QString());
    EXPECT_EQ(form->journal()->kanaBest(kCourseRomaji).value(), CourseBest{});
    EXPECT_EQ(play(5), QStringLiteral(u"記録更新です"));
    expectRecordFilesAsTheyWere();
}

class KanaRecordsWithoutJournal : public KanaRecordsWindow {
  protected:
    void SetUp() override {
        journalInTheWay = true;
        KanaRecordsWindow::SetUp();
    }
};

TEST_F(KanaRecordsWithoutJournal, AKanaResultIsAPlainEnd) {
    EXPECT_EQ(play(12), QStringLiteral(u"終了しました"));
    EXPECT_EQ(text("LSaikoM"), QString());
    // The table still shows, the kana rows empty; the kana history says why not.
    EXPECT_EQ(shownCell("SeiDsp", 2, 4), QString());
    EXPECT_EQ(shownCell("SeiUpd", 2, 1),
              QStringLiteral("told: ") + qtText(UserText::AnalysisJournalUnavailable));
    expectRecordFilesAsTheyWere();
}

}  // namespace
}  // namespace hayate::gui::test
