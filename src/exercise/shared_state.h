// The settings and course state that the whole program shares. The settings
// file fills it at start-up; the window's choices change it.
#pragma once

#include <string>

#include "exercise/input_method.h"

namespace hayate {

struct SharedState {
    int courseIndex = 0;     // 0..4 built-in courses, 5..14 problem slots 0..9
    int timeLimitIndex = 0;  // 0 = 30 s, 1 = 60 s, 2 = none
    int spacing = 0;         // 0 = with spaces, 1 = without
    int cursorColour = 0;    // 0 = yellow, 1 = none (white)
    int letterCase = 0;      // 0 = upper case, 1 = lower case
    std::string problemFileName = "Kbdojo.USR";
    int romajiExtended = 0;                         // 1: every spelling the input methods accept
    InputMethod inputMethod = InputMethod::Romaji;  // how the kana cells are typed

    bool kanaMode = false;  // kana typed as romaji: course ローマ字 and romaji-kind problems
    int caseMode = 0;       // 2 = letters must match in case

    // 0..5: time limit x 2 + spacing, the column of the record tables.
    int settingIndex() const { return timeLimitIndex * 2 + spacing; }
    // How the current course's cells are typed: on the kana layout only when
    // it is chosen and the course has kana cells.
    InputMethod courseInputMethod() const {
        return kanaMode && inputMethod == InputMethod::Kana ? InputMethod::Kana
                                                            : InputMethod::Romaji;
    }
};

// 30, 60, or twelve hours for "no limit".
constexpr int timeLimitSecondsFor(int timeLimitIndex) {
    return timeLimitIndex == 0 ? 30 : timeLimitIndex == 1 ? 60 : 43200;
}

}  // namespace hayate
