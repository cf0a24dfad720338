// Whole-file reads and crash-safe replacement of the small files the program
// keeps (settings, records, problems).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hayate {

// The whole content of `path`, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Replaces `path` with `content` so that a crash leaves either the old or the
// new file, never a mixture: the content goes to a temporary file in the same
// folder, is flushed to disk, and is renamed over the old file. Returns false,
// leaving the old file untouched, on any failure.
bool replaceFileAtomically(const std::filesystem::path& path, std::string_view content);

// Test seam: when set, replaceFileAtomically fails right after the temporary
// file is written, as an interrupted write would.
void setFailBeforeRenameForTesting(bool fail);

}  // namespace hayate
