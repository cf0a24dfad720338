#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <stdexcept>

#include "app/settings.h"
#include "platform/safe_file.h"
#include "records/record_store.h"
#include "support/sjis_test_support.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
#include "text/user_texts.h"

namespace hayate {
namespace {

using test::sj;

class FakeTimer : public ExerciseTimer {
  public:
    void setRunning(bool running) override { calls.push_back(running); }
    void fireIn(int) override { calls.push_back(true); }
    std::vector<bool> calls;
};

class StartupTest : public ::testing::Test {
  protected:
    StartupTest() : previous(std::filesystem::current_path()) {}
    ~StartupTest() override { std::filesystem::current_path(previous); }

    StartupOptions options(std::vector<std::string> args = {}) {
        StartupOptions o;
        o.executable = exeDir / "Kbdojo.exe";
        o.chooseDataFolder = [](const std::filesystem::path& exe) { return exe.parent_path(); };
        o.arguments = std::move(args);
        o.today = [] { return CivilDate{2024, 3, 9}; };
        return o;
    }

    std::filesystem::path previous;
    test::TempDir dir;
    std::filesystem::path exeDir = dir.path();
    SharedState state;
    FakeTimer timer;
};

TEST_F(StartupTest, TitleArgumentInSquareBrackets) {
    EXPECT_EQ(titleOverrideFromArguments({"[Practice]"}), "Practice");
    EXPECT_EQ(titleOverrideFromArguments({"[abc"}),
              "ab");  // the last character goes whatever it is
    EXPECT_EQ(titleOverrideFromArguments({"[練習]", "more"}), "練習");
    EXPECT_EQ(titleOverrideFromArguments({"[練習"}), "練");  // a whole UTF-8 character
    EXPECT_FALSE(titleOverrideFromArguments({"Practice]"}).has_value());
    EXPECT_FALSE(titleOverrideFromArguments({"x", "[Second]"}).has_value());
    EXPECT_FALSE(titleOverrideFromArguments({}).has_value());
    EXPECT_FALSE(titleOverrideFromArguments({""}).has_value());
    EXPECT_FALSE(titleOverrideFromArguments({"[]"}).has_value());
    EXPECT_FALSE(titleOverrideFromArguments({"["}).has_value());
}

TEST_F(StartupTest, CreationStepReadsSettingsInTheDataFolder) {
    ASSERT_TRUE(
        replaceFileAtomically(exeDir / "Kbdojo.INI", sj("[Init]\r\nコース=3\r\n制限時間=1\r\n")));
    StartupSequence startup(state, options({"[T]"}));
    ASSERT_TRUE(startup.create(timer));
    EXPECT_EQ(startup.titleOverride(), "T");
    EXPECT_EQ(state.courseIndex, 3);
    EXPECT_EQ(state.timeLimitIndex, 1);
    EXPECT_EQ(startup.todayDateNumber(), 20240309);
    EXPECT_EQ(timer.calls, std::vector<bool>{false});
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(exeDir));
    EXPECT_EQ(startup.tables().kana(0), sj("あ"));
}

TEST_F(StartupTest, AnotherDataFolderHoldsEveryFile) {
    test::TempDir data;
    StartupOptions o = options();
    o.chooseDataFolder = [&](const std::filesystem::path& exe) {
        EXPECT_EQ(exe, exeDir / "Kbdojo.exe");
        return data.path();
    };
    ASSERT_TRUE(replaceFileAtomically(data / "Kbdojo.INI", sj("[Init]\r\n空白有無=1\r\n")));
    StartupSequence startup(state, o);
    ASSERT_TRUE(startup.create(timer));
    EXPECT_EQ(state.spacing, 1);
    EXPECT_EQ(startup.settingsFile(), data / "Kbdojo.INI");
    EXPECT_EQ(startup.bestRecordFile(), data / "Kbdojo.DAT");
    EXPECT_EQ(startup.historyFile(), data / "Kbdojo.UPD");

    ProblemFile problems;
    ASSERT_TRUE(startup.firstShow(problems));
    EXPECT_TRUE(std::filesystem::exists(data / "Kbdojo.USR"));  // the relative default name
    EXPECT_TRUE(std::filesystem::exists(data / "Kbdojo.DAT"));
    EXPECT_TRUE(std::filesystem::exists(data / "Kbdojo.UPD"));
    for (const char* name : {"Kbdojo.USR", "Kbdojo.DAT", "Kbdojo.UPD", "Kbdojo.INI"})
        EXPECT_FALSE(std::filesystem::exists(exeDir / name)) << name;
    EXPECT_EQ(startup.records().todayDateNumber(), 20240309);
}

TEST_F(StartupTest, ByDefaultAWritableExecutableFolderHoldsTheData) {
    StartupOptions o = options();
    o.chooseDataFolder = StartupOptions{}.chooseDataFolder;
    StartupSequence startup(state, o);
    ASSERT_TRUE(startup.create(timer));
    EXPECT_EQ(startup.dataFolder(), exeDir);
}

TEST_F(StartupTest, CreationFailures) {
    StartupOptions o = options();
    o.chooseDataFolder = [](const std::filesystem::path&) -> std::filesystem::path {
        throw std::runtime_error("no folder");
    };
    EXPECT_FALSE(StartupSequence(state, o).create(timer));
    o.chooseDataFolder = [&](const std::filesystem::path&) { return exeDir / "missing"; };
    EXPECT_FALSE(StartupSequence(state, o).create(timer));
    // A settings file that cannot be read is no failure: every setting starts at its default.
    std::filesystem::create_directory(exeDir / "Kbdojo.INI");
    EXPECT_TRUE(StartupSequence(state, options()).create(timer));
    EXPECT_EQ(state.problemFileName, "Kbdojo.USR");
}

TEST_F(StartupTest, FirstShowListsTheProblemsAndLoadsTheRecords) {
    ASSERT_TRUE(replaceFileAtomically(exeDir / "Kbdojo.INI",
                                      sj("[Init]\r\nコース=3\r\n問題ファイル名=mine.USR\r\n")));
    StartupSequence startup(state, options());
    ASSERT_TRUE(startup.create(timer));
    ProblemFile problems;
    ASSERT_TRUE(startup.firstShow(problems));
    EXPECT_EQ(problems.path(), "mine.USR");
    EXPECT_EQ(std::filesystem::file_size(exeDir / "mine.USR"), 40930u);
    EXPECT_FALSE(std::filesystem::exists(exeDir / "Kbdojo.USR"));
    EXPECT_EQ(problems.table()[0].name, sj("ユーザー１"));
    EXPECT_TRUE(state.kanaMode);
    EXPECT_EQ(startup.records().historyFile(), exeDir / "Kbdojo.UPD");
}

TEST_F(StartupTest, FirstShowFailures) {
    StartupSequence startup(state, options());
    ASSERT_TRUE(startup.create(timer));
    ProblemFile problems;
    // Folders where the files should be: neither can be created.
    std::filesystem::create_directory(exeDir / "Kbdojo.DAT");
    EXPECT_FALSE(startup.firstShow(problems));
    std::filesystem::remove(exeDir / "Kbdojo.DAT");
    ASSERT_TRUE(startup.firstShow(problems));

    std::filesystem::remove(exeDir / "Kbdojo.USR");
    std::filesystem::create_directory(exeDir / "Kbdojo.USR");
    EXPECT_FALSE(startup.firstShow(problems));
}

// A problem file of the settings that cannot be used gives way to the
// default one with a notice naming it and why; the file itself is left alone.
TEST_F(StartupTest, AnUnusableProblemFileGivesWayToTheDefault) {
    const std::string note = "Remember: buy milk and practise typing.";
    struct Case {
        const char* name;
        std::string problemFile;
        std::string_view reason;
    };
    const Case cases[] = {
        {"folder gone", (exeDir / "stick" / "mine.USR").string(),
         sjisText(UserText::ReasonFolderMissing)},
        {"a FIFO", (exeDir / "fifo.USR").string(), sjisText(UserText::ReasonNotRegular)},
        {"a device", "/dev/zero", sjisText(UserText::ReasonNotRegular)},
        {"a folder", exeDir.string(), sjisText(UserText::ReasonFolder)},
        {"a note", "notes.txt", sjisText(UserText::NotProblemFile)},
    };
    ASSERT_EQ(::mkfifo((exeDir / "fifo.USR").c_str(), 0600), 0);
    ASSERT_TRUE(replaceFileAtomically(exeDir / "notes.txt", note));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string ini = sj("[Init]\r\n問題ファイル名=") + c.problemFile + "\r\n";
        ASSERT_TRUE(replaceFileAtomically(exeDir / "Kbdojo.INI", ini));
        StartupSequence startup(state, options());
        ASSERT_TRUE(startup.create(timer));
        ProblemFile problems;
        ASSERT_TRUE(startup.firstShow(problems));
        EXPECT_EQ(problems.path(), "Kbdojo.USR");
        EXPECT_EQ(problems.table()[0].name, sj("ユーザー１"));
        ASSERT_EQ(startup.notices().size(), 1u);
        EXPECT_NE(startup.notices()[0].find(c.problemFile), std::string::npos);
        EXPECT_NE(startup.notices()[0].find(c.reason), std::string::npos);
        EXPECT_EQ(readWholeFile(exeDir / "Kbdojo.INI"), ini);  // found again next time
    }
    EXPECT_EQ(readWholeFile(exeDir / "notes.txt"), note);
    EXPECT_TRUE(std::filesystem::is_fifo(exeDir / "fifo.USR"));
}

// A record file that stops the start is named, with the reason.
TEST_F(StartupTest, ARecordFileThatStopsTheStartIsNamed) {
    struct Case {
        const char* name;
        std::function<void()> spoil;
        std::string_view reason;
        bool unprivileged;
    };
    const std::filesystem::path best = exeDir / "Kbdojo.DAT";
    const Case cases[] = {
        {"read-only",
         [&] {
             ASSERT_TRUE(replaceFileAtomically(best, std::string(720, '\0')));
             std::filesystem::permissions(best, std::filesystem::perms::owner_read);
         },
         sjisText(UserText::ReasonReadOnly), true},
        {"a folder", [&] { std::filesystem::create_directory(best); },
         sjisText(UserText::ReasonFolder), false},
        {"a loop of links",
         [&] {
             std::filesystem::create_symlink("loop.DAT", best);
             std::filesystem::create_symlink("Kbdojo.DAT", exeDir / "loop.DAT");
         },
         sjisText(UserText::ReasonLinkLoop), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(best);
        std::filesystem::remove(exeDir / "loop.DAT");
        c.spoil();
        const auto start = [&] {
            SharedState fresh;
            StartupSequence startup(fresh, options());
            ASSERT_TRUE(startup.create(timer));
            ProblemFile problems;
            EXPECT_FALSE(startup.firstShow(problems));
            const std::string& message = startup.showFailedMessage();
            EXPECT_EQ(message.rfind(sjisText(UserText::ShowFailedMessage), 0), 0u);
            EXPECT_NE(message.find(shownFileName(best)), std::string::npos);
            EXPECT_NE(message.find(c.reason), std::string::npos);
        };
        if (c.unprivileged)
            test::asUnprivilegedUser(exeDir, start);
        else
            start();
    }
}

// Records that can be read but not saved for want of space: the start goes
// on and says so.
TEST_F(StartupTest, AFullDiskIsToldOnce) {
    test::SmallDisk disk(128);
    HAYATE_NEED_SMALL_DISK(disk);
    StartupOptions o = options();
    o.chooseDataFolder = [&](const std::filesystem::path&) { return disk.path(); };
    {
        SharedState first;
        StartupSequence startup(first, o);
        ASSERT_TRUE(startup.create(timer));
        ProblemFile problems;
        ASSERT_TRUE(startup.firstShow(problems));
        EXPECT_TRUE(startup.notices().empty());
    }
    disk.fill();
    StartupSequence startup(state, o);
    ASSERT_TRUE(startup.create(timer));
    ProblemFile problems;
    ASSERT_TRUE(startup.firstShow(problems));
    ASSERT_EQ(startup.notices().size(), 1u);
    EXPECT_EQ(startup.notices()[0].rfind(sjisText(UserText::CannotSaveRecords), 0), 0u);
}

TEST_F(StartupTest, EndCommand) {
    int asked = 0;
    bool guard = true;
    auto answer = [&](bool yes) {
        return [&asked, yes](std::string_view q) {
            EXPECT_EQ(q, sjisText(UserText::EndQuestion));
            ++asked;
            return yes;
        };
    };
    EXPECT_FALSE(endCommandCloses(guard, answer(true)));  // the space bar's press is swallowed
    EXPECT_FALSE(guard);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(endCommandCloses(guard, answer(false)));
    EXPECT_TRUE(endCommandCloses(guard, answer(true)));
    EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace hayate
