#include "platform/iconv_whole.h"

#if !defined(_WIN32)

namespace hayate {

std::optional<std::string> convertWhole(iconv_t cd, std::string_view in) {
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a failed call may leave state behind
    std::string source(in);
    // Three bytes of UTF-8 for a half-width kana's one: four leaves room either way.
    std::string out(in.size() * 4 + 8, '\0');
    char* src = source.data();
    std::size_t srcLeft = source.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    const std::size_t done = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    if (done == static_cast<std::size_t>(-1) || srcLeft != 0 || done != 0) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace hayate

#endif
