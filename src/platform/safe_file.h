// Whole-file reads and crash-safe replacement of the small files the program
// keeps (settings, records, problems).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hayate {

// The whole content of the regular file `path`, or nothing when it cannot
// be read or is a folder, FIFO or device.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Replaces `path` with `content` so that a crash leaves either the old or the
// new file, never a mixture: the content goes to a temporary file of a name of
// its own in the same folder, is flushed to disk, and is renamed over the old
// file. A symbolic link is followed and the file it names is replaced; the
// file keeps its permission bits. Temporary files that an interrupted
// replacement left behind are removed.
//
// When the folder takes no new file but the file itself is writable (a shared
// folder, a write-protected installation whose data files were made
// writable), the file is rewritten in place and flushed: not crash-safe, but
// the only way to keep the user's data there.
//
// Returns false on any failure; the old file is then untouched, except after
// a failed write in place.
bool replaceFileAtomically(const std::filesystem::path& path, std::string_view content);

// The file a path names once symbolic links are followed (also a link whose
// target does not exist yet), or the path itself when it is no link.
std::filesystem::path followLinks(const std::filesystem::path& path);

// Test seam: when set, replaceFileAtomically fails right after the temporary
// file is written, as an interrupted write would, and leaves it behind.
void setFailBeforeRenameForTesting(bool fail);

}  // namespace hayate
