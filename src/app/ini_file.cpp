#include "app/ini_file.h"

#include <fstream>
#include <limits>
#include <system_error>

#include "platform/safe_file.h"
#include "text/sjis.h"

namespace hayate {

namespace {

// A stray carriage return counts as a blank, so that a line means the same
// whether or not a line break follows it.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Position of the first `wanted` byte that is not the second byte of a
// two-byte character, or npos.
std::size_t findChar(std::string_view s, char wanted) {
    for (std::size_t i = 0; i < s.size(); i += charLengthAt(s, i))
        if (s[i] == wanted) return i;
    return std::string_view::npos;
}

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// Opened for reading and writing, as every write of the settings needs: a
// read-only or locked file fails here, before anything is replaced.
bool openableForUpdate(const std::filesystem::path& file) {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    return f.is_open();
}

}  // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        const std::size_t n = charLengthAt(a, i);
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

std::optional<int> parseProfileInt(std::string_view text) {
    // The whole value must be the number, as a decimal or as 0x / $ hexadecimal.
    std::string_view s = trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (s.size() > 1 && s[0] == '$') {
        base = 16;
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    long long v = 0;
    for (char c : s) {
        const int d = digitValue(c, base);
        if (d < 0) return std::nullopt;
        v = v * base + d;
        if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(v);
}

IniDocument::IniDocument(std::string_view content) {
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t nl = content.find('\n', start);
        if (nl == std::string_view::npos) {
            lines_.push_back({std::string(content.substr(start)), ""});
            break;
        }
        const bool crlf = nl > start && content[nl - 1] == '\r';
        const std::size_t textEnd = crlf ? nl - 1 : nl;
        lines_.push_back({std::string(content.substr(start, textEnd - start)),
                          std::string(crlf ? "\r\n" : "\n")});
        start = nl + 1;
    }
}

IniDocument::Parsed IniDocument::parse(std::string_view line) {
    Parsed p;
    const std::string_view s = trim(line);
    if (s.empty() || s.front() == ';') return p;
    if (s.front() == '[') {
        std::string_view rest = s.substr(1);
        const std::size_t close = findChar(rest, ']');
        if (close != std::string_view::npos) rest = rest.substr(0, close);
        p.kind = Kind::Section;
        p.name = std::string(trim(rest));
        return p;
    }
    const std::size_t eq = findChar(s, '=');
    if (eq == std::string_view::npos) return p;
    p.kind = Kind::Key;
    p.name = std::string(trim(s.substr(0, eq)));
    std::string_view v = trim(s.substr(eq + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    p.value = std::string(v);
    return p;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    bool inSection = false;
    bool seenSection = false;
    for (const Line& line : lines_) {
        const Parsed p = parse(line.text);
        if (p.kind == Kind::Section) {
            // Only the first section of the name counts.
            if (inSection) return std::nullopt;
            inSection = !seenSection && equalsIgnoringAsciiCase(p.name, section);
            seenSection = seenSection || inSection;
        } else if (inSection && p.kind == Kind::Key && equalsIgnoringAsciiCase(p.name, key)) {
            return p.value;
        }
    }
    return std::nullopt;
}

std::string IniDocument::newline() const {
    for (const Line& line : lines_)
        if (!line.end.empty()) return line.end;
    return "\r\n";
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    std::string keyLine = std::string(key) + "=" + std::string(value);
    const std::string nl = newline();

    std::size_t i = 0;
    while (i < lines_.size()) {
        const Parsed p = parse(lines_[i].text);
        if (p.kind == Kind::Section && equalsIgnoringAsciiCase(p.name, section)) break;
        ++i;
    }
    if (i == lines_.size()) {
        if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = nl;
        lines_.push_back({"[" + std::string(section) + "]", nl});
        lines_.push_back({std::move(keyLine), nl});
        return;
    }

    std::size_t insertAfter = i;  // the header, or the section's last key line
    for (std::size_t j = i + 1; j < lines_.size(); ++j) {
        const Parsed p = parse(lines_[j].text);
        if (p.kind == Kind::Section) break;
        if (p.kind != Kind::Key) continue;
        if (equalsIgnoringAsciiCase(p.name, key)) {
            lines_[j].text = std::move(keyLine);
            return;
        }
        insertAfter = j;
    }
    if (lines_[insertAfter].end.empty()) lines_[insertAfter].end = nl;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAfter) + 1,
                  Line{std::move(keyLine), nl});
}

std::string IniDocument::content() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::optional<std::string> readProfileString(const std::filesystem::path& file,
                                             std::string_view section, std::string_view key) {
    const std::optional<std::string> content = readWholeFile(file);
    if (!content) return std::nullopt;
    return IniDocument(*content).value(section, key);
}

bool writeProfileStrings(const std::filesystem::path& file, std::string_view section,
                         const std::vector<ProfileEntry>& entries) {
    for (const ProfileEntry& e : entries) {
        // A line break or NUL in a value would split the line or end it early.
        if (e.value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return false;
    }
    std::string content;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        // A read-only file stays as it is, as with the profile functions.
        if (!openableForUpdate(file)) return false;
        std::optional<std::string> old = readWholeFile(file);
        if (!old) return false;
        content = std::move(*old);
    } else if (ec) {
        return false;
    }
    IniDocument doc(content);
    for (const ProfileEntry& e : entries) doc.setValue(section, e.key, e.value);
    return replaceFileAtomically(file, doc.content());
}

}  // namespace hayate
