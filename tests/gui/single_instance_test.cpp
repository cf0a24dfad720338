// The single-instance guard over Qt's local socket: a later copy learns the
// running one's title and brings it to the front; a crashed copy's socket is
// taken over, and a link under the name replaced without touching its target.
#include "gui/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QTest>
#include <atomic>
#include <fstream>
#include <thread>

#include "support/temp_dir.h"

namespace hayate::gui {
namespace {

struct FakeWindow final : GuardWindow {
    std::string title = std::string(utf8Text(UserText::WindowTitle));
    bool minimised = false;
    int restored = 0, raised = 0;
    std::string titleUtf8() override { return title; }
    bool isMinimised() override { return minimised; }
    void restore() override { ++restored; }
    void bringToFront() override { ++raised; }
};

// A later copy, on a thread of its own while this one answers in its event loop.
GuardAction laterCopy(const std::filesystem::path& folder, const std::string& desktop, bool front) {
    std::atomic<bool> done = false;
    GuardAction action = GuardAction::Run;
    std::thread copy([&] {
        SingleInstance guard("/opt/x/hayateuchi", folder, desktop);
        action = guard.acquire();
        if (front && action == GuardAction::ReportAndRaise) guard.requestFront();
        done = true;
    });
    while (!done) QTest::qWait(5);
    copy.join();
    QTest::qWait(20);  // the last answer's connection closes
    return action;
}

std::filesystem::path socketPath(const std::filesystem::path& folder, const std::string& desktop) {
    const InstanceNames names = instanceNames("/opt/x/hayateuchi", folder, desktop);
    return (QDir::tempPath() + QLatin1Char('/') + QString::fromStdString(names.serverName))
        .toStdString();
}

TEST(SingleInstanceGuard, ALaterCopyFindsTheRunningOne) {
    enum class Before { Nothing, CrashedCopysSocket, LinkToAFile };
    struct Case {
        Before before;
        bool minimised;
        std::string title;
        GuardAction later;
    } cases[] = {
        {Before::Nothing, false, std::string(utf8Text(UserText::WindowTitle)), GuardAction::ReportAndRaise},
        {Before::Nothing, true, std::string(utf8Text(UserText::WindowTitle)), GuardAction::ReportAndRaise},
        {Before::Nothing, false, "renamed", GuardAction::EndSilently},
        {Before::CrashedCopysSocket, false, std::string(utf8Text(UserText::WindowTitle)),
         GuardAction::ReportAndRaise},
        {Before::LinkToAFile, false, std::string(utf8Text(UserText::WindowTitle)), GuardAction::ReportAndRaise},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        test::TempDir dir;
        const std::string desktop = "tester@:" + std::to_string(::getpid()) + "." + std::to_string(n++);
        const std::filesystem::path socket = socketPath(dir.path(), desktop);
        if (c.before == Before::LinkToAFile) {
            std::ofstream(dir / "notes") << "keep";
            std::filesystem::create_symlink(dir / "notes", socket);
        }
        if (c.before == Before::CrashedCopysSocket) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket.c_str());
            ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            ::close(fd);  // as a killed copy leaves it
        }
        FakeWindow window;
        window.title = c.title;
        window.minimised = c.minimised;
        {
            SingleInstance first("/opt/x/hayateuchi", dir.path(), desktop);
            ASSERT_EQ(first.acquire(), GuardAction::Run);
            EXPECT_TRUE(first.serve(window));
            EXPECT_EQ(laterCopy(dir.path(), desktop, true), c.later);
            EXPECT_EQ(window.raised, c.later == GuardAction::ReportAndRaise ? 1 : 0);
            EXPECT_EQ(window.restored, c.minimised ? 1 : 0);
        }
        // Once the first has gone, the next copy runs.
        EXPECT_EQ(laterCopy(dir.path(), desktop, false), GuardAction::Run);
        if (c.before == Before::LinkToAFile) {
            std::ifstream in(dir / "notes");
            std::string kept;
            in >> kept;
            EXPECT_EQ(kept, "keep");
        }
        std::filesystem::remove(socket);
    }
}

}  // namespace
}  // namespace hayate::gui
