// How the record store reaches the disk. The real one is the only one the
// program uses; tests put in one that refuses chosen files, because a test
// running as root can write any file whatever its permission bits say.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hayate {

enum class FileKind {
    Missing,  // nothing at the path: it may be created
    File,     // a regular file (or a link to one)
    Other,    // a folder or device in its place, or the path cannot be examined
};

class RecordFileAccess {
  public:
    virtual ~RecordFileAccess() = default;
    virtual FileKind kind(const std::filesystem::path& path) = 0;
    // True when the existing file opens for reading and writing. A file that
    // does not (read-only, locked by another program) must not be replaced by
    // a rename either, which would get round its protection.
    virtual bool canOpenForReadWrite(const std::filesystem::path& path) = 0;
    virtual std::optional<std::string> readAll(const std::filesystem::path& path) = 0;
    // Crash-safe: the old content stays whole unless the new content is complete on disk.
    virtual bool replace(const std::filesystem::path& path, std::string_view content) = 0;
};

// The file system itself.
RecordFileAccess& systemRecordFileAccess();

}  // namespace hayate
