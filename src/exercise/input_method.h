// How the kana of the romaji courses are typed: as romaji letters, or on the
// JIS kana layout, one physical key per kana and a second key for ゛ or ゜.
#pragma once

#include <string_view>

namespace hayate {

enum class InputMethod { Romaji, Kana };

// The status bar's text for the method: "ローマ字入力" or "かな入力" (Shift-JIS).
std::string_view inputMethodStatusText(InputMethod method);

// The caption before the hint labels while kana are practised: "ローマ字＝",
// or "キー＝" when the hint shows the keys of the kana layout (Shift-JIS).
std::string_view hintCaptionText(InputMethod method);

}  // namespace hayate
