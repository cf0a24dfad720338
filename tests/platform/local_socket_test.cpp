#include "platform/local_socket.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace hayate {
namespace {

namespace fs = std::filesystem;

std::error_code errc(int value) { return {value, std::generic_category()}; }

bool closeOnExec(int fd) { return (::fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0; }

LocalConnection acceptWithin(LocalServer& server, int ms) {
    pollfd p{server.fd(), POLLIN, 0};
    if (::poll(&p, 1, ms) != 1) return {};
    return server.accept();
}

// A socket file with nobody listening: what a copy that crashed leaves.
void leaveSocketBehind(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// Server side answers the first request line; the client reads one line.
TEST(LocalSocketTest, RoundTrip) {
    struct Case {
        std::string request, reply;
        std::optional<std::string> received;
    };
    const Case cases[] = {
        {"restore\n", "title \xe3\x83\x8f\n", "title \xe3\x83\x8f\n"},
        {"front\n", "ok\nand more", "ok\n"},
        {"front\n", "no line end", std::nullopt},                  // the server closes first
        {"front\n", std::string(5000, 'x') + "\n", std::nullopt},  // longer than the limit
    };
    test::TempDir dir;
    LocalServer server;
    ASSERT_FALSE(server.listen(dir / "s"));
    EXPECT_TRUE(closeOnExec(server.fd()));
    struct stat st {};  // only the user may connect
    ASSERT_EQ(::lstat((dir / "s").c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & (S_IRWXG | S_IRWXO), 0u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        std::error_code error;
        LocalConnection client = LocalConnection::connectTo(dir / "s", 2000, error);
        ASSERT_TRUE(client.isOpen()) << error.message();
        EXPECT_TRUE(closeOnExec(client.fd()));
        EXPECT_TRUE(client.peerIsSameUser());
        ASSERT_FALSE(client.sendAll(c.request, 2000));
        LocalConnection served = acceptWithin(server, 2000);
        ASSERT_TRUE(served.isOpen());
        EXPECT_TRUE(closeOnExec(served.fd()));
        pollfd p{served.fd(), POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 2000), 1);
        std::string request;
        EXPECT_TRUE(served.readAvailable(request));
        EXPECT_EQ(request, c.request);
        ASSERT_FALSE(served.sendAll(c.reply, 2000));
        served.close();
        EXPECT_EQ(client.receiveLine(2000), c.received);
    }
    server.close();
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "s")));
}

// What is already at the path decides whether a new server may take it.
TEST(LocalSocketTest, TakesOnlyAStaleSocket) {
    enum class Before { Nothing, StaleSocket, LiveServer, PlainFile, LinkToStaleSocket };
    struct Case {
        Before before;
        std::error_code expected;
    };
    const Case cases[] = {
        {Before::Nothing, {}},
        {Before::StaleSocket, {}},
        {Before::LiveServer, errc(EADDRINUSE)},
        {Before::PlainFile, errc(EEXIST)},
        {Before::LinkToStaleSocket, errc(EEXIST)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.before));
        test::TempDir dir;
        const fs::path path = dir / "guard";
        LocalServer first;
        switch (c.before) {
            case Before::Nothing:
                break;
            case Before::StaleSocket:
                leaveSocketBehind(path);
                break;
            case Before::LiveServer:
                ASSERT_FALSE(first.listen(path));
                break;
            case Before::PlainFile:
                std::ofstream(path) << "keep";
                break;
            case Before::LinkToStaleSocket:
                leaveSocketBehind(dir / "old");
                fs::create_symlink(dir / "old", path);
                break;
        }
        LocalServer second;
        EXPECT_EQ(second.listen(path), c.expected);
        std::error_code error;
        LocalConnection client = LocalConnection::connectTo(path, 2000, error);
        if (!c.expected) {
            ASSERT_TRUE(client.isOpen()) << error.message();
            EXPECT_TRUE(acceptWithin(second, 2000).isOpen());
        } else if (c.before == Before::LiveServer) {
            ASSERT_TRUE(client.isOpen()) << error.message();
            EXPECT_TRUE(acceptWithin(first, 2000).isOpen());
        } else {
            EXPECT_FALSE(client.isOpen());
            EXPECT_TRUE(fs::exists(fs::symlink_status(path)));
        }
        EXPECT_EQ(second.isListening(), !c.expected);
        // Only the path itself, no private folder left over.
        int entries = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
        EXPECT_EQ(entries, c.before == Before::LinkToStaleSocket ? 2 : 1);
    }
}

// sun_path holds 107 bytes and a terminator; a longer path must not be cut
// to another that fits.
TEST(LocalSocketTest, OverLongPathsAreRefused) {
    test::TempDir dir;
    const std::size_t limit = sizeof(sockaddr_un{}.sun_path);
    for (const std::size_t length : {limit - 1, limit, limit + 200}) {
        SCOPED_TRACE(length);
        const std::size_t base = dir.path().native().size() + 1;
        ASSERT_LT(base + 20, length);
        const fs::path path = dir / std::string(length - base, 'n');
        const bool fits = length < limit;
        LocalServer server;
        EXPECT_EQ(server.listen(path), fits ? std::error_code{} : errc(ENAMETOOLONG));
        std::error_code error;
        EXPECT_EQ(LocalConnection::connectTo(path, 100, error).isOpen(), fits);
        EXPECT_EQ(error, fits ? std::error_code{} : errc(ENAMETOOLONG));
        server.close();
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}

TEST(LocalSocketTest, NobodyListeningAndAPeerThatLeft) {
    test::TempDir dir;
    std::error_code error;
    EXPECT_FALSE(LocalConnection::connectTo(dir / "none", 100, error).isOpen());
    EXPECT_EQ(error, errc(ENOENT));
    leaveSocketBehind(dir / "stale");
    EXPECT_FALSE(LocalConnection::connectTo(dir / "stale", 100, error).isOpen());
    EXPECT_EQ(error, errc(ECONNREFUSED));

    // Writing to a peer that has closed fails; SIGPIPE would end the test.
    LocalServer server;
    ASSERT_FALSE(server.listen(dir / "s"));
    LocalConnection client = LocalConnection::connectTo(dir / "s", 2000, error);
    ASSERT_TRUE(client.isOpen());
    acceptWithin(server, 2000).close();
    EXPECT_TRUE(client.sendAll(std::string(1 << 20, 'x'), 2000));
}

}  // namespace
}  // namespace hayate
