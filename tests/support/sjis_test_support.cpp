#include "support/sjis_test_support.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <vector>

namespace hayate::test {

namespace {

std::string convert(std::string_view in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv cannot convert " << from << " to " << to;
        return {};
    }
    std::vector<char> src(in.begin(), in.end());
    std::vector<char> dst(in.size() * 4 + 8);
    char* inPtr = src.data();
    size_t inLeft = src.size();
    char* outPtr = dst.data();
    size_t outLeft = dst.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        ADD_FAILURE() << "iconv failed on " << hex(in);
    }
    iconv_close(cd);
    return std::string(dst.data(), dst.size() - outLeft);
}

}  // namespace

std::string sj(std::string_view utf8Text) { return convert(utf8Text, "CP932", "UTF-8"); }

std::string utf8(std::string_view sjis) { return convert(sjis, "UTF-8", "CP932"); }

std::string hex(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

}  // namespace hayate::test
