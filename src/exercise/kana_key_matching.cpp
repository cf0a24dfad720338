// Kana input: the keystroke matcher's judging of kana cells by the key that
// went down on the JIS kana layout. Cells the layout has no kana for (spaces,
// digits, symbols) are typed by their character, one key each, as before.
#include "exercise/keystroke_matcher.h"

#include <algorithm>

#include "exercise/exercise_stats.h"

namespace hayate {

namespace {

unsigned char foldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

}  // namespace

KeystrokeMatcher::KeyPress KeystrokeMatcher::kanaKeyPress(JisKey key,
                                                          std::optional<unsigned char> byte) {
    if (clock_.state() == ExerciseClock::State::Waiting) {
        clock_.startCounting();
        romajiPosition_ = 1;
        typedLetters_.clear();
    }
    // A key of the kana layout is judged whatever key code the desktop's
    // layout gave it: under some it has none that opens the gate (ろ, ー).
    if (keyGate_ && kanaByteOfKey(key) == 0) return KeyPress::Ignored;
    keyGate_ = true;
    if (cellPosition_ >= PracticeGrid::kCells) return KeyPress::TextFinished;
    const KanaStrokes strokes = strokesForKana(grid_.cell(cellPosition_).text);
    if (strokes.count == 0) return judgeCharacterCell(key, byte);
    return judgeKanaCell(strokes, key, byte);
}

KeystrokeMatcher::KeyPress KeystrokeMatcher::judgeKanaCell(const KanaStrokes& strokes, JisKey key,
                                                           std::optional<unsigned char> byte) {
    const int due = std::min(romajiPosition_, strokes.count) - 1;
    const unsigned char expected = strokes.keys[static_cast<std::size_t>(due)].byte;
    const unsigned char typed = kanaByteOfKey(key);
    if (typed == 0 || typed != expected) {
        // Control characters outside the layout pass without a miss.
        if (typed != 0 || (byte && *byte >= 32)) miss(true, typed != 0 ? typed : *byte, expected);
        return KeyPress::Judged;
    }
    capture_.accept(typed);
    keystrokeCount_ += 1;
    if (due + 1 == strokes.count) return completeKanaInputCell();
    // The base kana of a voiced one is in; ゛ or ゜ completes it.
    romajiPosition_ += 1;
    grid_.cell(cellPosition_).colour = colour::kNone;
    display_.redrawCell(PracticeGrid::columnOf(cellPosition_), PracticeGrid::rowOf(cellPosition_));
    display_.setLabelColour(Label::RomajiHint1, colour::kBlue);
    display_.setLabelFont(Label::RomajiHint1, true, true);
    return KeyPress::Judged;
}

KeystrokeMatcher::KeyPress KeystrokeMatcher::judgeCharacterCell(JisKey key,
                                                                std::optional<unsigned char> byte) {
    const std::string& input = grid_.cell(cellPosition_).input;
    const int expected = input.empty() ? -1 : static_cast<unsigned char>(input[0]);
    if (!byte) {
        // A key of the layout that types nothing here is still a wrong key.
        if (kanaByteOfKey(key) != 0)
            miss(false, kanaByteOfKey(key), static_cast<unsigned char>(expected < 0 ? 0 : expected));
        return KeyPress::Judged;
    }
    const unsigned char c = *byte;
    const bool match = expected >= 0 && (mode_.caseMode == 2
                                             ? c == expected
                                             : foldCase(c) == foldCase(static_cast<unsigned char>(expected)));
    if (match) {
        capture_.accept(c);
        keystrokeCount_ += 1;
        return completeKanaInputCell();
    }
    if (c >= 32) miss(false, c, expected);
    return KeyPress::Judged;
}

KeystrokeMatcher::KeyPress KeystrokeMatcher::completeKanaInputCell() {
    if (completeCell()) return KeyPress::TextFinished;
    romajiPosition_ = 1;
    alternativeIndex_ = 0;
    typedLetters_.clear();
    showKanaHint();
    return KeyPress::Judged;
}

void KeystrokeMatcher::showKanaHint() {
    if (!PracticeGrid::isCellIndex(cellPosition_)) return;
    const PracticeCell& cell = grid_.cell(cellPosition_);
    const KanaStrokes strokes = strokesForKana(cell.text);
    if (strokes.count == 0) {
        // Typed by its character, shown as romaji mode shows it.
        showHint(cell.input);
    } else {
        display_.setLabelText(Label::RomajiHint1, strokeText(strokes.keys[0]));
        display_.setLabelText(Label::RomajiHint2,
                              strokes.count > 1 ? strokeText(strokes.keys[1]) : std::string());
        display_.setLabelText(Label::RomajiHintRest, std::string());
        for (Label l : {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest})
            display_.setLabelColour(l, colour::kBlue);
    }
    setHintStyle(false, false, false);
}

}  // namespace hayate
