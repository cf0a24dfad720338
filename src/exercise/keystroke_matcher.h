// Follows every key of the practice grid against the practice text: the
// key-down step decides whether the next character is judged at all, the
// key-press step judges it, keeps the counters, colours the cells and drives
// the romaji hint. In kana mode every romaji of the tables is accepted, with
// look-ahead for the small tsu, a single n and two-cell syllables.
#pragma once

#include <optional>
#include <string>

#include "exercise/exercise_capture.h"
#include "exercise/exercise_clock.h"
#include "exercise/exercise_ports.h"
#include "exercise/extended_romaji_judge.h"
#include "exercise/practice_grid.h"
#include "text/char_tables.h"
#include "text/jis_kana_layout.h"

namespace hayate {

class KeystrokeMatcher {
  public:
    // Fixed for one exercise when it starts.
    struct Mode {
        bool kanaMode = false;
        int caseMode = 0;     // 2: letters must match in case
        int courseIndex = 0;  // above 4: a user problem
        // Kana mode takes every spelling the common input methods accept.
        bool extendedRomaji = false;
        // Kana mode: the kana cells are typed on the JIS kana layout
        // (kanaKeyPress), the other cells by their character as before.
        bool kanaInput = false;
    };

    enum class KeyDown {
        Gated,   // the key gate is set as the key table says
        Escape,  // Esc: the gate is open and the exercise must stop
    };

    enum class KeyPress {
        Ignored,       // the gate was closed
        Judged,        // hit, miss, or a control character passed over
        TextFinished,  // the last cell is done, or was already: complete the exercise
    };

    KeystrokeMatcher(const CharTables& tables, PracticeGrid& grid, ExerciseDisplay& display,
                     ExerciseClock& clock)
        : tables_(tables),
          grid_(grid),
          display_(display),
          clock_(clock),
          extended_(romajiSpellings()) {}

    // A freshly filled grid: every counter 0, cell 0 current, alternative row 0.
    // Writes nothing to the display.
    void reset(const Mode& mode);

    // A key going down in the practice grid, with its virtual-key code.
    KeyDown keyDown(int virtualKey);
    // A character typed in the practice grid, one Shift-JIS byte.
    KeyPress keyPress(unsigned char key);

    // SG1KeyPress of a key in kana input: its place on the keyboard and the
    // character it typed under the desktop's layout, if one. Called after
    // keyDown, for every key with a character or on the kana layout.
    KeyPress kanaKeyPress(JisKey key, std::optional<unsigned char> byte);
    // The keys of the kana layout to press for the current cell.
    void showKanaHint();
    // Keys of the current kana cell typed so far (0 or 1).
    int kanaKeysTyped() const { return romajiPosition_ - 1; }

    bool keyGateClosed() const { return keyGate_; }
    void setKeyGate(bool closed) { keyGate_ = closed; }

    // Shows romaji `r` in the three hint labels, in blue.
    void showHint(const std::string& r);

    const Mode& mode() const { return mode_; }
    int cellPosition() const { return cellPosition_; }
    int charactersTyped() const { return charactersTyped_; }
    int missCount() const { return missCount_; }
    int keystrokeCount() const { return keystrokeCount_; }
    int romajiPosition() const { return romajiPosition_; }
    int alternativeIndex() const { return alternativeIndex_; }
    const std::string& typedLetters() const { return typedLetters_; }
    // What the current cell expects now: the romaji form of the current
    // alternative in kana mode, the cell input otherwise; empty once finished.
    std::string expectedRomaji() const;
    // Keys, misses and times per cell of the current exercise, for the journal.
    const ExerciseCapture& capture() const { return capture_; }

  private:
    const std::string& romaji(int row, int kanaIndex) const {
        return tables_.romaji(row, kanaIndex);
    }
    KeyPress judge(unsigned char key);
    KeyPress judgeExtended(unsigned char key);
    KeyPress generalMatch(unsigned char key, std::string r, int lookAheadRow);
    bool tryAlternatives(unsigned char key);
    KeyPress judgeKanaCell(const KanaStrokes& strokes, JisKey key,
                           std::optional<unsigned char> byte);
    KeyPress judgeCharacterCell(JisKey key, std::optional<unsigned char> byte);
    // Completes the current cell in kana input and shows the next one's hint.
    KeyPress completeKanaInputCell();
    void acceptLetter(unsigned char key);
    // styleHint: the hint label also turns plain bold; `expected` is the
    // letter that was due, for the journal.
    void miss(bool styleHint, unsigned char key, int expected);
    // Completion steps; true when the text is finished. `keepKeys`: how many
    // of the keys typed so far are the cell's, the rest the next cell's.
    static constexpr std::size_t kAllKeys = static_cast<std::size_t>(-1);
    bool completeCell(std::size_t keepKeys = kAllKeys);
    void setHintStyle(bool underline1, bool underline2, bool underline3);

    const CharTables& tables_;
    PracticeGrid& grid_;
    ExerciseDisplay& display_;
    ExerciseClock& clock_;
    ExtendedRomajiJudge extended_;

    Mode mode_;
    bool keyGate_ = true;
    int cellPosition_ = 0;
    int romajiPosition_ = 1;
    std::string typedLetters_;
    int alternativeIndex_ = 0;
    int charactersTyped_ = 0;
    int missCount_ = 0;
    int keystrokeCount_ = 0;
    ExerciseCapture capture_;
};

}  // namespace hayate
