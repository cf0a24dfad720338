#include "platform/local_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace hayate {

namespace {

using Clock = std::chrono::steady_clock;

std::error_code lastError() { return {errno, std::generic_category()}; }

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` on `fd` until `deadline`; false when the time ran out
// or poll failed.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, remainingMs(deadline));
        if (n > 0) return true;
        if (n == 0) {
            errno = ETIMEDOUT;
            return false;
        }
        if (errno != EINTR) return false;
    }
}

// False when the path does not fit: a truncated path would name another file.
bool socketAddress(const std::filesystem::path& path, sockaddr_un& address) {
    const std::string& text = path.native();
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (text.empty() || text.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

int newSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

int connectOnce(int fd, const sockaddr_un& address) {
    return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

// A socket file of this user that nobody listens on is removed. A live
// listener, or a file that is not ours to judge, is left alone.
std::error_code removeIfStale(const std::filesystem::path& path, const sockaddr_un& address) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return errno == ENOENT ? std::error_code{} : lastError();
    }
    if (!S_ISSOCK(st.st_mode) || st.st_uid != ::geteuid()) {
        return {EEXIST, std::generic_category()};
    }
    const int probe = newSocket();
    if (probe < 0) return lastError();
    const int answer = connectOnce(probe, address) == 0 ? 0 : errno;
    ::close(probe);
    switch (answer) {
        case ECONNREFUSED:  // nobody listens
            break;
        case ENOENT:  // gone meanwhile
            return {};
        case 0:  // someone listens, perhaps with a full queue
        case EAGAIN:
        case EINPROGRESS:
        case EINTR:
            return {EADDRINUSE, std::generic_category()};
        default:
            return {answer, std::generic_category()};
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return lastError();
    return {};
}

// Link, unlike rename, never replaces a socket that appeared meanwhile; on a
// file system without hard links, rename onto a name that is free.
std::error_code placeAt(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::link(from.c_str(), to.c_str()) == 0) return {};
    if (errno == EEXIST) return lastError();
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) return {EEXIST, std::generic_category()};
    if (::rename(from.c_str(), to.c_str()) != 0) return lastError();
    return {};
}

}  // namespace

LocalConnection::~LocalConnection() { close(); }

LocalConnection::LocalConnection(LocalConnection&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

LocalConnection& LocalConnection::operator=(LocalConnection&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void LocalConnection::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

LocalConnection LocalConnection::connectTo(const std::filesystem::path& path, int timeoutMs,
                                           std::error_code& error) {
    error.clear();
    sockaddr_un address;
    if (!socketAddress(path, address)) {
        error = {ENAMETOOLONG, std::generic_category()};
        return {};
    }
    LocalConnection connection(newSocket());
    if (!connection.isOpen()) {
        error = lastError();
        return {};
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (connectOnce(connection.fd_, address) == 0 || errno == EISCONN) return connection;
        if (errno == EAGAIN) {
            // The listener's queue is full; it may drain.
            if (remainingMs(deadline) == 0) {
                error = {ETIMEDOUT, std::generic_category()};
                return {};
            }
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::min(5, remainingMs(deadline))));
            continue;
        }
        if (errno != EINPROGRESS && errno != EINTR && errno != EALREADY) break;
        // Interrupted or under way: the outcome arrives as writability.
        if (!waitFor(connection.fd_, POLLOUT, deadline)) break;
        int soError = 0;
        socklen_t length = sizeof soError;
        if (::getsockopt(connection.fd_, SOL_SOCKET, SO_ERROR, &soError, &length) != 0) break;
        if (soError == 0) return connection;
        errno = soError;
        break;
    }
    error = lastError();
    return {};
}

bool LocalConnection::peerIsSameUser() const {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (fd_ < 0 || ::getsockopt(fd_, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) return false;
    return peer.uid == ::geteuid();
}

std::error_code LocalConnection::sendAll(std::string_view bytes, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(fd_, POLLOUT, deadline)) return lastError();
        } else if (errno != EINTR) {
            return lastError();
        }
    }
    return {};
}

bool LocalConnection::readAvailable(std::string& into) {
    if (fd_ < 0) return false;
    char buffer[1024];
    // Bounded, so that a peer that keeps writing cannot hold the caller here.
    for (std::size_t taken = 0; taken < 64 * 1024;) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            into.append(buffer, static_cast<std::size_t>(got));
            taken += static_cast<std::size_t>(got);
        } else if (got == 0) {
            return false;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return true;
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> LocalConnection::receiveLine(int timeoutMs, std::size_t maxBytes) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string received;
    for (;;) {
        const bool open = readAvailable(received);
        const std::size_t end = received.find('\n');
        if (end != std::string::npos && end < maxBytes) return received.substr(0, end + 1);
        if (!open || received.size() >= maxBytes || !waitFor(fd_, POLLIN, deadline)) {
            return std::nullopt;
        }
    }
}

std::error_code LocalServer::listen(const std::filesystem::path& path) {
    close();
    sockaddr_un address;
    if (!socketAddress(path, address)) return {ENAMETOOLONG, std::generic_category()};

    // Bound in a private folder, given user-only access there and then linked
    // into place, so that no one else can connect in between.
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    std::string privateFolder = (folder / ".hayate-XXXXXX").native();
    if (!::mkdtemp(privateFolder.data())) return lastError();
    const std::filesystem::path bound = std::filesystem::path(privateFolder) / "s";
    std::error_code error;
    sockaddr_un boundAddress;
    int fd = -1;
    if (!socketAddress(bound, boundAddress)) {
        error = {ENAMETOOLONG, std::generic_category()};
    } else if ((fd = newSocket()) < 0) {
        error = lastError();
    } else if (::bind(fd, reinterpret_cast<const sockaddr*>(&boundAddress), sizeof boundAddress) !=
                   0 ||
               ::listen(fd, SOMAXCONN) != 0 || ::chmod(bound.c_str(), S_IRWXU) != 0) {
        error = lastError();
    } else {
        for (int attempt = 0;; ++attempt) {
            error = placeAt(bound, path);
            if (error.value() != EEXIST || attempt == 1) break;
            if ((error = removeIfStale(path, address))) break;
        }
    }
    ::unlink(bound.c_str());
    ::rmdir(privateFolder.c_str());
    struct stat st {};
    if (!error && ::lstat(path.c_str(), &st) != 0) error = lastError();
    if (error) {
        if (fd >= 0) ::close(fd);
        return error;
    }
    fd_ = fd;
    path_ = path;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return {};
}

LocalConnection LocalServer::accept() {
    if (fd_ < 0) return {};
    for (;;) {
        const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) return LocalConnection(fd);
        // A client that gave up before being taken is skipped.
        if (errno != EINTR && errno != ECONNABORTED) return {};
    }
}

void LocalServer::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_) {
        ::unlink(path_.c_str());
    }
}

}  // namespace hayate
