// The problem editor mode of the main window, driven by real keys and clicks:
// writing, storing and practising a problem, the grid's keys and cursor, a
// store that fails, deleting the edited problem and importing text files.
#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <filesystem>
#include <fstream>

#include "file_dialogs.h"
#include "form_fixture.h"
#include "gui/editor_view.h"
#include "gui/reading_preview.h"
#include "reading/reading_service.h"
#include "gui/ok_dialog.h"
#include "problems/problem_file.h"
#include "support/sjis_test_support.h"

namespace hayate::gui::test {
namespace {

struct FakeTicks : TickSource {
    std::uint32_t now = 5000;
    std::uint32_t tickCount() override { return now; }
};

void writeBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

class Editor : public FormTest {
  protected:
    GridWidget* sg3() const { return find<GridWidget>("SG3"); }
    QAction* menu(const char* name) const { return find<QAction>(name); }

    void openEditor() {
        menu("MonSaku")->trigger();
        ASSERT_TRUE(sg3()->isVisible());
    }
    // The cells of a grid row up to the first empty one.
    QString row(int r) const {
        QString s;
        for (int c = 1; c <= 40 && !sg3()->cellText(c, r).isEmpty(); ++c)
            s += sg3()->cellText(c, r);
        return s;
    }
    int filledCells() const {
        int n = 0;
        for (int r = 1; r <= 50; ++r)
            for (int c = 1; c <= 40; ++c) n += sg3()->cellText(c, r).isEmpty() ? 0 : 1;
        return n;
    }
    void typeInGrid(const QString& keys) {
        for (QChar c : keys) {
            if (c == ' ') {
                QTest::keyClick(sg3(), Qt::Key_Space);
            } else {
                QTest::keyClicks(sg3(), QString(c));
            }
        }
    }
    void chooseKind(int kind) {
        QTest::mouseClick(find<QRadioButton>(QStringLiteral("RG6_%1").arg(kind).toLatin1()),
                          Qt::LeftButton);
    }
    // Stores a problem into the file before the window opens.
    void storeBeforehand(int slot, const char* name, const std::vector<const char*>& rows, int kind,
                         int unit) {
        form.reset();
        ProblemFile problems(dir / "Kbdojo.USR");
        ASSERT_TRUE(problems.listProblems());
        StoredText text;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            text.rows[i] = hayate::test::sj(rows[i]);
            text.count += static_cast<int>(text.rows[i].size() / 2);
        }
        ASSERT_NE(problems.storeProblem(slot, text, hayate::test::sj(name), kind, unit),
                  StoreResult::Failed);
    }
    ProblemRecord storedRecord(int slot) const {
        std::ifstream in(dir / "Kbdojo.USR", std::ios::binary);
        std::string bytes(kProblemRecordBytes, '\0');
        in.seekg(static_cast<std::streamoff>(kProblemRecordBytes) * slot);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return decodeProblemRecord(bytes);
    }
    void importFile(const std::string& bytes, QString* message = nullptr) {
        writeBytes(dir / "import.txt", bytes);
        if (message) answerNextMessageBox(QMessageBox::Ok, message);
        answerFileDialog(QString::fromStdString((dir / "import.txt").string()));
        QTest::mouseClick(find<QPushButton>("BFinp"), Qt::LeftButton);
    }

    FakeTicks ticks;
};

TEST_F(Editor, RomajiProblemIsWrittenStoredAndPractisedToARecord) {
    form->setTickSourceForTesting(&ticks);
    openEditor();
    // Entering: the course controls give way to the editor's.
    for (const char* hidden : {"Comb1", "BStart", "LMoji", "LSaikoM", "L21", "Panel2"})
        EXPECT_FALSE(find(hidden)->isVisible()) << hidden;
    for (const char* shown : {"Comb2", "EMname", "RG6", "RG7", "BMonDel", "BFinp"})
        EXPECT_TRUE(find(shown)->isVisible()) << shown;
    ASSERT_EQ(focused(), find("Comb2"));
    EXPECT_EQ(text("LMsg"), QStringLiteral(u"【Ｅｎｔｅｒ】で問題名入力へ、【ＥＳＣ】で中止"));
    EXPECT_EQ(find<QLineEdit>("EMname")->text(), QStringLiteral(u"ユーザー１"));

    key(Qt::Key_Return);
    ASSERT_EQ(focused(), find("EMname"));
    EXPECT_EQ(text("LMsg"), QStringLiteral(u"【Ｅｎｔｅｒ】で問題入力へ、【ＥＳＣ】で中止"));
    QCoreApplication::processEvents();  // the whole name is selected: typing replaces it
    // Japanese comes from the input method as a committed string.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral(u"さくらの練習"));
    QApplication::sendEvent(focused(), &commit);
    key(Qt::Key_Return);
    ASSERT_EQ(focused(), sg3());
    EXPECT_EQ(text("LMsg"), QStringLiteral(u"【Ｆ１０】で登録、【ＥＳＣ】で中止"));
    EXPECT_EQ(find<QComboBox>("Comb2")->currentText(), QStringLiteral(u"さくらの練習"));

    chooseKind(1);
    ASSERT_EQ(focused(), sg3());
    QTest::mouseClick(find<QRadioButton>("RG7_2"), Qt::LeftButton);  // そのまま
    ASSERT_EQ(focused(), sg3());
    typeInGrid(QStringLiteral("sakkura"));
    EXPECT_EQ(row(1), QStringLiteral(u"さっくら"));
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    typeInGrid(QStringLiteral("kura"));
    EXPECT_EQ(row(1), QStringLiteral(u"さくら"));
    EXPECT_EQ(sg3()->currentColumn(), 4);
    (void)sg3()->viewport()->grab();  // the focused cell reports its place when drawn
    EXPECT_EQ(form->statusPanelText(0), QStringLiteral("  4 :   1 "));

    QString stored;
    answerNextMessageBox(QMessageBox::Ok, &stored);
    key(Qt::Key_F10);
    EXPECT_EQ(stored, QStringLiteral(u"問題を登録しました"));
    EXPECT_FALSE(sg3()->isVisible());
    EXPECT_TRUE(find("Comb1")->isVisible());
    EXPECT_TRUE(find("BStart")->isVisible());
    EXPECT_EQ(focused(), find("BStart"));
    EXPECT_EQ(text("LMsg"), QString());
    const ProblemRecord record = storedRecord(0);
    EXPECT_EQ(record.head.name, hayate::test::sj("さくらの練習"));
    EXPECT_EQ(record.head.count, 3);
    EXPECT_EQ(record.head.kind, kKindRomaji);
    EXPECT_EQ(record.head.unit, kUnitAsWritten);
    EXPECT_EQ(record.rows[0], hayate::test::sj("さくら"));
    auto* courses = find<QComboBox>("Comb1");
    EXPECT_EQ(courses->itemText(5), QStringLiteral(u"さくらの練習"));

    // Practised without a time limit: the text as written, repeated with a
    // space between, typed to its end.
    QTest::mouseClick(find<QRadioButton>("RG1_2"), Qt::LeftButton);
    courses->setFocus();
    courses->setCurrentIndex(4);
    key(Qt::Key_Down);
    ASSERT_EQ(form->state().courseIndex, 5);
    EXPECT_TRUE(find("L5")->isVisible());
    find("BStart")->setFocus();
    key(Qt::Key_F10);
    ASSERT_EQ(focused(), sg1());
    EXPECT_EQ(sg1()->cellText(1, 1) + sg1()->cellText(2, 1) + sg1()->cellText(3, 1) +
                  sg1()->cellText(4, 1) + sg1()->cellText(5, 1),
              QStringLiteral(u"さくら　さ"));
    EXPECT_EQ(sg1()->cellText(40, 50), QStringLiteral(u"　"));  // 500 passes of four cells
    bool finished = false;
    QString line1;
    auto* timer = new QTimer(form.get());
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
        TOKDlg* dlg = form->okDialog();
        if (!dlg->waiting() || !dlg->isVisible()) return;
        line1 = dlg->findChild<QLabel*>("L1")->text();
        finished = true;
        timer->deleteLater();
        QTest::mouseClick(dlg->yesButton(), Qt::LeftButton);
    });
    timer->start();
    const QString romaji[] = {QStringLiteral("sa"), QStringLiteral("ku"), QStringLiteral("ra")};
    for (int i = 0; i < 2000 && !finished; ++i) {
        if (i == 1999) ticks.now += 200000;
        if (i % 4 == 3) {
            QTest::keyClick(sg1(), Qt::Key_Space);
        } else {
            QTest::keyClicks(sg1(), romaji[i % 4]);
        }
    }
    EXPECT_TRUE(finished);
    EXPECT_EQ(line1, QStringLiteral(u"記録更新です"));
    EXPECT_EQ(text("LMiss"), QStringLiteral("    0"));
    EXPECT_EQ(text("LMoji"), QStringLiteral(" 2000"));
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("600"));  // 2000 in 200 s
}

TEST_F(Editor, GridKeysCursorAndLeavingWithoutStoring) {
    openEditor();
    QTest::mouseClick(find<QRadioButton>("RG6_0"), Qt::LeftButton);
    ASSERT_EQ(focused(), sg3());
    EXPECT_EQ(form->statusPanelText(3), QStringLiteral(u"英大文字"));
    typeInGrid(QStringLiteral("ab1 [x"));
    EXPECT_EQ(row(1), QStringLiteral(u"ＡＢ１　［Ｘ"));
    // The cursor mark: yellow under the insertion position, white elsewhere.
    const auto background = [this](int c, int r) {
        const QRect rect = sg3()->cellRect(c, r);
        return sg3()->viewport()->grab().toImage().pixelColor(rect.right() - 1, rect.bottom() - 1);
    };
    EXPECT_EQ(background(7, 1), QColor(255, 255, 0));
    EXPECT_EQ(background(6, 1), QColor(255, 255, 255));

    // Delete empties the cell under the cursor and stays; a store keeps the
    // characters in front of it.
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Delete);
    EXPECT_EQ(sg3()->cellText(5, 1), QString());
    EXPECT_EQ(sg3()->currentColumn(), 5);
    EXPECT_EQ(sg3()->cellText(6, 1), QStringLiteral(u"Ｘ"));

    // A click moves the insertion position; typing overwrites from there.
    QTest::mouseClick(sg3()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      sg3()->cellRect(2, 1).center());
    typeInGrid(QStringLiteral("z"));
    EXPECT_EQ(sg3()->cellText(2, 1), QStringLiteral(u"Ｚ"));
    EXPECT_EQ(sg3()->currentColumn(), 3);

    // Backspace at column 1 of row 2 goes back to column 40 of row 1.
    key(Qt::Key_Down);
    key(Qt::Key_Home);
    EXPECT_EQ(sg3()->currentRow(), 2);
    EXPECT_EQ(sg3()->currentColumn(), 1);
    key(Qt::Key_Backspace);
    EXPECT_EQ(sg3()->currentRow(), 1);
    EXPECT_EQ(sg3()->currentColumn(), 40);

    // The last cell keeps the cursor; what finds no cell is dropped.
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(sg3()->currentRow(), 50);
    typeInGrid(QStringLiteral("pq"));
    EXPECT_EQ(sg3()->cellText(40, 50), QStringLiteral(u"Ｑ"));
    EXPECT_EQ(sg3()->currentColumn(), 40);
    EXPECT_EQ(sg3()->currentRow(), 50);

    // The romaji kind turns brackets into corner brackets.
    chooseKind(1);
    key(Qt::Key_Home, Qt::ControlModifier);
    typeInGrid(QStringLiteral("["));
    EXPECT_EQ(sg3()->cellText(1, 1), QStringLiteral(u"「"));

    // A name left without Enter is dropped.
    QTest::mouseClick(find("EMname"), Qt::LeftButton);
    QTest::keyClicks(focused(), QStringLiteral("zzz"));
    QTest::mouseClick(sg3()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      sg3()->cellRect(1, 1).center());
    EXPECT_EQ(find<QLineEdit>("EMname")->text(), QStringLiteral(u"ユーザー１"));

    // Tab moves on from the grid like from any other control.
    ASSERT_EQ(focused(), sg3());
    key(Qt::Key_Tab);
    EXPECT_NE(focused(), sg3());
    EXPECT_NE(text("LMsg"), QStringLiteral(u"【Ｆ１０】で登録、【ＥＳＣ】で中止"));
    sg3()->setFocus();

    // Esc leaves without storing; the next entry shows the stored slot again.
    key(Qt::Key_Escape);
    EXPECT_FALSE(sg3()->isVisible());
    EXPECT_EQ(focused(), find("BStart"));
    EXPECT_EQ(storedRecord(0).head.count, 0);
    openEditor();
    EXPECT_EQ(filledCells(), 0);
    EXPECT_TRUE(find<QRadioButton>("RG6_0")->isChecked());
    key(Qt::Key_Escape);
    EXPECT_FALSE(sg3()->isVisible());
}

TEST_F(Editor, SlotListShowsTheChosenSlotAndTheMenuWaitsWhileEditing) {
    storeBeforehand(3, "小文字", {"ａｂｃ", "ｄｅ"}, kKindLowerCase, kUnitWord);
    open();
    openEditor();
    find("Comb2")->setFocus();
    for (int i = 0; i < 3; ++i) key(Qt::Key_Down);
    EXPECT_EQ(find<QLineEdit>("EMname")->text(), QStringLiteral(u"小文字"));
    EXPECT_EQ(row(1), QStringLiteral(u"ａｂｃ"));
    EXPECT_EQ(row(2), QStringLiteral(u"ｄｅ"));
    EXPECT_TRUE(find<QRadioButton>("RG6_2")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("RG7_1")->isChecked());
    // Kind 2 asks for lower case; the focus follows the setting into the grid.
    EXPECT_EQ(form->statusPanelText(3), QStringLiteral(u"英小文字"));
    EXPECT_EQ(focused(), sg3());
    // The records screens and a second entry do nothing while editing.
    menu("SeiDsp")->trigger();
    menu("SeiUpd")->trigger();
    menu("MonSaku")->trigger();
    EXPECT_FALSE(find("SG2")->isVisible());
    EXPECT_EQ(row(1), QStringLiteral(u"ａｂｃ"));
    // Typed lower case stays lower case in kind 2.
    key(Qt::Key_End);
    typeInGrid(QStringLiteral("X"));
    EXPECT_EQ(sg3()->cellText(40, 1), QStringLiteral(u"ｘ"));
    // The editor's slot survives leaving.
    key(Qt::Key_Escape);
    openEditor();
    EXPECT_EQ(find<QComboBox>("Comb2")->currentIndex(), 3);
}

TEST_F(Editor, TheNameFieldTakesWhatTheProblemKeeps) {
    openEditor();
    auto* name = find<QLineEdit>("EMname");
    struct Case {
        QString typed;  // committed by the input method at once, or typed key by key
        bool atOnce;
        QString kept;
    };
    const QString kana20 = QStringLiteral(u"あいうえおかきくけこさしすせそたちつてと");
    for (const Case& c : {Case{kana20, true, kana20.left(12)}, Case{kana20, false, kana20.left(12)},
                          Case{QString(30, QChar('w')), false, QString(24, QChar('w'))},
                          Case{QStringLiteral(u"ab練習cdefghijklmnopqrstuvwxyz"), true,
                               QStringLiteral(u"ab練習cdefghijklmnopqrst")}}) {
        name->setFocus();
        name->clear();
        if (c.atOnce) {
            QInputMethodEvent commit;
            commit.setCommitString(c.typed);
            QApplication::sendEvent(name, &commit);
        } else {
            for (QChar ch : c.typed) {
                QInputMethodEvent commit;
                commit.setCommitString(QString(ch));
                QApplication::sendEvent(name, &commit);
            }
        }
        EXPECT_EQ(name->text(), c.kept) << c.typed.toStdString();
        key(Qt::Key_Return);
        EXPECT_EQ(name->text(), c.kept);  // Enter no longer cuts what is shown
    }
}

TEST_F(Editor, StoringTheCurrentCoursesProblemFollowsItsNewKind) {
    storeBeforehand(0, "切り替え", {"ＡＢ"}, kKindUpperCase, kUnitAsWritten);
    open();
    auto* courses = find<QComboBox>("Comb1");
    courses->setFocus();
    courses->setCurrentIndex(4);
    key(Qt::Key_Down);
    ASSERT_EQ(form->state().courseIndex, 5);
    EXPECT_FALSE(find("L5")->isVisible());
    openEditor();
    chooseKind(1);
    typeInGrid(QStringLiteral("ka"));
    answerNextMessageBox(QMessageBox::Ok);
    key(Qt::Key_F10);
    ASSERT_FALSE(sg3()->isVisible());
    EXPECT_TRUE(find("L5")->isVisible());
    key(Qt::Key_F10);
    ASSERT_EQ(focused(), sg1());
    EXPECT_EQ(sg1()->cellText(1, 1), QStringLiteral(u"か"));
    QTest::keyClicks(sg1(), QStringLiteral("ka"));
    EXPECT_EQ(text("LMoji"), QStringLiteral("    1"));
    EXPECT_EQ(text("LMiss"), QStringLiteral("    0"));
}

TEST_F(Editor, FailedStoreKeepsTheEditorAndItsText) {
    openEditor();
    QTest::mouseClick(find<QRadioButton>("RG6_3"), Qt::LeftButton);
    typeInGrid(QStringLiteral("Keep"));
    // The problem file cannot be written: a folder stands in its place.
    std::filesystem::remove(dir / "Kbdojo.USR");
    std::filesystem::create_directory(dir / "Kbdojo.USR");
    QString said;
    answerNextMessageBox(QMessageBox::Ok, &said);
    key(Qt::Key_F10);
    EXPECT_EQ(said,
              QStringLiteral(u"問題を登録できませんでした\n入力した問題は消えずに残っています"));
    EXPECT_TRUE(sg3()->isVisible());
    EXPECT_EQ(row(1), QStringLiteral(u"Ｋｅｅｐ"));
    EXPECT_EQ(focused(), sg3());
    // Once the file can be written again, the same text is stored.
    std::filesystem::remove(dir / "Kbdojo.USR");
    answerNextMessageBox(QMessageBox::Ok, &said);
    key(Qt::Key_F10);
    EXPECT_EQ(said, QStringLiteral(u"問題を登録しました"));
    EXPECT_EQ(storedRecord(0).rows[0], hayate::test::sj("Ｋｅｅｐ"));
}

TEST_F(Editor, DeletingTheCurrentCoursesProblemEmptiesEveryRow) {
    storeBeforehand(2, "三番", {"ＡＢＣ", "", "ＸＹＺ"}, kKindUpperCase, kUnitAsWritten);
    open();
    auto* courses = find<QComboBox>("Comb1");
    courses->setFocus();
    courses->setCurrentIndex(6);
    key(Qt::Key_Down);
    ASSERT_EQ(form->state().courseIndex, 7);
    openEditor();
    find("Comb2")->setFocus();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(row(1), QStringLiteral(u"ＡＢＣ"));
    EXPECT_EQ(row(3), QStringLiteral(u"ＸＹＺ"));

    QString asked;
    answerNextMessageBox(QMessageBox::No, &asked);
    QTest::mouseClick(find<QPushButton>("BMonDel"), Qt::LeftButton);
    EXPECT_EQ(asked, QStringLiteral(u"今の問題を削除しますか"));
    EXPECT_EQ(focused(), sg3());
    EXPECT_EQ(storedRecord(2).head.count, 6);

    answerNextMessageBox(QMessageBox::Yes);
    QTest::mouseClick(find<QPushButton>("BMonDel"), Qt::LeftButton);
    EXPECT_EQ(form->state().courseIndex, 0);
    EXPECT_EQ(courses->currentIndex(), 0);
    EXPECT_EQ(filledCells(), 0);  // row 3 too, though row 2 was empty
    EXPECT_EQ(sg3()->currentColumn(), 1);
    EXPECT_EQ(sg3()->currentRow(), 1);
    EXPECT_EQ(focused(), sg3());
    EXPECT_TRUE(sg3()->isVisible());
    const ProblemRecord record = storedRecord(2);
    EXPECT_EQ(record.head.count, 0);
    EXPECT_EQ(record.head.name, hayate::test::sj("三番"));
    EXPECT_EQ(record.rows[2], std::string());
}

TEST_F(Editor, ImportTakesWhatTheKindAcceptsFromShiftJisAndUtf8) {
    openEditor();
    chooseKind(0);
    typeInGrid(QStringLiteral("0123456789"));
    importFile("abc 123\r\n");
    EXPECT_EQ(row(1), QStringLiteral(u"ＡＢＣ　１２３"));
    EXPECT_EQ(filledCells(), 7);  // the cells after the text are emptied
    EXPECT_EQ(focused(), sg3());
    EXPECT_EQ(sg3()->currentColumn(), 1);

    chooseKind(1);
    importFile("abc 123\r\n");
    EXPECT_EQ(row(1), QStringLiteral(u"　１２３"));
    // Shift-JIS lines follow each other in one run of cells.
    importFile(hayate::test::sj("あいう\r\nえお\r\n"));
    EXPECT_EQ(row(1), QStringLiteral(u"あいうえお"));
    // UTF-8 with line feeds; きゃ takes two cells. Kanji and katakana become
    // their readings, once the preview is confirmed; without a dictionary
    // they are dropped, and a notice says why.
    form->findChild<EditorView*>()->setPreviewConfirm([](ReadingPreviewDialog&) { return true; });
    const bool readings = ReadingService().source() != nullptr;
    QString notice;
    importFile(
        "\xEF\xBB\xBF"
        "きゃく漢字カナ\nです。\n",
        readings ? nullptr : &notice);
    EXPECT_EQ(row(1), readings ? QStringLiteral(u"きゃくかんじかなです。")
                               : QStringLiteral(u"きゃくです。"));
    EXPECT_EQ(notice.isEmpty(), readings);
    // Kind 0 drops the kana of a UTF-8 file and takes its letters.
    chooseKind(0);
    importFile("きゃく\nabc\n");
    EXPECT_EQ(row(1), QStringLiteral(u"ＡＢＣ"));

    // Nothing but empty lines: a message, the grid as it was.
    QString said;
    importFile("\r\n\r\n", &said);
    EXPECT_EQ(said, QStringLiteral(u"テキストファイルが空です"));
    EXPECT_EQ(row(1), QStringLiteral(u"ＡＢＣ"));

    // A huge file without line ends is read only as far as the grid can use.
    importFile(std::string(std::size_t{9} << 20, 'x') + "\r\n");
    EXPECT_EQ(filledCells(), 2000);
    EXPECT_EQ(sg3()->cellText(40, 50), QStringLiteral(u"Ｘ"));
    importFile("ABC\r\n");

    // Cancelling the dialog changes nothing and gives the grid the focus.
    find("Comb2")->setFocus();
    FileDialogSeen seen;
    answerFileDialog(QString(), &seen);
    QTest::mouseClick(find<QPushButton>("BFinp"), Qt::LeftButton);
    EXPECT_EQ(row(1), QStringLiteral(u"ＡＢＣ"));
    EXPECT_EQ(focused(), sg3());
    EXPECT_EQ(seen.folder, QString::fromStdString(std::filesystem::canonical(dir.path()).string()));
    EXPECT_TRUE(seen.filters.value(0).startsWith(QStringLiteral("*.TXT")));
}

TEST_F(Editor, ImportOfWhatIsNoTextSaysSoAndKeepsTheGrid) {
    openEditor();
    chooseKind(1);
    importFile(hayate::test::sj("あい\r\n"));
    ASSERT_EQ(row(1), QStringLiteral(u"あい"));
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    const QString notText =
        QStringLiteral(u"テキストファイルではありません\n入力中の問題はそのままです");
    const struct {
        const char* name;
        std::string bytes;
        QString message;
        bool focusInGrid;
    } cases[] = {
        {"pipe.txt", "", notText, true},
        {"picture.txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), notText, true},
        {"controls.txt", "\x01\x02\r\n\t\r\n", QStringLiteral(u"テキストファイルが空です"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty()) writeBytes(dir / c.name, c.bytes);
        QString said;
        answerNextMessageBox(QMessageBox::Ok, &said);
        answerFileDialog(QString::fromStdString((dir / c.name).string()));
        QTest::mouseClick(find<QPushButton>("BFinp"), Qt::LeftButton);
        EXPECT_EQ(said, c.message);
        EXPECT_EQ(row(1), QStringLiteral(u"あい"));
        EXPECT_EQ(focused() == sg3(), c.focusInGrid);
    }
}

}  // namespace
}  // namespace hayate::gui::test
