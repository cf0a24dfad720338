#include "exercise/keystroke_matcher.h"

#include <string_view>

#include "exercise/exercise_stats.h"
#include "exercise/key_codes.h"
#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

struct Kana {
    std::string smallTsu = sjisLiteral(u8"っ");
    std::string n = sjisLiteral(u8"ん");
    std::string u = sjisLiteral(u8"う");
    // Small vowels that join a preceding う into wha, whi, whe, who.
    std::string afterU[4] = {sjisLiteral(u8"ぁ"), sjisLiteral(u8"ぃ"), sjisLiteral(u8"ぇ"),
                             sjisLiteral(u8"ぉ")};
    // Small kana that join the kana before them when typed as one syllable.
    std::string joining[5] = {sjisLiteral(u8"ゃ"), sjisLiteral(u8"ゅ"), sjisLiteral(u8"ぇ"),
                              sjisLiteral(u8"ょ"), sjisLiteral(u8"ぃ")};
};

const Kana& kana() {
    static const Kana k;
    return k;
}

template <std::size_t N>
bool isOneOf(const std::string& text, const std::string (&list)[N]) {
    for (const std::string& s : list) {
        if (text == s) return true;
    }
    return false;
}

unsigned char foldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

bool equalIgnoringCase(unsigned char a, unsigned char b) { return foldCase(a) == foldCase(b); }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!equalIgnoringCase(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Letter p (from 1) of r, or -1 when r has none there.
int letterAt(const std::string& r, int p) {
    if (p < 1 || static_cast<std::size_t>(p) > r.size()) return -1;
    return static_cast<unsigned char>(r[static_cast<std::size_t>(p - 1)]);
}

std::string prefix(const std::string& s, int n) {
    return s.substr(0, static_cast<std::size_t>(n < 0 ? 0 : n));
}

Label hintLabelAt(int p) {
    return p == 1 ? Label::RomajiHint1 : p == 2 ? Label::RomajiHint2 : Label::RomajiHintRest;
}

bool isGateOpen(int vk, int courseIndex) {
    if (vk == vk::kShift || vk == vk::kSpace) return true;
    if (vk >= vk::kDigit0 && vk <= vk::kDigit9) return true;
    if (vk >= 64 && vk <= vk::kLetterZ) return true;
    if (vk >= vk::kNumpad0 && vk <= vk::kDivide) return courseIndex > 4;
    return vk >= 166 && vk <= 228;
}

}  // namespace

void KeystrokeMatcher::reset(const Mode& mode) {
    mode_ = mode;
    cellPosition_ = 0;
    romajiPosition_ = 1;
    typedLetters_.clear();
    alternativeIndex_ = 0;
    charactersTyped_ = 0;
    missCount_ = 0;
    keystrokeCount_ = 0;
    if (mode.extendedRomaji) extended_.reset(grid_);
    capture_.reset();
}

KeystrokeMatcher::KeyDown KeystrokeMatcher::keyDown(int virtualKey) {
    if (virtualKey == vk::kEscape) {
        keyGate_ = false;
        return KeyDown::Escape;
    }
    keyGate_ = !isGateOpen(virtualKey, mode_.courseIndex);
    return KeyDown::Gated;
}

KeystrokeMatcher::KeyPress KeystrokeMatcher::keyPress(unsigned char key) {
    // The first key press of an exercise starts the clock, whatever the key.
    if (clock_.state() == ExerciseClock::State::Waiting) {
        clock_.startCounting();
        romajiPosition_ = 1;
        typedLetters_.clear();
    }
    if (keyGate_) return KeyPress::Ignored;
    keyGate_ = true;
    if (cellPosition_ >= PracticeGrid::kCells) return KeyPress::TextFinished;
    if (mode_.kanaMode && mode_.extendedRomaji) return judgeExtended(key);
    return judge(key);
}

std::string KeystrokeMatcher::expectedRomaji() const {
    if (!PracticeGrid::isCellIndex(cellPosition_)) return {};
    const PracticeCell& cell = grid_.cell(cellPosition_);
    if (mode_.kanaMode && mode_.extendedRomaji) return std::string(extended_.hint());
    return mode_.kanaMode ? romaji(alternativeIndex_, cell.kanaIndex) : cell.input;
}

KeystrokeMatcher::KeyPress KeystrokeMatcher::judgeExtended(unsigned char key) {
    const std::string_view due = extended_.hint();
    const auto dueAt = static_cast<std::size_t>(extended_.hintTyped());
    const ExtendedRomajiJudge::Step step = extended_.key(key);
    if (!step.accepted) {
        if (key < 32) return KeyPress::Judged;
        capture_.miss(key, dueAt < due.size() ? static_cast<unsigned char>(due[dueAt]) : 0);
        const Label label = hintLabelAt(extended_.hintTyped() + 1);
        display_.setLabelColour(label, colour::kRed);
        display_.setLabelFont(label, true, false);
        grid_.cell(cellPosition_).colour = colour::kRed;
        display_.redrawCell(PracticeGrid::columnOf(cellPosition_),
                            PracticeGrid::rowOf(cellPosition_));
        missCount_ += 1;
        display_.setLabelText(Label::MissCount, formatCount(missCount_));
        return KeyPress::Judged;
    }
    keystrokeCount_ += 1;
    if (step.completed == 0) {
        grid_.cell(cellPosition_).colour = colour::kNone;
        display_.redrawCell(PracticeGrid::columnOf(cellPosition_),
                            PracticeGrid::rowOf(cellPosition_));
    }
    // A single n or a doubled consonant is only known to be done by the key
    // after it, which belongs to the next cell.
    int completed = step.completed;
    while (completed > 0 && cellPosition_ < step.keyCell) {
        --completed;
        if (completeCell()) return KeyPress::TextFinished;
    }
    capture_.accept(key);
    if (completed == 2) {
        // One syllable over two cells: its first letter is the first cell's,
        // the rest the second's, as the standard judge files sha.
        completed = 1;
        if (completeCell(1)) return KeyPress::TextFinished;
    }
    for (int i = 0; i < completed; ++i) {
        if (completeCell()) return KeyPress::TextFinished;
    }
    const std::string_view hint = extended_.hint();
    const int typed = extended_.hintTyped();
    romajiPosition_ = typed + 1;
    typedLetters_.assign(hint.substr(0, static_cast<std::size_t>(typed)));
    showHint(std::string(hint));
    setHintStyle(typed >= 1, typed >= 2, typed >= 3);
    return KeyPress::Judged;
}

KeystrokeMatcher::KeyPress KeystrokeMatcher::judge(unsigned char key) {
    std::string r = expectedRomaji();
    int lookAheadRow = 0;
    if (!mode_.kanaMode || cellPosition_ >= PracticeGrid::kCells - 1)
        return generalMatch(key, std::move(r), 0);

    const Kana& k = kana();
    PracticeCell& cell = grid_.cell(cellPosition_);
    PracticeCell& next = grid_.cell(cellPosition_ + 1);
    const int p = romajiPosition_;

    // The next syllable's row whose romaji starts with the key (exact), or -1.
    auto rowStartingWithKey = [&]() {
        for (int row = 0; row < CharTables::kRomajiRows; ++row) {
            const std::string& form = romaji(row, next.kanaIndex);
            if (form.empty()) break;
            if (static_cast<unsigned char>(form[0]) == key) return row;
        }
        return -1;
    };

    if (cell.text == k.smallTsu && p == 1) {
        // A doubled consonant: the first letter of the next syllable completes っ.
        const int row = rowStartingWithKey();
        if (row >= 0) {
            lookAheadRow = row;
            r.assign(1, static_cast<char>(key));
        }
    } else if (mode_.courseIndex > 4 && p == 2 && key != 'n' && cell.text == k.n) {
        // A single n before a consonant syllable, in user problems only.
        const int row = rowStartingWithKey();
        if (row >= 0 && romaji(row, next.kanaIndex).size() >= 2) {
            alternativeIndex_ = row;
            r = romaji(row, next.kanaIndex);
            completeCell();
            capture_.accept(key);
            keystrokeCount_ += 1;
            romajiPosition_ = 2;
            typedLetters_.assign(1, static_cast<char>(key));
            showHint(r);
            setHintStyle(true, false, false);
            return KeyPress::Judged;
        }
    } else if (cell.text == k.u && isOneOf(next.text, k.afterU) && key == 'w') {
        // う and a small vowel typed as one syllable: wha, whi, whe, who.
        const int joined = kanaIndexOf(tables_, cell.text + next.text);
        if (joined >= 0) {
            r = romaji(0, joined);
            alternativeIndex_ = 0;
            typedLetters_.clear();
            next.input = r;
            next.kanaIndex = joined;
            completeCell();
            showHint(r);
            setHintStyle(false, false, false);
        }
    } else if (p == 2 && letterAt(r, 2) != key) {
        // A kana and the small kana after it typed as one syllable (sha, cya, ja).
        if (isOneOf(next.text, k.joining)) {
            const int joined = kanaIndexOf(tables_, cell.text + next.text);
            if (joined >= 0) {
                const std::string typed = typedLetters_ + static_cast<char>(key);
                for (int row = 0; row < CharTables::kRomajiRows; ++row) {
                    const std::string& form = romaji(row, joined);
                    if (form.empty() || prefix(form, 2) != typed) continue;
                    alternativeIndex_ = row;
                    r = form;
                    next.input = form;
                    next.kanaIndex = joined;
                    typedLetters_ = prefix(form, 1);
                    completeCell();
                    showHint(r);
                    setHintStyle(true, true, false);
                    break;
                }
            }
        }
    }
    return generalMatch(key, std::move(r), lookAheadRow);
}

KeystrokeMatcher::KeyPress KeystrokeMatcher::generalMatch(unsigned char key, std::string r,
                                                          int lookAheadRow) {
    const int n = static_cast<int>(r.size());
    const int p = romajiPosition_;

    if (mode_.kanaMode && n != 1 && n > p) {
        // A letter inside the romaji, not its last one.
        if (letterAt(r, p) >= 0 &&
            equalIgnoringCase(key, static_cast<unsigned char>(letterAt(r, p)))) {
            display_.setLabelColour(Label::RomajiHint1, colour::kBlue);
            display_.setLabelFont(Label::RomajiHint1, true, true);
            if (p > 1) {
                display_.setLabelColour(Label::RomajiHint2, colour::kBlue);
                display_.setLabelFont(Label::RomajiHint2, true, true);
            }
            PracticeCell& cell = grid_.cell(cellPosition_);
            cell.colour = colour::kNone;
            display_.redrawCell(PracticeGrid::columnOf(cellPosition_),
                                PracticeGrid::rowOf(cellPosition_));
            acceptLetter(key);
            return KeyPress::Judged;
        }
        if (tryAlternatives(key)) return KeyPress::Judged;
        if (key >= 32) miss(true, key, letterAt(r, p));
        return KeyPress::Judged;
    }

    const int expected = letterAt(r, p);
    const bool match =
        expected >= 0 &&
        (mode_.caseMode == 2 ? key == expected
                             : equalIgnoringCase(key, static_cast<unsigned char>(expected)));
    if (match) {
        if (mode_.kanaMode)
            keystrokeCount_ += 1;  // before completing: the last key of the text counts too
        capture_.accept(key);
        if (completeCell()) return KeyPress::TextFinished;
        romajiPosition_ = 1;
        alternativeIndex_ = 0;
        typedLetters_.clear();
        const PracticeCell& cell = grid_.cell(cellPosition_);
        std::string nextRomaji = cell.input;
        if (lookAheadRow != 0) {
            alternativeIndex_ = lookAheadRow;
            nextRomaji = romaji(lookAheadRow, cell.kanaIndex);
        }
        if (mode_.kanaMode) {
            showHint(nextRomaji);
            setHintStyle(false, false, false);
        }
        return KeyPress::Judged;
    }
    if (mode_.kanaMode && alternativeIndex_ < 2 && tryAlternatives(key)) return KeyPress::Judged;
    if (key >= 32) miss(false, key, expected);
    return KeyPress::Judged;
}

bool KeystrokeMatcher::tryAlternatives(unsigned char key) {
    const int p = romajiPosition_;
    const int kanaIndex = grid_.cell(cellPosition_).kanaIndex;
    const std::string typed = typedLetters_ + static_cast<char>(key);
    for (int row = alternativeIndex_ + 1; row < CharTables::kRomajiRows; ++row) {
        const std::string& form = romaji(row, kanaIndex);
        if (form.empty()) break;
        if (!equalIgnoringCase(typed, prefix(form, p))) continue;
        alternativeIndex_ = row;
        display_.setLabelFont(Label::RomajiHint1, true, true);
        if (p > 1) display_.setLabelFont(Label::RomajiHint2, true, true);
        showHint(form);
        acceptLetter(key);
        return true;
    }
    return false;
}

void KeystrokeMatcher::acceptLetter(unsigned char key) {
    capture_.accept(key);
    keystrokeCount_ += 1;
    romajiPosition_ += 1;
    typedLetters_ += static_cast<char>(key);
}

void KeystrokeMatcher::miss(bool styleHint, unsigned char key, int expected) {
    capture_.miss(key, static_cast<unsigned char>(expected < 0 ? 0 : expected));
    if (mode_.kanaMode) {
        const Label label = hintLabelAt(romajiPosition_);
        display_.setLabelColour(label, colour::kRed);
        if (styleHint) display_.setLabelFont(label, true, false);
    }
    grid_.cell(cellPosition_).colour = colour::kRed;
    display_.redrawCell(PracticeGrid::columnOf(cellPosition_), PracticeGrid::rowOf(cellPosition_));
    missCount_ += 1;
    display_.setLabelText(Label::MissCount, formatCount(missCount_));
}

bool KeystrokeMatcher::completeCell(std::size_t keepKeys) {
    const int done = cellPosition_;
    grid_.cell(done).colour = colour::kBlue;
    display_.redrawCell(PracticeGrid::columnOf(done), PracticeGrid::rowOf(done));
    if (keepKeys == kAllKeys)
        capture_.complete(done, clock_.elapsedMilliseconds());
    else
        capture_.completeKeeping(done, clock_.elapsedMilliseconds(), keepKeys);
    cellPosition_ += 1;
    charactersTyped_ += 1;
    display_.setLabelText(Label::CharactersTyped, formatCount(charactersTyped_));
    if (cellPosition_ >= PracticeGrid::kCells) return true;  // the cursor stays on the last cell
    display_.setCurrentCell(PracticeGrid::columnOf(cellPosition_),
                            PracticeGrid::rowOf(cellPosition_));
    return false;
}

void KeystrokeMatcher::showHint(const std::string& r) {
    display_.setLabelText(Label::RomajiHint1, prefix(r, 1));
    display_.setLabelText(Label::RomajiHint2, r.size() > 1 ? r.substr(1, 1) : std::string());
    display_.setLabelText(Label::RomajiHintRest, r.size() > 2 ? r.substr(2) : std::string());
    for (Label l : {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest})
        display_.setLabelColour(l, colour::kBlue);
}

void KeystrokeMatcher::setHintStyle(bool underline1, bool underline2, bool underline3) {
    display_.setLabelFont(Label::RomajiHint1, true, underline1);
    display_.setLabelFont(Label::RomajiHint2, true, underline2);
    display_.setLabelFont(Label::RomajiHintRest, true, underline3);
}

}  // namespace hayate
