#include "platform/font_config.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale.h>
#include <map>
#include <string>

#include "support/environment.h"

// fontconfig keeps its configuration for the life of the process, and its
// loader drops a few blocks of its own on the way.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace hayate {
namespace {

TEST(FontConfigPreload, NeverBesideALauncherStartupIdAndLoadedWhereStarted) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> environment;
        bool mayStart;  // where fontconfig is built in
    };
    const Case cases[] = {
        {"plain start", {{"DISPLAY", ":1"}}, true},
        {"startup id: Qt takes it out of the environment", {{"DESKTOP_STARTUP_ID", "x_TIME1"}}, false},
        {"startup id set but empty", {{"DESKTOP_STARTUP_ID", ""}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EnvironmentLookup environment = test::environmentOf(c.environment);
        FontConfigPreload preload(environment);
        EXPECT_EQ(preload.started(), fontConfigMayPreload(environment));
        if (!c.mayStart) {
            EXPECT_FALSE(preload.started());
        }
        preload.wait();
        preload.wait();  // a second wait returns at once
        EXPECT_EQ(preload.loaded(), preload.started());
    }
    // Only the preload's own thread reads in the C locale; the caller keeps the global one.
    EXPECT_EQ(uselocale(static_cast<locale_t>(nullptr)), LC_GLOBAL_LOCALE);
}

TEST(FontConfigPreload, FamiliesAreFoundByAnyOfTheirNames) {
    if (!fontFamilyInstalled("IPAGothic")) GTEST_SKIP() << "built without fontconfig";
    if (!*fontFamilyInstalled("IPAGothic")) GTEST_SKIP() << "IPA Gothic is not installed";
    const struct {
        const char* family;
        bool installed;
    } cases[] = {
        {"IPAGothic", true},
        {"ipagothic", true},        // as Qt matches: whatever the case
        {"IPAゴシック", true},      // the face's localized name
        {"ＭＳ ゴシック", false},   // asked for, but only stood in for
        {"No Such Face At All", false},
    };
    for (const auto& c : cases) EXPECT_EQ(fontFamilyInstalled(c.family), c.installed) << c.family;
}

}  // namespace
}  // namespace hayate
