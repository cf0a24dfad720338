// The problem editor's romaji kind typed on the JIS kana layout: each key
// puts its kana, and ゛ or ゜ turns the kana typed just before into its
// voiced or semi-voiced form, as a kana keyboard's input method does.
#pragma once

#include <string>

#include "text/jis_kana_layout.h"

namespace hayate {

struct KanaEdit {
    enum class Kind {
        None,          // the key is no kana key, or its mark finds nothing to join
        Place,         // put `text` at the insertion position
        MarkPrevious,  // replace the kana typed last with `text`
    };
    Kind kind = Kind::None;
    std::string text;  // one two-byte Shift-JIS character
};

// `previous`: the kana the last key of the layout put, while it is still
// where it was put; null otherwise. A mark alone is never placed: it is no
// character a practice text can hold.
KanaEdit composeKana(JisKey key, const std::string* previous);

}  // namespace hayate
