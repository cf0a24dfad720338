// A file system of a few kilobytes, to see what a full disk does: a tmpfs
// mounted on a fresh folder for one test. Mounting takes root, as the suite
// runs in CI; elsewhere the test is skipped with the reason.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace hayate::test {

class SmallDisk {
  public:
    explicit SmallDisk(std::size_t kilobytes = 64);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

    // Fills the disk with a file of its own until no byte more fits, then
    // frees `leaveKilobytes` of it again.
    void fill(std::size_t leaveKilobytes = 0);
    // Frees what fill() took.
    void empty();

  private:
    std::filesystem::path path_;
    bool mounted_ = false;
    std::string whyNot_;
};

}  // namespace hayate::test

// Skips the rest of the test where no small disk can be mounted.
#define HAYATE_NEED_SMALL_DISK(disk) \
    if (!(disk).mounted()) GTEST_SKIP() << (disk).whyNot()
