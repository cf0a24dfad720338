#include "platform/file_check.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/safe_file.h"

namespace hayate {

namespace {

namespace fs = std::filesystem;

// Files take whole blocks; 4 KB is the block of the usual file systems and
// the page of tmpfs.
constexpr std::uintmax_t kBlockBytes = 4096;

fs::path folderOf(const fs::path& path) {
    const fs::path parent = followLinks(path).parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

}  // namespace

bool roomFor(const fs::path& folder, std::uintmax_t bytes) {
    std::error_code ec;
    const fs::space_info space = fs::space(folder, ec);
    if (ec) return true;
#if defined(_WIN32)
    const std::uintmax_t free = space.available;
#else
    // Root may use the blocks a file system keeps back from other users.
    const std::uintmax_t free = ::geteuid() == 0 ? space.free : space.available;
#endif
    const std::uintmax_t needed = (bytes + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
    return free >= needed;
}

#if defined(_WIN32)

bool folderTakesFiles(const fs::path& folder) {
    // Folder permissions are no attribute here: an empty file, which takes no
    // space, is made and removed again.
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    const fs::path probe = folder / ".hayateuchi-folder-test";
    {
        std::ofstream f(probe, std::ios::binary);
        if (!f) return false;
    }
    return fs::remove(probe, ec) && !ec;
}

bool regularFileWritable(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    return f.is_open();
}

std::optional<std::string> readRegularFileHead(const fs::path& path, std::size_t maxBytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(maxBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(maxBytes));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

FileTrouble diagnoseDataFile(const fs::path& path, std::uintmax_t fullBytes) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        const fs::path folder = folderOf(path);
        if (!fs::is_directory(folder, ec)) return FileTrouble::FolderMissing;
        if (!folderTakesFiles(folder)) return FileTrouble::FolderNotWritable;
        return roomFor(folder, fullBytes) ? FileTrouble::None : FileTrouble::DiskFull;
    }
    if (ec) return FileTrouble::NoAccess;
    if (status.type() == fs::file_type::directory) return FileTrouble::Folder;
    if (status.type() != fs::file_type::regular) return FileTrouble::NotRegular;
    if (!regularFileWritable(path)) return FileTrouble::ReadOnly;
    if (fs::file_size(path, ec) < fullBytes && !roomFor(folderOf(path), fullBytes))
        return FileTrouble::DiskFull;
    return FileTrouble::None;
}

#else

bool folderTakesFiles(const fs::path& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

namespace {

// Opened without waiting: a FIFO or device that slipped in after the type
// check is refused by its type instead.
int openRegular(const fs::path& path, int flags) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return -1;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

}  // namespace

bool regularFileWritable(const fs::path& path) {
    const int fd = openRegular(path, O_RDWR);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::optional<std::string> readRegularFileHead(const fs::path& path, std::size_t maxBytes) {
    const int fd = openRegular(path, O_RDONLY);
    if (fd < 0) return std::nullopt;
    std::string bytes(maxBytes, '\0');
    std::size_t done = 0;
    bool failed = false;
    while (done < maxBytes) {
        const ssize_t n = ::read(fd, bytes.data() + done, maxBytes - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failed = true;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (failed) return std::nullopt;
    bytes.resize(done);
    return bytes;
}

FileTrouble diagnoseDataFile(const fs::path& path, std::uintmax_t fullBytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        switch (errno) {
            case ELOOP:
                return FileTrouble::LinkLoop;
            case EACCES:
                return FileTrouble::NoAccess;
            case ENOTDIR:
                return FileTrouble::FolderMissing;
            case ENOENT:
                break;
            default:
                return FileTrouble::Unreadable;
        }
        const fs::path folder = folderOf(path);
        struct stat folderStat {};
        if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode))
            return FileTrouble::FolderMissing;
        if (::access(folder.c_str(), W_OK | X_OK) != 0)
            return errno == EROFS ? FileTrouble::ReadOnlyDisk : FileTrouble::FolderNotWritable;
        return roomFor(folder, fullBytes) ? FileTrouble::None : FileTrouble::DiskFull;
    }
    if (S_ISDIR(st.st_mode)) return FileTrouble::Folder;
    if (!S_ISREG(st.st_mode)) return FileTrouble::NotRegular;
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EROFS) return FileTrouble::ReadOnlyDisk;
        if (errno == EACCES || errno == EPERM || errno == ETXTBSY)
            return ::access(path.c_str(), R_OK) == 0 ? FileTrouble::ReadOnly
                                                     : FileTrouble::NoAccess;
        return FileTrouble::Unreadable;
    }
    char byte = 0;
    const bool readable = ::pread(fd, &byte, 1, 0) >= 0;
    ::close(fd);
    if (!readable) return FileTrouble::Unreadable;
    if (static_cast<std::uintmax_t>(st.st_size) < fullBytes && !roomFor(folderOf(path), fullBytes))
        return FileTrouble::DiskFull;
    return FileTrouble::None;
}

#endif

}  // namespace hayate
