// The kana side of readings, on UTF-8 text: what needs a reading, and
// katakana turned into hiragana.
#pragma once

#include <string>
#include <string_view>

namespace hayate {

// A kanji (with the iteration mark 々 and the CJK compatibility block), or
// a full-width or half-width katakana other than the long-vowel mark.
bool needsReading(char32_t cp);
bool containsCharacterToRead(std::string_view utf8);
bool containsKanji(std::string_view utf8);

// Every katakana becomes its hiragana; ー stays, as it is typed the same way.
// ヴ, ヵ and ヶ have no hiragana in Shift-JIS and stay as they are.
// Half-width katakana become full-width first, a voiced or semi-voiced mark
// after one joined to it.
std::string hiraganaOf(std::string_view utf8);

// `cp` written as UTF-8 at the end of `out`.
void appendUtf8(std::string& out, char32_t cp);

}  // namespace hayate
