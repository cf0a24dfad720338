// Unix-domain stream sockets at a path, for the single-instance guard: one
// copy listens, a later copy connects, sends a line and reads a line back.
// Every descriptor is close-on-exec and non-blocking; waits have deadlines
// and survive signals; writing to a peer that has gone fails instead of
// raising SIGPIPE.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace hayate {

// One end of a connection; closed with its owner.
class LocalConnection {
  public:
    LocalConnection() = default;
    explicit LocalConnection(int fd) : fd_(fd) {}
    ~LocalConnection();
    LocalConnection(LocalConnection&& other) noexcept;
    LocalConnection& operator=(LocalConnection&& other) noexcept;
    LocalConnection(const LocalConnection&) = delete;
    LocalConnection& operator=(const LocalConnection&) = delete;

    // Connects to the socket at `path`, waiting at most `timeoutMs` while the
    // listener's queue is full. A path too long for a socket address fails
    // with ENAMETOOLONG rather than reaching some other, truncated path.
    static LocalConnection connectTo(const std::filesystem::path& path, int timeoutMs,
                                     std::error_code& error);

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // The process at the other end runs as this process's user.
    bool peerIsSameUser() const;

    // Sends all of `bytes` within `timeoutMs`.
    std::error_code sendAll(std::string_view bytes, int timeoutMs);

    // The first line (with its '\n') that arrives within `timeoutMs`; nothing
    // when the peer closes first, the time runs out or `maxBytes` pass
    // without a line end.
    std::optional<std::string> receiveLine(int timeoutMs, std::size_t maxBytes = 4096);

    // Appends what has arrived, without waiting. False once the peer has
    // closed its end or the connection failed.
    bool readAvailable(std::string& into);

    void close();

  private:
    int fd_ = -1;
};

// A listening socket at a path that only this user may connect to.
class LocalServer {
  public:
    LocalServer() = default;
    ~LocalServer() { close(); }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // Listens at `path`. A socket there that nobody answers on (left by a
    // copy that crashed) is replaced; one a live process answers on gives
    // EADDRINUSE and stays, and anything that is not this user's socket
    // gives EEXIST and stays. ENAMETOOLONG for a path too long for a socket
    // address.
    std::error_code listen(const std::filesystem::path& path);

    bool isListening() const { return fd_ >= 0; }
    // For the caller's event loop: readable when a connection waits.
    int fd() const { return fd_; }

    // The next waiting connection, or a closed one when none waits.
    LocalConnection accept();

    // Stops listening and removes the socket file, if it is still this one.
    void close();

  private:
    int fd_ = -1;
    std::filesystem::path path_;
    unsigned long long device_ = 0;
    unsigned long long inode_ = 0;
};

}  // namespace hayate
