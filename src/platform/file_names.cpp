#include "platform/file_names.h"

#include <cerrno>

#if defined(_WIN32)
#include <windows.h>
#else
#include "platform/iconv_whole.h"
#endif

namespace hayate {

namespace {

bool plainAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

#if defined(_WIN32)

std::optional<std::string> convert(std::string_view in, UINT from, UINT to) {
    if (in.empty()) return std::string();
    const int wide = ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(),
                                           static_cast<int>(in.size()), nullptr, 0);
    if (wide <= 0) return std::nullopt;
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()),
                          w.data(), wide);
    BOOL lost = FALSE;
    const int bytes = ::WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr,
                                            to == CP_UTF8 ? nullptr : &lost);
    if (bytes <= 0 || lost) return std::nullopt;
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(to, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::optional<std::string> toFileSystem(std::string_view sjis) {
    return convert(sjis, 932, CP_UTF8);
}
std::optional<std::string> toSjis(std::string_view name) { return convert(name, CP_UTF8, 932); }

#else

// A name that cannot be converted exactly is refused rather than stored with
// a character lost.
std::optional<std::string> convert(std::string_view in, const char* to, const char* from) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::optional<std::string> out = convertWhole(cd, in);
    ::iconv_close(cd);
    return out;
}

std::optional<std::string> toFileSystem(std::string_view sjis) {
    return convert(sjis, "UTF-8", "CP932");
}
std::optional<std::string> toSjis(std::string_view name) { return convert(name, "CP932", "UTF-8"); }

#endif

}  // namespace

std::optional<std::string> fileSystemNameFromSjis(std::string_view sjis) {
    return utf8FromSjis(sjis);
}

std::optional<std::string> utf8FromSjis(std::string_view sjis) {
    if (plainAscii(sjis)) return std::string(sjis);
    return toFileSystem(sjis);
}

std::optional<std::string> sjisFromFileSystemName(std::string_view name) {
    return sjisFromUtf8(name);
}

std::optional<std::string> sjisFromUtf8(std::string_view utf8) {
    if (plainAscii(utf8)) return std::string(utf8);
    return toSjis(utf8);
}

}  // namespace hayate
