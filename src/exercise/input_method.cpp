#include "exercise/input_method.h"

namespace hayate {

// Shift-JIS bytes: the kanji are outside what the literal helper converts.
const std::string& inputMethodStatusText(InputMethod method) {
    static const std::string romaji = "\x83\x8d\x81\x5b\x83\x7d\x8e\x9a\x93\xfc\x97\xcd";  // ローマ字入力
    static const std::string kana = "\x82\xa9\x82\xc8\x93\xfc\x97\xcd";  // かな入力
    return method == InputMethod::Kana ? kana : romaji;
}

const std::string& hintCaptionText(InputMethod method) {
    static const std::string romaji = "\x83\x8d\x81\x5b\x83\x7d\x8e\x9a\x81\x81";  // ローマ字＝
    static const std::string kana = "\x83\x4c\x81\x5b\x81\x81";  // キー＝
    return method == InputMethod::Kana ? kana : romaji;
}

}  // namespace hayate
