#include "platform/data_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "platform/file_check.h"
#include "support/environment.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace hayate {
namespace {

namespace fs = std::filesystem;

using test::environmentOf;

TEST(DataFolderTest, UserFolderFollowsEachPlatformsConvention) {
    const auto onLinux = [](std::map<std::string, std::string> v) {
        return userDataFolder(OsFamily::Linux, environmentOf(std::move(v)));
    };
    EXPECT_EQ(onLinux({{"HOME", "/home/u"}}), fs::path("/home/u/.local/share/hayateuchi"));
    EXPECT_EQ(onLinux({{"HOME", "/home/u"}, {"XDG_DATA_HOME", "/x/data"}}),
              fs::path("/x/data/hayateuchi"));
    // Empty or relative XDG_DATA_HOME is ignored; no home at all gives no folder.
    EXPECT_EQ(onLinux({{"HOME", "/home/u"}, {"XDG_DATA_HOME", ""}}),
              fs::path("/home/u/.local/share/hayateuchi"));
    EXPECT_EQ(onLinux({{"HOME", "/home/u"}, {"XDG_DATA_HOME", "rel"}}),
              fs::path("/home/u/.local/share/hayateuchi"));
    EXPECT_TRUE(onLinux({}).empty());
    EXPECT_TRUE(onLinux({{"HOME", ""}}).empty());

    EXPECT_EQ(userDataFolder(OsFamily::Windows, environmentOf({{"APPDATA", "C:/Users/u/AppData"}})),
              fs::path("C:/Users/u/AppData") / "hayateuchi");
    EXPECT_TRUE(userDataFolder(OsFamily::Windows, environmentOf({{"HOME", "/h"}})).empty());
    EXPECT_EQ(userDataFolder(OsFamily::MacOS, environmentOf({{"HOME", "/Users/u"}})),
              fs::path("/Users/u/Library/Application Support/hayateuchi"));
}

TEST(DataFolderTest, TheExecutablesFolderWinsWhenItCanBeWritten) {
    test::TempDir dir;
    const auto env = environmentOf({{"XDG_DATA_HOME", (dir / "user").string()}});
    EXPECT_EQ(chooseDataFolder(dir / "hayate", OsFamily::Linux, env), dir.path());
    EXPECT_FALSE(fs::exists(dir / "user"));
    // The probe leaves nothing behind.
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(DataFolderTest, AnUnwritableExecutableFolderFallsBackToTheUserFolder) {
    test::TempDir dir;
    // A plain file where the folder would be: nothing can be created below it,
    // even by root, which permission bits would not stop.
    { std::ofstream(dir / "bin") << "x"; }
    const auto env = environmentOf({{"XDG_DATA_HOME", (dir / "share").string()}});
    const fs::path chosen = chooseDataFolder(dir / "bin" / "hayate", OsFamily::Linux, env);
    EXPECT_EQ(chosen, dir / "share" / "hayateuchi");
    EXPECT_TRUE(fs::is_directory(chosen));
    EXPECT_TRUE(folderTakesFiles(chosen));

    // Neither usable: the executable's folder, where the start-up will report the failure.
    const auto blocked = environmentOf({{"XDG_DATA_HOME", (dir / "bin").string()}});
    EXPECT_EQ(chooseDataFolder(dir / "bin" / "hayate", OsFamily::Linux, blocked), dir / "bin");
    EXPECT_EQ(chooseDataFolder(dir / "bin" / "hayate", OsFamily::Linux, environmentOf({})),
              dir / "bin");
}

// The folder follows the record files already there. A full disk takes no
// new file, yet changes nothing: the files there can still be written.
TEST(DataFolderTest, TheRecordFilesDecideNotAWriteTest) {
    test::SmallDisk disk(64);
    HAYATE_NEED_SMALL_DISK(disk);
    struct Case {
        const char* name;
        const char* program;  // on the disk
        bool installed;
        const char* recordsIn;  // the folder holding the records, on the disk
    };
    // A portable copy on a full stick has its user folder on another disk.
    test::TempDir home;
    const Case cases[] = {
        {"portable copy, full disk", "games/hayate", false, "games"},
        {"installed copy, full disk", "usr/bin/hayate", true, "xdg/hayateuchi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        disk.empty();
        const fs::path program = disk / c.program;
        fs::create_directories(program.parent_path());
        if (c.installed) fs::create_directories(disk / "usr/share/hayateuchi/help");
        fs::create_directories(disk / c.recordsIn);
        for (const char* name : {"hayate.DAT", "hayate.UPD"}) {
            std::ofstream(disk / c.recordsIn / name) << std::string(720, '\0');
        }
        disk.fill();
        const fs::path xdg = c.installed ? disk / "xdg" : home / "xdg";
        const auto env = environmentOf({{"XDG_DATA_HOME", xdg.string()}});
        const DataFolderChoice choice = decideDataFolder(program, OsFamily::Linux, env);
        EXPECT_EQ(choice.folder, disk / c.recordsIn);
        EXPECT_TRUE(choice.unwritableRecords.empty());
    }
}

// Records beside the program that cannot be written send the data to the
// user folder, naming the file, only when the folder is not the copy's to
// write either (a read-only disk); a single read-only file stays, for the
// start-up to report.
TEST(DataFolderTest, UnwritableRecordsBesideTheProgram) {
    const struct {
        const char* name;
        bool folderWritable;
        bool moved;
    } cases[] = {{"read-only folder", false, true}, {"read-only file", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        fs::create_directories(dir / "copy");
        { std::ofstream(dir / "copy" / "hayate.DAT") << "x"; }
        fs::permissions(dir / "copy" / "hayate.DAT", fs::perms::owner_read);
        if (!c.folderWritable)
            fs::permissions(dir / "copy", fs::perms::owner_read | fs::perms::owner_exec);
        test::asUnprivilegedUser(dir.path(), [&] {
            const auto env = environmentOf({{"XDG_DATA_HOME", (dir / "xdg").string()}});
            const DataFolderChoice choice =
                decideDataFolder(dir / "copy" / "hayate", OsFamily::Linux, env);
            EXPECT_EQ(choice.folder, c.moved ? dir / "xdg" / "hayateuchi" : dir / "copy");
            EXPECT_EQ(choice.unwritableRecords, c.moved ? dir / "copy" / "hayate.DAT" : fs::path());
        });
    }
}

}  // namespace
}  // namespace hayate
