// File names between the settings file, which keeps them in Shift-JIS (code
// page 932) like all its text, and the file system, which names files in its
// own encoding: UTF-8 on Linux and macOS, UTF-16 (given here as UTF-8) on
// Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hayate {

// Nothing when the bytes are no valid Shift-JIS.
std::optional<std::string> fileSystemNameFromSjis(std::string_view sjis);

// Any text of code page 932 (kanji and the vendor rows included) as UTF-8;
// nothing when the bytes are no valid Shift-JIS.
std::optional<std::string> utf8FromSjis(std::string_view sjis);

// Nothing when the name holds a character Shift-JIS has no code for, or is no
// valid UTF-8.
std::optional<std::string> sjisFromFileSystemName(std::string_view name);

// Any UTF-8 text as code page 932; nothing when a character has no code there
// or the bytes are no valid UTF-8.
std::optional<std::string> sjisFromUtf8(std::string_view utf8);

}  // namespace hayate
