#include "platform/safe_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace hayate {

namespace {

namespace fs = std::filesystem;

bool gFailBeforeRename = false;

// Temporary files are "<name>.tmp~<unique>"; the bare "<name>.tmp~" is what
// earlier versions used.
constexpr std::string_view kTempMark = ".tmp~";

std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
#if defined(_WIN32)
    const long pid = _getpid();
#else
    const long pid = static_cast<long>(::getpid());
#endif
    return std::to_string(pid) + "-" + std::to_string(counter++) + "-" +
           std::to_string(static_cast<unsigned long long>(now) % 1000000007ULL);
}

// A crash between writing and renaming leaves a temporary file; only regular
// files of the program's own naming go, never a folder or a link.
void removeLeftovers(const fs::path& target) {
    const std::string prefix = target.filename().string() + std::string(kTempMark);
    std::error_code ec;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        std::error_code statError;
        if (it->symlink_status(statError).type() == fs::file_type::regular) {
            fs::remove(it->path(), statError);
        }
    }
}

#if defined(_WIN32)

bool writeAll(std::FILE* f, std::string_view content) {
    return std::fwrite(content.data(), 1, content.size(), f) == content.size() &&
           std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
}

bool replaceOnce(const fs::path& target, std::string_view content) {
    fs::path temp = target;
    temp += std::string(kTempMark) + uniqueSuffix();
    std::FILE* f = ::_wfopen(temp.c_str(), L"wbx");  // wide, so that non-ASCII folders work
    if (!f) return false;
    const bool written = writeAll(f, content);
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!written || !closed || gFailBeforeRename) {
        if (!gFailBeforeRename) fs::remove(temp, ec);
        return false;
    }
    fs::rename(temp, target, ec);
    if (ec) fs::remove(temp, ec);
    return !ec;
}

#else

bool writeAll(int fd, std::string_view content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    // Makes the rename itself durable; a failure only weakens that, so it is not reported.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The folder refuses new files: the file is overwritten where it is.
bool rewriteInPlace(const fs::path& target, std::string_view content) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = writeAll(fd, content) &&
                    ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool replaceOnce(const fs::path& target, std::string_view content) {
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) return false;

    fs::path temp = target;
    temp += std::string(kTempMark) + uniqueSuffix();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const bool refused = errno == EACCES || errno == EPERM || errno == EROFS;
        return refused && existed && rewriteInPlace(target, content);
    }
    // The user's permission bits stay, whatever the umask says.
    bool ok = !existed || ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && writeAll(fd, content) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    std::error_code ec;
    if (!ok || gFailBeforeRename) {
        if (!gFailBeforeRename) fs::remove(temp, ec);
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        fs::remove(temp, ec);
        return false;
    }
    syncFolder(target.parent_path());
    return true;
}

#endif

}  // namespace

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
#if defined(_WIN32)
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::FILE* f = ::_wfopen(path.c_str(), L"rb");
#else
    // A FIFO would wait for a writer for ever and /dev/zero never ends:
    // only a regular file is read, judged on what was actually opened.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        ::close(fd);
        return std::nullopt;
    }
#endif
    if (!f) return std::nullopt;
    std::string content;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return content;
}

std::filesystem::path followLinks(const std::filesystem::path& path) {
    fs::path current = path;
    // A loop of links ends here rather than spinning; the replacement then fails.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(current, ec)) return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

bool replaceFileAtomically(const std::filesystem::path& path, std::string_view content) {
    const fs::path target = followLinks(path);
    std::error_code ec;
    if (fs::is_symlink(target, ec)) return false;  // a loop of links
    if (!gFailBeforeRename) removeLeftovers(target);
    return replaceOnce(target, content);
}

void setFailBeforeRenameForTesting(bool fail) { gFailBeforeRename = fail; }

}  // namespace hayate
