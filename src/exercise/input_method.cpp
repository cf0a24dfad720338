#include "exercise/input_method.h"

#include "text/sjis.h"

namespace hayate {

const std::string& inputMethodStatusText(InputMethod method) {
    static const std::string romaji = sjisLiteral(u8"ローマ字入力");
    static const std::string kana = sjisLiteral(u8"かな入力");
    return method == InputMethod::Kana ? kana : romaji;
}

const std::string& hintCaptionText(InputMethod method) {
    static const std::string romaji = sjisLiteral(u8"ローマ字＝");
    static const std::string kana = sjisLiteral(u8"キー＝");
    return method == InputMethod::Kana ? kana : romaji;
}

}  // namespace hayate
