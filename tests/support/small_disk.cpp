#include "support/small_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

namespace hayate::test {

namespace {

constexpr const char* kFiller = ".filler";

}  // namespace

SmallDisk::SmallDisk(std::size_t kilobytes) {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("hayate-disk-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0777";
    if (::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0) {
        mounted_ = true;
    } else {
        whyNot_ = std::string("a small tmpfs cannot be mounted here: ") + std::strerror(errno);
    }
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void SmallDisk::fill(std::size_t leaveKilobytes) {
    const std::filesystem::path filler = path_ / kFiller;
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0) return;
    const std::vector<char> block(1024, 'x');
    // A byte at a time at the end, so that the last free byte is taken.
    for (std::size_t size : {block.size(), std::size_t{1}})
        while (::write(fd, block.data(), size) == static_cast<ssize_t>(size)) {
        }
    if (leaveKilobytes > 0) {
        const off_t end = ::lseek(fd, 0, SEEK_END);
        const auto freed = static_cast<off_t>(leaveKilobytes * 1024);
        [[maybe_unused]] const int ignored = ::ftruncate(fd, end > freed ? end - freed : 0);
    }
    ::close(fd);
}

void SmallDisk::empty() {
    std::error_code ec;
    std::filesystem::remove(path_ / kFiller, ec);
}

}  // namespace hayate::test
