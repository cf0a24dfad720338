#include "platform/install_layout.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/data_folder.h"
#include "support/temp_dir.h"

namespace hayate {
namespace {

namespace fs = std::filesystem;

// Where the data and the help of a program in a given layout end up. The
// program's folder is always writable here, as /usr/bin is for root.
TEST(InstallLayoutTest, OnlyAnInstalledCopyMovesItsDataAndHelp) {
    struct Case {
        const char* name;
        const char* program;     // relative to the test folder
        const char* shareFiles;  // folder made relative to the program's folder, or null
        bool withHome;
        bool installed;
    };
    const Case cases[] = {
        {"build tree", "build/src/gui/hayateuchi", nullptr, true, false},
        {"installed prefix", "usr/bin/hayateuchi", "help", true, true},
        {"installed, no user folder to be had", "usr/bin/hayateuchi", "help", false, true},
        // A data folder beside ~/.local/bin has no help documents: not an install.
        {"bare share folder", "local/bin/hayateuchi", "", true, false},
        {"unpacked portable copy", "games/hayate/hayateuchi", nullptr, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const fs::path program = dir / c.program;
        fs::create_directories(program.parent_path());
        const fs::path share = (program.parent_path() / kShareFromBin).lexically_normal();
        if (c.shareFiles) fs::create_directories(share / c.shareFiles);
        std::map<std::string, std::string> vars;
        if (c.withHome) vars["XDG_DATA_HOME"] = (dir / "xdg").string();
        const EnvironmentLookup env = [vars](const char* n) -> std::optional<std::string> {
            const auto it = vars.find(n);
            return it == vars.end() ? std::nullopt : std::optional(it->second);
        };

        EXPECT_EQ(installedShareFolder(program), c.installed ? share : fs::path());
        EXPECT_EQ(helpFolder(program), (c.installed ? share : program.parent_path()) / "help");
        const fs::path expected =
            c.installed && c.withHome ? dir / "xdg" / "hayateuchi" : program.parent_path();
        EXPECT_EQ(chooseDataFolder(program, OsFamily::Linux, env), expected);
    }
}

TEST(InstallLayoutTest, TheShareFolderIsFoundThroughTheGivenRelation) {
    test::TempDir dir;
    fs::create_directories(dir / "opt" / "hayate" / "data" / "help");
    const fs::path program = dir / "opt" / "hayate" / "bin" / "hayateuchi";
    EXPECT_EQ(installedShareFolder(program, "../data"), dir / "opt" / "hayate" / "data");
    EXPECT_TRUE(installedShareFolder(program, "../share/hayateuchi").empty());
    // A bare program name (no folder) is never an install.
    EXPECT_TRUE(installedShareFolder("hayateuchi", "../data").empty());
    EXPECT_EQ(helpFolder("hayateuchi"), fs::path(".") / "help");
}

}  // namespace
}  // namespace hayate
