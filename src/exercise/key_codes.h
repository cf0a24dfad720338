// Virtual-key codes of the Windows keyboard model, which the window layer
// translates its own key events into before handing them to the exercise.
#pragma once

namespace hayate::vk {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kShift = 16;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kUp = 38;
constexpr int kDelete = 46;
constexpr int kDigit0 = 48;
constexpr int kDigit9 = 57;
constexpr int kLetterA = 65;
constexpr int kLetterZ = 90;
constexpr int kNumpad0 = 96;
constexpr int kNumpad9 = 105;
constexpr int kMultiply = 106;
constexpr int kDivide = 111;
constexpr int kF1 = 112;
constexpr int kF10 = 121;
constexpr int kSemicolon = 186;   // first of the usual punctuation keys
constexpr int kProcessKey = 229;  // the input method took the key

}  // namespace hayate::vk
