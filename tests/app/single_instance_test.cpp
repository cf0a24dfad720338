#include "app/single_instance.h"

#include <gtest/gtest.h>

#include "support/sjis_test_support.h"

namespace hayate {
namespace {

using test::sj;

class FakeWindow : public GuardWindow {
  public:
    std::string titleUtf8() override { return title; }
    bool isMinimised() override { return minimised; }
    void restore() override {
        minimised = false;
        log += "restore;";
    }
    void bringToFront() override { log += "front;"; }
    std::string title = "ハヤテウチ";
    bool minimised = false;
    std::string log;
};

TEST(SingleInstanceTest, MarkerIsTheExecutablesFileName) {
    EXPECT_EQ(instanceMarkerName("/opt/h/Kbdojo.exe"), "Kbdojo.exe");
    EXPECT_EQ(instanceMarkerName("hayateuchi"), "hayateuchi");
}

TEST(SingleInstanceTest, NamesDifferByFileNameAndDesktopOnly) {
    const auto a = instanceNames("/opt/h/Kbdojo.exe", "/run/user/1000", desktopTag("ann", ":0"));
    const auto sameName =
        instanceNames("/elsewhere/Kbdojo.exe", "/run/user/1000", desktopTag("ann", ":0"));
    const auto renamed =
        instanceNames("/opt/h/Kbdojo2.exe", "/run/user/1000", desktopTag("ann", ":0"));
    const auto otherDesktop =
        instanceNames("/opt/h/Kbdojo.exe", "/run/user/1000", desktopTag("ann", ":1"));
    const auto otherUser =
        instanceNames("/opt/h/Kbdojo.exe", "/run/user/1000", desktopTag("bob", ":0"));
    EXPECT_EQ(a.serverName, sameName.serverName);
    EXPECT_EQ(a.lockFile, sameName.lockFile);
    EXPECT_NE(a.serverName, renamed.serverName);
    EXPECT_NE(a.lockFile, renamed.lockFile);
    EXPECT_NE(a.serverName, otherDesktop.serverName);
    EXPECT_NE(a.serverName, otherUser.serverName);
    EXPECT_EQ(a.lockFile.parent_path(), "/run/user/1000");
    EXPECT_EQ(a.lockFile.filename(), a.serverName + ".lock");
}

TEST(SingleInstanceTest, OneDesktopHasOneDisplayName) {
    struct Case {
        const char* x11;
        const char* wayland;
        const char* desktop;  // equal names for one desktop, different for two
    };
    for (const Case& c :
         {Case{":0", "", ":0"}, Case{":0.0", "", ":0"}, Case{":0.1", "", ":0"},
          Case{"unix:0.0", "", ":0"}, Case{"localhost:0", "", ":0"}, Case{":00", "", ":0"},
          Case{":10.0", "", ":10"}, Case{":1", "", ":1"}, Case{"remote:0.0", "", "remote:0"},
          Case{"", "", ""}, Case{":0", "wayland-0", "wayland:wayland-0"},
          Case{"", "wayland-0", "wayland:wayland-0"},
          Case{":1", "/run/user/1000/wayland-0", "wayland:wayland-0"},
          Case{":0", "wayland-1", "wayland:wayland-1"}}) {
        EXPECT_EQ(displayName(c.x11, c.wayland), c.desktop) << c.x11 << " " << c.wayland;
    }
}

TEST(SingleInstanceTest, NamesStayShortAndPlainForAnyFileName) {
    const std::string longName(300, 'x');
    const auto n =
        instanceNames("/p/" + longName + "/../" + "練 習 \\:*.exe", "/tmp", desktopTag("u", ":0"));
    EXPECT_LE(n.serverName.size(), 60u);
    for (char c : n.serverName) {
        EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '-' || c == '_')
            << n.serverName;
    }
}

TEST(SingleInstanceTest, Decisions) {
    EXPECT_EQ(decideGuardAction(LockOutcome::Acquired, std::nullopt), GuardAction::Run);
    EXPECT_EQ(decideGuardAction(LockOutcome::Failed, std::nullopt), GuardAction::CannotStart);
    EXPECT_EQ(decideGuardAction(LockOutcome::HeldElsewhere, std::string("ハヤテウチ")),
              GuardAction::ReportAndRaise);
    // A window renamed from the command line is not found; no answer is like no window.
    EXPECT_EQ(decideGuardAction(LockOutcome::HeldElsewhere, std::string("Practice")),
              GuardAction::EndSilently);
    EXPECT_EQ(decideGuardAction(LockOutcome::HeldElsewhere, std::nullopt),
              GuardAction::EndSilently);
}

TEST(SingleInstanceTest, TheRunningCopyRestoresThenComesToTheFront) {
    FakeWindow window;
    window.minimised = true;
    const std::string answer = answerGuardRequest(kRestoreRequest, window);
    EXPECT_EQ(window.log, "restore;");
    EXPECT_EQ(titleFromAnswer(answer), "ハヤテウチ");
    EXPECT_EQ(answerGuardRequest(kRestoreRequest, window), answer);
    EXPECT_EQ(window.log, "restore;");  // not minimised any more
    EXPECT_EQ(answerGuardRequest(kFrontRequest, window), "ok\n");
    EXPECT_EQ(window.log, "restore;front;");

    EXPECT_EQ(answerGuardRequest("front", window), "");
    EXPECT_EQ(answerGuardRequest(std::string("restore\n\0", 9), window), "");
    EXPECT_EQ(window.log, "restore;front;");

    window.title = "two\nlines";
    EXPECT_EQ(titleFromAnswer(answerGuardRequest(kRestoreRequest, window)), "two lines");
}

TEST(SingleInstanceTest, AnswersThatAreNotTitles) {
    EXPECT_EQ(titleFromAnswer("title \n"), "");
    EXPECT_FALSE(titleFromAnswer("ok\n").has_value());
    EXPECT_FALSE(titleFromAnswer("title x").has_value());
    EXPECT_FALSE(titleFromAnswer("title a\nb\n").has_value());
    EXPECT_FALSE(titleFromAnswer("").has_value());
}

}  // namespace
}  // namespace hayate
