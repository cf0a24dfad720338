// Text of any kind between UTF-8 and Shift-JIS (code page 932, kanji and the
// vendor rows included), for converting many short pieces in a row: the
// converter is opened once and kept.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace hayate {

class SjisConverter {
  public:
    SjisConverter();
    ~SjisConverter();
    SjisConverter(const SjisConverter&) = delete;
    SjisConverter& operator=(const SjisConverter&) = delete;

    // A character the other side has no code for, and a malformed sequence,
    // becomes 〓 (in the target encoding), so that the rest of the text is
    // kept and nothing is joined.
    std::string toSjis(std::string_view utf8);
    std::string toUtf8(std::string_view sjis);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace hayate
