#include "platform/sjis_converter.h"

#include "platform/file_names.h"

#include <cstddef>
#include <optional>

#if defined(_WIN32)
#include <windows.h>
#else
#include "platform/iconv_whole.h"
#endif

namespace hayate {

namespace {

constexpr std::string_view kGetaSjis = "\x81\xAC";
constexpr std::string_view kGetaUtf8 = "\xE3\x80\x93";

bool plainAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Length of the character at `i`: by the lead byte of either encoding. A
// malformed piece is at worst one byte; the conversion of it then fails and
// it becomes the stand-in.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0xC2 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 1;
    if (i + n > s.size()) return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    return n;
}
std::size_t sjisLength(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    if (!lead || i + 1 == s.size()) return 1;
    const auto t = static_cast<unsigned char>(s[i + 1]);
    return t >= 0x40 && t <= 0xFC && t != 0x7F ? 2 : 1;
}

}  // namespace

#if defined(_WIN32)

// The strict conversions of file names do the work; only the substitution
// below is this converter's own.
struct SjisConverter::Impl {
    std::optional<std::string> toSjis(std::string_view s) { return sjisFromUtf8(s); }
    std::optional<std::string> toUtf8(std::string_view s) { return utf8FromSjis(s); }
};

#else

struct SjisConverter::Impl {
    Impl() : toSjisCd(::iconv_open("CP932", "UTF-8")), toUtf8Cd(::iconv_open("UTF-8", "CP932")) {}
    ~Impl() {
        if (toSjisCd != invalid()) ::iconv_close(toSjisCd);
        if (toUtf8Cd != invalid()) ::iconv_close(toUtf8Cd);
    }
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

    static std::optional<std::string> convert(iconv_t cd, std::string_view in) {
        if (cd == invalid()) return std::nullopt;
        return convertWhole(cd, in);
    }
    std::optional<std::string> toSjis(std::string_view s) { return convert(toSjisCd, s); }
    std::optional<std::string> toUtf8(std::string_view s) { return convert(toUtf8Cd, s); }

    iconv_t toSjisCd;
    iconv_t toUtf8Cd;
};

#endif

SjisConverter::SjisConverter() : impl_(std::make_unique<Impl>()) {}
SjisConverter::~SjisConverter() = default;

namespace {

// The whole text at once; character by character only when something cannot
// be converted, each such character becoming the geta mark.
template <class Convert>
std::string convertOrMark(std::string_view text, Convert convert,
                          std::size_t (*length)(std::string_view, std::size_t),
                          std::string_view geta) {
    if (plainAscii(text)) return std::string(text);
    if (auto whole = convert(text)) return *whole;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = length(text, i);
        const auto one = convert(text.substr(i, n));
        out += one ? *one : std::string(geta);
        i += n;
    }
    return out;
}

}  // namespace

std::string SjisConverter::toSjis(std::string_view utf8) {
    return convertOrMark(
        utf8, [this](std::string_view s) { return impl_->toSjis(s); }, utf8Length, kGetaSjis);
}

std::string SjisConverter::toUtf8(std::string_view sjis) {
    return convertOrMark(
        sjis, [this](std::string_view s) { return impl_->toUtf8(s); }, sjisLength, kGetaUtf8);
}

}  // namespace hayate
