#include "problems/text_import.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

constexpr char kEndOfFile = 0x1A;  // Ctrl+Z

bool inRange(std::string_view ch, std::string_view first, std::string_view last) {
    return ch.size() == 2 && ch >= first && ch <= last;
}

// Kana index of a two-byte character by its code: the import tests each
// character of a file that may be megabytes long. Every two-byte entry of the
// kana table has the lead byte 81 or 82.
class KanaIndexTable {
  public:
    explicit KanaIndexTable(const CharTables& tables) {
        index_.fill(-1);
        for (int k = CharTables::kLastKanaIndex; k >= 0; --k) {  // the lowest index wins
            const std::string& kana = tables.kana(k);
            if (kana.size() == 2 && slot(kana) >= 0)
                index_[static_cast<std::size_t>(slot(kana))] = static_cast<std::int16_t>(k);
        }
    }
    int operator()(std::string_view ch) const {
        if (ch.size() != 2) return -1;
        const int s = slot(ch);
        return s >= 0 ? index_[static_cast<std::size_t>(s)] : -1;
    }

  private:
    static int slot(std::string_view ch) {
        const int lead = static_cast<unsigned char>(ch[0]);
        if (lead != 0x81 && lead != 0x82) return -1;
        return (lead - 0x81) * 256 + static_cast<unsigned char>(ch[1]);
    }
    std::array<std::int16_t, 512> index_;
};

bool accept(const CharTables& tables, int kind, int kanaIndex, std::string& ch) {
    static const std::string kUpperA = sjisLiteral(u8"Ａ"), kUpperZ = sjisLiteral(u8"Ｚ");
    static const std::string kLowerA = sjisLiteral(u8"ａ"), kLowerZ = sjisLiteral(u8"ｚ");
    if (kind == 1) return kanaIndex >= 0;
    // Kana syllables take indexes below 127; punctuation, digits, symbols
    // and the full-width space come after them.
    if (kanaIndex >= 0) return kanaIndex >= 127;
    auto changeCase = [&](bool upper) {
        std::string half = toHalfWidth(tables, ch);
        for (char& c : half) {
            if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        ch = toFullWidth(tables, half);
    };
    if (kind == 0) {
        if (inRange(ch, kLowerA, kLowerZ)) changeCase(true);
        return inRange(ch, kUpperA, kUpperZ);
    }
    if (kind == 2) {
        if (inRange(ch, kUpperA, kUpperZ)) changeCase(false);
        return inRange(ch, kLowerA, kLowerZ);
    }
    return inRange(ch, kLowerA, kLowerZ) || inRange(ch, kUpperA, kUpperZ);
}

}  // namespace

bool acceptImportCharacter(const CharTables& tables, int kind, std::string& ch) {
    return accept(tables, kind, kanaIndexOf(tables, ch), ch);
}

namespace {

ImportResult parse(const CharTables& tables, int kind, std::string_view fileBytes) {
    const KanaIndexTable kanaIndex(tables);

    const DecodedText decoded = decodeImportText(fileBytes);
    std::string_view rest = decoded.sjis;
    if (const std::size_t eof = rest.find(kEndOfFile); eof != std::string_view::npos) {
        rest = rest.substr(0, eof);
    }
    ImportResult result;
    result.outcome = importOutcomeOf(decoded, rest);
    if (result.outcome != ImportOutcome::Filled) return result;

    int lines = 0;
    while (const std::optional<std::string> cleaned = nextImportLine(rest, lines)) {
        const std::string wide = toFullWidth(tables, *cleaned);
        for (std::size_t i = 0; i < wide.size();) {
            const std::size_t n = charLengthAt(wide, i);
            // Walking by characters, a byte without a full-width form is
            // dropped alone instead of pairing the bytes after it wrongly.
            if (n == 2) {
                std::string ch = wide.substr(i, 2);
                if (accept(tables, kind, kanaIndex(ch), ch)) {
                    result.characters.push_back(std::move(ch));
                    if (result.characters.size() == kImportMaxCharacters) return result;
                }
            }
            i += n;
        }
    }
    return result;
}

}  // namespace

ImportOutcome importOutcomeOf(const DecodedText& decoded, std::string_view text) {
    // Nothing but line ends and other control characters: there is no text
    // to take, whatever the file is.
    const bool printable = std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    });
    if (!printable) return ImportOutcome::Empty;
    return decoded.isText ? ImportOutcome::Filled : ImportOutcome::NotText;
}

std::optional<std::string> nextImportLine(std::string_view& rest, int& lines) {
    while (!rest.empty() && lines < kImportMaxLines) {
        const std::size_t end = rest.find_first_of("\r\n");
        const std::string_view raw = rest.substr(0, end);
        if (end == std::string_view::npos) {
            rest = {};
        } else {
            const bool crLf = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n';
            rest.remove_prefix(end + (crLf ? 2 : 1));
        }
        if (raw.empty()) continue;
        ++lines;
        std::string cleaned;
        for (char c : raw)
            if (static_cast<unsigned char>(c) >= 0x20) cleaned.push_back(c);
        // A line of nothing but control characters ends the text; lines after
        // it, like lines after a full grid, are never used.
        if (cleaned.empty()) return std::nullopt;
        return cleaned;
    }
    return std::nullopt;
}

ImportResult parseImportText(const CharTables& tables, int kind, std::string_view fileBytes) {
    const auto forms = kind == 1 ? CharTables::Brackets::Corner : CharTables::Brackets::Square;
    // The editor keeps the forms of its kind, so a copy is seldom needed.
    if (tables.brackets() == forms) return parse(tables, kind, fileBytes);
    CharTables own = tables;
    own.setBrackets(forms);
    return parse(own, kind, fileBytes);
}

#if defined(_WIN32)

ImportFile readImportFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    if (type == std::filesystem::file_type::not_found || error) return {};
    if (type != std::filesystem::file_type::regular) return {ImportFileStatus::NotAFile, {}};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string bytes(kImportReadLimit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return {};
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return {ImportFileStatus::Read, std::move(bytes)};
}

#else

ImportFile readImportFile(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    if (!S_ISREG(info.st_mode)) return {ImportFileStatus::NotAFile, {}};
    // Without waiting for a writer or a device, should one have taken the
    // file's place since.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {};
    ImportFile file;
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return {ImportFileStatus::NotAFile, {}};
    }
    file.bytes.resize(kImportReadLimit);
    std::size_t done = 0;
    while (done < file.bytes.size()) {
        const ssize_t n = ::read(fd, file.bytes.data() + done, file.bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return {};
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    file.bytes.resize(done);
    file.status = ImportFileStatus::Read;
    return file;
}

#endif

}  // namespace hayate
