// A small reader and writer for the profile (INI) format of the settings file.
// It behaves like the Windows profile functions the format comes from: section
// and key names match without regard to ASCII case, and writing a key leaves
// every other line of the file exactly as it was.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hayate {

// The text of one profile file, kept line by line so that it can be written back
// unchanged apart from the keys set. Names and values are Shift-JIS bytes.
class IniDocument {
  public:
    IniDocument() = default;
    // Any bytes are accepted; lines that are neither a section header nor a
    // key line are kept and ignored.
    explicit IniDocument(std::string_view content);

    // The value of `key` in `section`, without the blanks around it and
    // without one pair of enclosing quotes; nothing when the key is missing.
    // The first matching section and key win, as with the profile functions.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Sets `key` in `section`: an existing key line is rewritten in place, a
    // new key goes after the last key of the section, a new section to the end.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string content() const;

  private:
    struct Line {
        std::string text;  // without its line break
        std::string end;   // "\r\n", "\n" or "" for a last line without one
    };
    enum class Kind { Other, Section, Key };
    struct Parsed {
        Kind kind = Kind::Other;
        std::string name;  // section or key name, trimmed
        std::string value;
    };
    static Parsed parse(std::string_view line);
    std::string newline() const;

    std::vector<Line> lines_;
};

// Integer reading in the manner of the profile functions: optional blanks and
// sign, then decimal digits up to the first other character. Text that does
// not start with a digit gives 0; a number too large for 32 bits gives nothing.
std::optional<int> parseProfileInt(std::string_view text);

// ASCII-case-insensitive comparison that keeps the second byte of a two-byte
// Shift-JIS character as it is (it may fall in the range of the ASCII letters).
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// File helpers: a missing or unreadable file reads as empty; a write replaces
// the file crash-safely and creates it when it is missing.
std::optional<std::string> readProfileString(const std::filesystem::path& file,
                                             std::string_view section, std::string_view key);

struct ProfileEntry {
    std::string_view key;
    std::string value;
};
// Writes all `entries` in one replacement of the file. False when the file
// exists but cannot be read, or cannot be replaced; the file is then untouched.
bool writeProfileStrings(const std::filesystem::path& file, std::string_view section,
                         const std::vector<ProfileEntry>& entries);

}  // namespace hayate
