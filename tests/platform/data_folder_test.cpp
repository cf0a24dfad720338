#include "platform/data_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "support/environment.h"
#include "support/temp_dir.h"

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
    EXPECT_TRUE(canWriteIn(chosen));

    // Neither usable: the executable's folder, where the start-up will report the failure.
    const auto blocked = environmentOf({{"XDG_DATA_HOME", (dir / "bin").string()}});
    EXPECT_EQ(chooseDataFolder(dir / "bin" / "hayate", OsFamily::Linux, blocked), dir / "bin");
    EXPECT_EQ(chooseDataFolder(dir / "bin" / "hayate", OsFamily::Linux, environmentOf({})),
              dir / "bin");
}

}  // namespace
}  // namespace hayate
