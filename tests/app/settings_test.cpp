#include "app/settings.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

#include "app/ini_file.h"
#include "platform/safe_file.h"
#include "support/sjis_test_support.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace hayate {
namespace {

using test::sj;

class ScriptedDialogs : public SettingsDialogs {
  public:
    bool answer = true;
    std::string asked;
    std::string confirmed;
    bool askToSave(std::string_view q) override {
        asked = std::string(q);
        return answer;
    }
    void confirmSaved(std::string_view m) override { confirmed = std::string(m); }
    void reportNotSaved(std::string_view m) override { failure = std::string(m); }
    std::string failure;
};

class SettingsTest : public ::testing::Test {
  protected:
    void write(const std::string& content) { ASSERT_TRUE(replaceFileAtomically(file, content)); }
    SharedState read() {
        SharedState s;
        s.courseIndex = s.timeLimitIndex = s.spacing = s.cursorColour = s.letterCase = 1;
        s.romajiExtended = 1;
        s.inputMethod = InputMethod::Kana;
        s.problemFileName = "stale";
        readSettings(file, s);
        return s;
    }
    std::string content() { return readWholeFile(file).value_or("<missing>"); }

    test::TempDir dir;
    std::filesystem::path file = dir / "Kbdojo.INI";
};

TEST_F(SettingsTest, FileNameFollowsTheExecutable) {
    EXPECT_EQ(settingsFilePath("/opt/hayate/Kbdojo.exe", "/opt/hayate"), "/opt/hayate/Kbdojo.INI");
    EXPECT_EQ(settingsFilePath("/opt/hayate/hayateuchi", "/home/u/.local/share/h"),
              "/home/u/.local/share/h/hayateuchi.INI");
}

TEST_F(SettingsTest, NoFileGivesTheDefaultsAndCreatesNothing) {
    const SharedState s = read();
    EXPECT_EQ(s.courseIndex, 0);
    EXPECT_EQ(s.timeLimitIndex, 0);
    EXPECT_EQ(s.spacing, 0);
    EXPECT_EQ(s.cursorColour, 0);
    EXPECT_EQ(s.letterCase, 0);
    EXPECT_EQ(s.romajiExtended, 0);
    EXPECT_EQ(s.inputMethod, InputMethod::Romaji);
    EXPECT_EQ(s.problemFileName, "Kbdojo.USR");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SettingsTest, ReadsAcceptedValues) {
    write(
        sj("[Init]\r\nコース=3\r\n制限時間=2\r\n空白有無=1\r\n入力カーソル色=1\r\n"
           "英大文字小文字=1\r\n問題ファイル名=練習.USR\r\nローマ字拡張=1\r\n"));
    const SharedState s = read();
    EXPECT_EQ(s.romajiExtended, 1);
    EXPECT_EQ(s.courseIndex, 3);
    EXPECT_EQ(s.timeLimitIndex, 2);
    EXPECT_EQ(s.spacing, 1);
    EXPECT_EQ(s.cursorColour, 1);
    EXPECT_EQ(s.letterCase, 1);
    EXPECT_EQ(s.problemFileName, "練習.USR");  // the system's name, not the file's bytes
}

TEST_F(SettingsTest, ValuesNotAcceptedGiveTheStartValue) {
    // A saved user-problem course, out-of-range and non-numeric values.
    write(
        sj("[Init]\r\nコース=7\r\n制限時間=3\r\n空白有無=-1\r\n入力カーソル色=1x\r\n"
           "英大文字小文字=99999999999999999999\r\nローマ字拡張=2\r\n"));
    SharedState s = read();
    EXPECT_EQ(s.romajiExtended, 0);
    EXPECT_EQ(s.courseIndex, 0);
    EXPECT_EQ(s.timeLimitIndex, 0);
    EXPECT_EQ(s.spacing, 0);
    EXPECT_EQ(s.cursorColour, 0);
    EXPECT_EQ(s.letterCase, 0);

    // The romaji key takes "1" alone, not the lenient reading of the older keys.
    for (const char* v : {"1x", "01", "-1", "", "yes"}) {
        write(sj("[Init]\r\nローマ字拡張=") + v + "\r\n");
        EXPECT_EQ(read().romajiExtended, 0) << v;
    }
    write(sj("[Init]\r\nローマ字拡張=") + "1\r\n");
    EXPECT_EQ(read().romajiExtended, 1);
    write(sj("[Init]\r\n制限時間=abc\r\nコース= 4 \r\n空白有無=\"1\"\r\n"));
    s = read();
    EXPECT_EQ(s.timeLimitIndex, 0);
    EXPECT_EQ(s.courseIndex, 4);
    EXPECT_EQ(s.spacing, 1);
}

TEST_F(SettingsTest, UnusableProblemFileNamesFallBackToTheDefault) {
    for (const std::string& value :
         {std::string(""), std::string(4096, 'a'), std::string("a\x01.USR"), std::string("\x82")}) {
        write(sj("[Init]\r\n問題ファイル名=") + value + "\r\n");
        EXPECT_EQ(read().problemFileName, "Kbdojo.USR") << value.size();
    }
    write(sj("[Init]\r\n問題ファイル名=") + std::string(4095, 'b') + "\r\n");
    EXPECT_EQ(read().problemFileName, std::string(4095, 'b'));
}

TEST_F(SettingsTest, ProblemFileNamesAreShiftJisInTheFileAndReadBackUnchanged) {
    const std::string deep = "/" + std::string(250, 'd') + "/" + std::string(250, 'e') + "/x.USR";
    struct Case {
        std::string name;  // as the file system names it (UTF-8)
        bool storable;
    };
    for (const Case& c : {Case{"/home/太郎/問題～１.USR", true}, Case{"plain.USR", true},
                          Case{deep, true}, Case{"/tmp/😀.USR", false},
                          Case{"/tmp/\xff\xfe.USR", false}, Case{std::string(4096, 'l'), false}}) {
        write("[Init]\r\n");
        EXPECT_EQ(writeProblemFileName(file, c.name), c.storable) << c.name.size();
        EXPECT_EQ(settingsFormOfProblemFileName(c.name).has_value(), c.storable);
        if (!c.storable) {
            EXPECT_EQ(content(), "[Init]\r\n");
            continue;
        }
        EXPECT_EQ(content(), "[Init]\r\n" + sj("問題ファイル名=" + c.name) + "\r\n");
        EXPECT_EQ(read().problemFileName, c.name);
    }
}

TEST_F(SettingsTest, AnUnconvertedNameOfAnEarlierVersionStillFindsItsFile) {
    const std::string utf8Name = (dir / "問題.USR").string();
    ASSERT_TRUE(replaceFileAtomically(utf8Name, "x"));
    write(sj("[Init]\r\n問題ファイル名=") + utf8Name + "\r\n");
    EXPECT_EQ(read().problemFileName, utf8Name);
}

TEST_F(SettingsTest, AnUnreadableFileReadsAsDefaults) {
    std::filesystem::create_directory(file);  // a folder in its place
    EXPECT_EQ(read().courseIndex, 0);
    EXPECT_EQ(read().problemFileName, "Kbdojo.USR");
    std::filesystem::remove(file);
    write(sj("[Init]\r\nコース=2\r\n"));
    std::filesystem::permissions(file, std::filesystem::perms::none);
    test::asUnprivilegedUser(dir.path(), [&] {
        EXPECT_EQ(read().courseIndex, 0);
        EXPECT_EQ(read().timeLimitIndex, 0);
    });
}

TEST_F(SettingsTest, NamesMatchWithoutAsciiCaseButTrailBytesAreExact) {
    // ベ is 83 78 and ス 83 58: folding the second byte would make them equal.
    write(sj("[INIT]\r\nコーベ=2\r\n制限時間=2\r\n"));
    const SharedState s = read();
    EXPECT_EQ(s.timeLimitIndex, 2);
    EXPECT_EQ(s.courseIndex, 0);
}

TEST_F(SettingsTest, BinaryGarbageReadsAsDefaults) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) % 256));
    write(garbage);
    const SharedState s = read();
    EXPECT_EQ(s.courseIndex, 0);
    EXPECT_EQ(s.timeLimitIndex, 0);
    EXPECT_EQ(s.problemFileName, "Kbdojo.USR");
}

// A settings file of megabytes is read no further than a real one could
// reach; a line cut by the limit is not read as a shorter value.
TEST_F(SettingsTest, OnlyTheStartOfAnOverlongFileIsRead) {
    const auto padding = [](std::size_t bytes) {
        const std::string line = "; " + std::string(60, '-') + "\r\n";
        std::string out;
        while (out.size() + line.size() <= bytes) out += line;
        return out + std::string(bytes - out.size(), ' ');
    };
    const std::string header = sj("[Init]\r\n制限時間=1\r\n");
    const std::string course12 = sj("コース=12");
    struct Case {
        const char* name;
        std::string content;
        int course;
    };
    const Case cases[] = {
        {"key within the limit", header + sj("コース=3\r\n") + padding(200 * 1024), 3},
        {"key beyond the limit", header + padding(kMaxSettingsBytes) + sj("コース=3\r\n"), 0},
        // Cut after its "1", the line would give course 1.
        {"line across the limit",
         header + padding(kMaxSettingsBytes - header.size() - course12.size() + 1) + course12 +
             "\r\n",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.content);
        const SharedState s = read();
        EXPECT_EQ(s.courseIndex, c.course);
        EXPECT_EQ(s.timeLimitIndex, 1);
    }
}

TEST_F(SettingsTest, AFifoInThePlaceOfTheFileIsNeverWaitedFor) {
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return read(); });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Lets the blocked reader go, so that the test ends.
        const int fd = ::open(file.c_str(), O_WRONLY);
        ::close(fd);
        FAIL() << "the settings file was opened as a FIFO and waited for";
    }
    const SharedState s = reading.get();
    EXPECT_EQ(s.courseIndex, 0);
    EXPECT_EQ(s.problemFileName, "Kbdojo.USR");
}

TEST_F(SettingsTest, SavingOverAFifoOrDeviceFailsAtOnceAndSaysSo) {
    const struct {
        const char* name;
        std::function<int()> make;
    } cases[] = {
        {"FIFO", [&] { return ::mkfifo(file.c_str(), 0600); }},
        {"link to /dev/zero", [&] { return ::symlink("/dev/zero", file.c_str()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(file);
        ASSERT_EQ(c.make(), 0);
        ScriptedDialogs dialogs;
        auto saving =
            std::async(std::launch::async, [&] { return saveSettings(file, SharedState{}, dialogs); });
        if (saving.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            const int fd = ::open(file.c_str(), O_WRONLY | O_NONBLOCK);
            ::close(fd);
            FAIL() << "saving waited on the file";
        }
        EXPECT_EQ(saving.get(), SaveResult::Failed);
        EXPECT_FALSE(dialogs.failure.empty());
        EXPECT_TRUE(dialogs.confirmed.empty());
        EXPECT_FALSE(std::filesystem::is_regular_file(file));
    }
}

TEST_F(SettingsTest, SaveWritesTheSixChoicesAndConfirms) {
    SharedState s;
    s.courseIndex = 7;  // a user problem is written unchanged
    s.timeLimitIndex = 1;
    s.spacing = 1;
    s.cursorColour = 0;
    s.letterCase = 1;
    s.romajiExtended = 1;
    s.problemFileName = "other.USR";
    ScriptedDialogs dialogs;
    EXPECT_EQ(saveSettings(file, s, dialogs), SaveResult::Saved);
    EXPECT_EQ(dialogs.asked, sjisText(UserText::SaveSettingsQuestion));
    EXPECT_EQ(dialogs.confirmed, sjisText(UserText::SettingsSavedMessage));
    EXPECT_EQ(content(), sj("[Init]\r\nコース=7\r\n制限時間=1\r\n空白有無=1\r\n入力カーソル色=0\r\n"
                            "英大文字小文字=1\r\nローマ字拡張=1\r\n"));
}

TEST_F(SettingsTest, TheInputMethodKeyIsWrittenOnceKanaWasChosen) {
    EXPECT_EQ(sjisText(UserText::SettingsInputMethodKey), sj("入力方式"));
    const std::string before = sj("[Init]\r\nコース=3\r\n");
    write(before);
    SharedState s;
    s.courseIndex = 3;
    ScriptedDialogs dialogs;
    s.inputMethod = InputMethod::Kana;
    ASSERT_EQ(saveSettings(file, s, dialogs), SaveResult::Saved);
    EXPECT_EQ(read().inputMethod, InputMethod::Kana);
    const std::string six = sj("[Init]\r\nコース=3\r\n制限時間=0\r\n空白有無=0\r\n入力カーソル色=0\r\n"
                               "英大文字小文字=0\r\nローマ字拡張=0\r\n");
    EXPECT_EQ(content(), six + sj("入力方式=1\r\n"));
    // Back to romaji: the key now in the file says so.
    s.inputMethod = InputMethod::Romaji;
    ASSERT_EQ(saveSettings(file, s, dialogs), SaveResult::Saved);
    EXPECT_EQ(content(), six + sj("入力方式=0\r\n"));
    EXPECT_EQ(read().inputMethod, InputMethod::Romaji);

    // Read strictly, like the romaji key.
    for (const char* v : {"0", "2", "1x", "", "kana"}) {
        write(sj("[Init]\r\n入力方式=") + v + "\r\n");
        EXPECT_EQ(read().inputMethod, InputMethod::Romaji) << v;
    }
}

TEST_F(SettingsTest, AnsweringNoLeavesTheFileUntouched) {
    write("[Init]\r\n");
    ScriptedDialogs dialogs;
    dialogs.answer = false;
    SharedState s;
    s.courseIndex = 2;
    EXPECT_EQ(saveSettings(file, s, dialogs), SaveResult::Declined);
    EXPECT_EQ(content(), "[Init]\r\n");
    EXPECT_TRUE(dialogs.confirmed.empty());
}

TEST_F(SettingsTest, SavingAndSwitchingWriteOnlyTheirOwnKeys) {
    const std::string before = sj("[Init]\r\n問題ファイル名=A.USR\r\nコース=1\r\n");
    write(before);
    SharedState s;
    s.problemFileName = "B.USR";
    ScriptedDialogs dialogs;
    ASSERT_EQ(saveSettings(file, s, dialogs), SaveResult::Saved);
    EXPECT_EQ(read().problemFileName, "A.USR");

    write(before);
    ASSERT_TRUE(writeProblemFileName(file, "C.USR"));
    EXPECT_EQ(content(), sj("[Init]\r\n問題ファイル名=C.USR\r\nコース=1\r\n"));
}

TEST_F(SettingsTest, OtherSectionsCommentsAndLinesSurviveAWrite) {
    const std::string head = sj("; 設定\r\n[Window]\r\nLeft=10\r\n\r\n[init]\r\n");
    const std::string tail =
        sj("  odd line without equals\r\n空白有無=1\r\n\r\n[Other]\r\nコース=4\r\n");
    write(head + sj("コース = 2\r\n") + tail);
    ASSERT_TRUE(writeProblemFileName(file, "X.USR"));
    // The new key goes after the section's last key, before the blank line.
    EXPECT_EQ(content(),
              head + sj("コース = 2\r\n") +
                  sj("  odd line without equals\r\n空白有無=1\r\n問題ファイル名=X.USR\r\n"
                     "\r\n[Other]\r\nコース=4\r\n"));
    SharedState s;
    s.courseIndex = 3;
    ScriptedDialogs dialogs;
    ASSERT_EQ(saveSettings(file, s, dialogs), SaveResult::Saved);
    const std::string after = content();
    EXPECT_EQ(after.substr(0, head.size()), head);
    EXPECT_NE(after.find(sj("コース=3\r\n")), std::string::npos);
    EXPECT_NE(after.find(sj("[Other]\r\nコース=4\r\n")), std::string::npos);
    EXPECT_EQ(read().courseIndex, 3);
}

TEST_F(SettingsTest, WritingCreatesTheFileAndKeepsItsLineEnds) {
    ASSERT_TRUE(writeProblemFileName(file, "new.USR"));
    EXPECT_EQ(content(), sj("[Init]\r\n問題ファイル名=new.USR\r\n"));

    write("[Init]\nA=1");  // Unix line ends, no final line break
    ASSERT_TRUE(writeProblemFileName(file, "n.USR"));
    EXPECT_EQ(content(), "[Init]\nA=1\n" + sj("問題ファイル名=n.USR\n"));
}

TEST_F(SettingsTest, AReadOnlyFileIsNotReplaced) {
    write("[Init]\r\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    test::asUnprivilegedUser(dir.path(), [&] {
        ScriptedDialogs dialogs;
        EXPECT_EQ(saveSettings(file, SharedState{}, dialogs), SaveResult::Failed);
        EXPECT_TRUE(dialogs.confirmed.empty());
        EXPECT_FALSE(writeProblemFileName(file, "x"));
    });
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    EXPECT_EQ(content(), "[Init]\r\n");
}

TEST_F(SettingsTest, FailedWritesReportFailureAndKeepTheFile) {
    EXPECT_FALSE(writeProblemFileName(file, "bad\r\nname"));
    EXPECT_FALSE(std::filesystem::exists(file));

    write("[Init]\r\n");
    // A folder where the file should be cannot be opened for writing.
    std::filesystem::create_directory(dir / "taken.INI");
    ScriptedDialogs dialogs;
    EXPECT_EQ(saveSettings(dir / "taken.INI", SharedState{}, dialogs), SaveResult::Failed);
    EXPECT_TRUE(dialogs.confirmed.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.INI"));

    setFailBeforeRenameForTesting(true);
    EXPECT_FALSE(writeProblemFileName(file, "x"));
    setFailBeforeRenameForTesting(false);
    EXPECT_EQ(content(), "[Init]\r\n");
}

TEST(SettingsSaveTest, AFailedSaveSaysSoAndKeepsTheFile) {
    test::SmallDisk disk(64);
    HAYATE_NEED_SMALL_DISK(disk);
    const std::string before = sj("[Init]\r\nコース=2\r\n");
    struct Case {
        const char* what;
        std::filesystem::path file;
        std::function<void()> breakIt;
    };
    const Case cases[] = {
        {"a full disk", disk / "Kbdojo.INI", [&] { disk.fill(); }},
        {"an interrupted write", disk / "Other.INI", [] { setFailBeforeRenameForTesting(true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(replaceFileAtomically(c.file, before));
        c.breakIt();
        SharedState s;
        s.courseIndex = 4;
        ScriptedDialogs dialogs;
        EXPECT_EQ(saveSettings(c.file, s, dialogs), SaveResult::Failed);
        setFailBeforeRenameForTesting(false);
        disk.empty();
        EXPECT_EQ(dialogs.failure, sjisText(UserText::SettingsNotSavedMessage));
        EXPECT_TRUE(dialogs.confirmed.empty());
        EXPECT_EQ(readWholeFile(c.file).value_or("<missing>"), before);
    }
}

TEST(IniDocumentTest, FirstSectionAndFirstKeyWin) {
    const IniDocument doc("[a]\nk=1\nK=2\n[b]\nk=3\n[A]\nk=4\n");
    EXPECT_EQ(doc.value("A", "k"), "1");
    EXPECT_EQ(doc.value("b", "K"), "3");
    EXPECT_FALSE(doc.value("c", "k").has_value());
    EXPECT_FALSE(doc.value("a", "x").has_value());
}

TEST(IniDocumentTest, CommentsAndHeadersWithoutClosingBracket) {
    const IniDocument doc(";[a]\n;k=0\n[a\nk = ' x '\n");
    EXPECT_EQ(doc.value("a", "k"), " x ");
    EXPECT_FALSE(doc.value("a", ";k").has_value());
}

TEST(IniDocumentTest, ALastLineEndingInACarriageReturnKeepsItsMeaning) {
    IniDocument doc("\n[Init\r");
    doc.setValue("Init", "k", "7");
    EXPECT_EQ(doc.content(), "\n[Init\r\nk=7\n");
    EXPECT_EQ(IniDocument(doc.content()).value("Init", "k"), "7");
}

TEST(IniDocumentTest, RoundTripsAnyBytes) {
    static constexpr char kOdd[] = "\r\r\n\0[x]\n=\n\xff\x5d]\nend";
    const std::string odd(kOdd, sizeof kOdd - 1);
    EXPECT_EQ(IniDocument(odd).content(), odd);
}

TEST(IniDocumentTest, ParsesProfileIntegers) {
    EXPECT_EQ(parseProfileInt("12"), 12);
    EXPECT_EQ(parseProfileInt(" -3 "), -3);
    EXPECT_EQ(parseProfileInt("0x1F"), 31);
    EXPECT_EQ(parseProfileInt("$10"), 16);
    EXPECT_EQ(parseProfileInt("-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(parseProfileInt("2147483648").has_value());
    EXPECT_FALSE(parseProfileInt("").has_value());
    EXPECT_FALSE(parseProfileInt("1 2").has_value());
    EXPECT_FALSE(parseProfileInt("-").has_value());
}

}  // namespace
}  // namespace hayate
