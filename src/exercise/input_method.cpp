#include "exercise/input_method.h"

#include "text/user_texts.h"

namespace hayate {

std::string_view inputMethodStatusText(InputMethod method) {
    return sjisText(method == InputMethod::Kana ? UserText::KanaInputStatus
                                                : UserText::RomajiInputStatus);
}

std::string_view hintCaptionText(InputMethod method) {
    return sjisText(method == InputMethod::Kana ? UserText::KanaHintCaption
                                                : UserText::RomajiHintCaption);
}

}  // namespace hayate
