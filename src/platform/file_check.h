// What the start-up needs to know about a data file before it trusts it:
// whether it is a plain file at all, and, when it cannot be used, why. None
// of these opens a folder, FIFO or device in a way that could wait.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace hayate {

// Why a data file cannot be used, as far as the system tells.
enum class FileTrouble {
    None,               // nothing found wrong
    FolderMissing,      // the folder it belongs in is not there (deleted, unplugged)
    LinkLoop,           // symbolic links that lead round in a circle
    NoAccess,           // permission to reach or read it is denied
    Folder,             // a folder in its place
    NotRegular,         // a FIFO, device or socket in its place
    ReadOnly,           // it can be read but not written
    ReadOnlyDisk,       // it lies on a file system mounted read-only
    FolderNotWritable,  // it is missing and its folder takes no new files
    DiskFull,           // too little free space to write it
    Unreadable,         // reading it fails
};

// Why `path` cannot be used as a data file that is read and written and, when
// missing or shorter, is written out to `fullBytes`. FileTrouble::None when
// nothing is found wrong.
FileTrouble diagnoseDataFile(const std::filesystem::path& path, std::uintmax_t fullBytes);

// The first `maxBytes` bytes of a regular file; nothing for anything else or
// when it cannot be read. A FIFO or device is never read.
std::optional<std::string> readRegularFileHead(const std::filesystem::path& path,
                                               std::size_t maxBytes);

// True when the existing regular file at `path` opens for reading and writing.
bool regularFileWritable(const std::filesystem::path& path);

// True when `folder` is a folder this process may create files in, judged by
// its permissions and its file system, without writing anything: a full
// disk still takes files by this test.
bool folderTakesFiles(const std::filesystem::path& folder);

// True when the file system of `folder` has room for a file of `bytes`,
// counted in whole blocks. True as well when the free space cannot be told.
bool roomFor(const std::filesystem::path& folder, std::uintmax_t bytes);

}  // namespace hayate
