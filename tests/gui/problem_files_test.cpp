// The problem file commands of the menu: creating a file through the input
// box and switching to another file through the file-open dialog.
#include <QAction>
#include <QComboBox>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "file_dialogs.h"
#include "form_fixture.h"
#include "problems/problem_file.h"
#include "support/sjis_test_support.h"
#include "support/small_disk.h"

namespace hayate::gui::test {
namespace {

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ProblemFiles : public FormTest {
  protected:
    QStringList courseNames() const {
        QStringList names;
        auto* courses = find<QComboBox>("Comb1");
        for (int i = 5; i < courses->count(); ++i) names << courses->itemText(i);
        return names;
    }
    // A second problem file whose slot 4 holds a named problem.
    std::filesystem::path otherFile(int kindOfSlot9 = 0) {
        const std::filesystem::path path = dir / "other.USR";
        EXPECT_TRUE(writeNewProblemFile(path));
        ProblemFile problems(path);
        EXPECT_TRUE(problems.listProblems());
        StoredText text;
        text.rows[0] = hayate::test::sj("ＡＢ");
        text.count = 2;
        EXPECT_NE(problems.storeProblem(4, text, hayate::test::sj("別の問題"), 0, 0),
                  StoreResult::Failed);
        if (kindOfSlot9 != 0) {
            std::string bytes = readFile(path);
            bytes[9 * kProblemRecordBytes + 4] = static_cast<char>(kindOfSlot9);
            std::ofstream(path, std::ios::binary) << bytes;
        }
        return path;
    }
    void switchTo(const std::filesystem::path& path, QString* message) {
        answerNextMessageBox(QMessageBox::Ok, message);
        answerFileDialog(QString::fromStdString(path.string()));
        find<QAction>("FileHen")->trigger();
    }
    // A stored problem in slot 0 made the current course.
    void practiseSlot0() {
        form.reset();
        {
            ProblemFile problems(dir / "Kbdojo.USR");
            ASSERT_TRUE(problems.listProblems());
            StoredText text;
            text.rows[0] = hayate::test::sj("ＸＹ");
            text.count = 2;
            ASSERT_NE(problems.storeProblem(0, text, hayate::test::sj("元の問題"), 0, 0),
                      StoreResult::Failed);
        }
        open();
        auto* courses = find<QComboBox>("Comb1");
        courses->setFocus();
        courses->setCurrentIndex(4);
        key(Qt::Key_Down);
        ASSERT_EQ(form->state().courseIndex, 5);
    }
};

TEST_F(ProblemFiles, CreateAppendsUsrAndRefusesAnExistingName) {
    QString caption, prompt, said;
    answerInputBox(QStringLiteral("abc"), false, &caption, &prompt);
    answerNextMessageBox(QMessageBox::Ok, &said);
    find<QAction>("FileSaku")->trigger();
    EXPECT_EQ(caption, QStringLiteral(u"問題ファイルの新規作成"));
    EXPECT_EQ(prompt, QStringLiteral(u"新規作成の問題ファイル名を入力してください"));
    EXPECT_EQ(said, QStringLiteral(u"問題ファイルを作成しました"));
    ASSERT_TRUE(std::filesystem::exists(dir / "abc.USR"));
    EXPECT_EQ(std::filesystem::file_size(dir / "abc.USR"), kProblemFileBytes);
    // The new file is not switched to.
    EXPECT_EQ(form->state().problemFileName, "Kbdojo.USR");

    // The same name again: only the message, the file as it was.
    { std::ofstream(dir / "abc.USR", std::ios::binary | std::ios::app) << "x"; }
    said.clear();
    answerInputBox(QStringLiteral("abc"));
    answerNextMessageBox(QMessageBox::Ok, &said);
    find<QAction>("FileSaku")->trigger();
    EXPECT_EQ(said, QStringLiteral(u"ファイルが存在します"));
    EXPECT_EQ(std::filesystem::file_size(dir / "abc.USR"), kProblemFileBytes + 1);

    // A name with a "." keeps it.
    answerInputBox(QStringLiteral("abc.txt"));
    answerNextMessageBox(QMessageBox::Ok);
    find<QAction>("FileSaku")->trigger();
    EXPECT_TRUE(std::filesystem::exists(dir / "abc.txt"));

    // Cancelled or empty: nothing.
    answerInputBox(QStringLiteral("never"), true);
    find<QAction>("FileSaku")->trigger();
    answerInputBox(QString());
    find<QAction>("FileSaku")->trigger();
    EXPECT_FALSE(std::filesystem::exists(dir / "never.USR"));
    EXPECT_FALSE(std::filesystem::exists(dir / ".USR"));
}

TEST_F(ProblemFiles, SwitchToAValidFileMakesCourseZeroCurrentAndWritesTheSetting) {
    practiseSlot0();
    const std::filesystem::path other = otherFile();
    find<QAction>("MonSaku")->trigger();
    find("Comb2")->setFocus();
    for (int i = 0; i < 3; ++i) key(Qt::Key_Down);  // the editor is open on slot 3
    find("SG3")->setFocus();
    type(QStringLiteral("QZ"));
    QString said;
    FileDialogSeen seen;
    answerNextMessageBox(QMessageBox::Ok, &said);
    answerFileDialog(QString::fromStdString(other.string()), &seen);
    find<QAction>("FileHen")->trigger();
    EXPECT_EQ(seen.name, QStringLiteral("OpenDialog1"));
    EXPECT_TRUE(seen.filters.value(0).startsWith(QStringLiteral("*.USR")));
    // Qt's own texts in Japanese, and every column of the file list in view.
    EXPECT_TRUE(seen.texts.contains(QStringLiteral(u"キャンセル")))
        << seen.texts.join('|').toStdString();
    EXPECT_FALSE(seen.texts.contains(QStringLiteral("Look in:")));
    EXPECT_FALSE(seen.texts.contains(QStringLiteral("Cancel")));
    EXPECT_TRUE(seen.columnsFit);
    EXPECT_EQ(said, QStringLiteral(u"問題ファイルを変更しました"));
    EXPECT_EQ(form->state().courseIndex, 0);
    EXPECT_EQ(find<QComboBox>("Comb1")->currentIndex(), 0);
    EXPECT_EQ(courseNames().value(4), QStringLiteral(u"別の問題"));
    EXPECT_EQ(courseNames().value(0), QStringLiteral(u"ユーザー１"));
    auto* slotList = find<QComboBox>("Comb2");
    EXPECT_EQ(slotList->currentIndex(), 3);
    EXPECT_EQ(slotList->itemText(4), QStringLiteral(u"別の問題"));
    EXPECT_EQ(form->state().problemFileName, other.string());
    const std::string ini = readFile(dir / "hayateuchi.INI");
    EXPECT_NE(ini.find(hayate::test::sj("問題ファイル名") + "=" + other.string()),
              std::string::npos)
        << ini;
    // The open editor keeps its grid and stores it into slot 3 of the new file.
    find("SG3")->setFocus();
    answerNextMessageBox(QMessageBox::Ok);
    key(Qt::Key_F10);
    EXPECT_FALSE(find("SG3")->isVisible());
    ProblemFile stored(other);
    ASSERT_TRUE(stored.listProblems());
    ASSERT_TRUE(stored.loadSlot(3));
    EXPECT_EQ(stored.loadedText()[0], hayate::test::sj("ＱＺ"));
    EXPECT_EQ(stored.head(0).count, 0);
    EXPECT_EQ(stored.head(0).name, hayate::test::sj("ユーザー１"));
    EXPECT_EQ(stored.head(4).name, hayate::test::sj("別の問題"));

    // The next start lists the new file.
    open();
    EXPECT_EQ(courseNames().value(4), QStringLiteral(u"別の問題"));
}

TEST_F(ProblemFiles, SwitchToAFileThatIsNoProblemFileChangesNothing) {
    practiseSlot0();
    QString said;
    switchTo(otherFile(7), &said);
    EXPECT_EQ(said, QStringLiteral(u"問題用のファイルではありません"));
    EXPECT_EQ(form->state().courseIndex, 5);
    EXPECT_EQ(courseNames().value(0), QStringLiteral(u"元の問題"));
    EXPECT_EQ(courseNames().value(4), QStringLiteral(u"ユーザー５"));
    EXPECT_EQ(form->state().problemFileName, "Kbdojo.USR");
    EXPECT_FALSE(std::filesystem::exists(dir / "hayateuchi.INI"));

    // Too short to hold ten records.
    std::ofstream(dir / "short.USR", std::ios::binary)
        << std::string(kProblemRecordBytes * 9, '\0');
    said.clear();
    switchTo(dir / "short.USR", &said);
    EXPECT_EQ(said, QStringLiteral(u"問題用のファイルではありません"));
    EXPECT_EQ(courseNames().value(0), QStringLiteral(u"元の問題"));

    // Cancelling the dialog does nothing at all.
    answerFileDialog(QString());
    find<QAction>("FileHen")->trigger();
    EXPECT_EQ(form->state().problemFileName, "Kbdojo.USR");
}

TEST_F(ProblemFiles, OnAFullDiskEveryCommandSaysWhatFailed) {
    hayate::test::SmallDisk disk(64);
    HAYATE_NEED_SMALL_DISK(disk);
    const std::filesystem::path other = otherFile();
    // The settings file lies on the full disk, through a link the program follows.
    std::filesystem::create_symlink(disk / "hayateuchi.INI", dir / "hayateuchi.INI");
    disk.fill();
    struct Case {
        const char* what;
        std::function<void()> run;
        QString message;
        std::vector<QMessageBox::StandardButton> answers = {QMessageBox::Ok};
    };
    const Case cases[] = {
        {"環境 › 保存",
         [&] { find<QAction>("Hozon")->trigger(); },
         QStringLiteral(
             u"現在の設定を保存できませんでした\n次回の起動時には前回保存した設定が使われます"),
         {QMessageBox::Yes, QMessageBox::Ok}},
        {"ﾌｧｲﾙ作成",
         [&] {
             answerInputBox(QString::fromStdString((disk / "new").string()));
             find<QAction>("FileSaku")->trigger();
         },
         QStringLiteral(u"問題ファイルを作成できませんでした\nディスクの空きと書き込みの許可を確認"
                        u"してください")},
        {"ﾌｧｲﾙ変更",
         [&] {
             answerFileDialog(QString::fromStdString(other.string()));
             find<QAction>("FileHen")->trigger();
         },
         QStringLiteral(u"問題ファイルを変更しました\n設定ファイルに書き込めないため、次回の起動時"
                        u"は元の問題ファイルに戻ります")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList seen;
        answerMessageBoxes(c.answers, &seen);
        c.run();
        EXPECT_EQ(seen.value(seen.size() - 1), c.message);
    }
    EXPECT_FALSE(std::filesystem::exists(disk / "new.USR"));
    EXPECT_FALSE(std::filesystem::exists(dir / "hayateuchi.INI"));  // the link still dangles
    EXPECT_EQ(form->state().problemFileName, other.string());       // the switch holds for the run
}

}  // namespace
}  // namespace hayate::gui::test
