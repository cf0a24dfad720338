// One exercise from start to stop, as a state machine the window binds to:
// the window forwards its key, focus and timer events to the handlers below
// and acts on what they return; everything it shows goes through
// ExerciseDisplay.
//
//   idle --startExercise--> started --first key press--> running
//   started or running --Esc, stop button, end of text, time limit--> idle
//
// Status-bar texts are returned by the selections, not sent to the display.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exercise/exercise_clock.h"
#include "exercise/exercise_ports.h"
#include "exercise/keystroke_matcher.h"
#include "exercise/practice_grid.h"
#include "exercise/practice_text.h"
#include "exercise/random_source.h"
#include "exercise/shared_state.h"
#include "text/char_tables.h"

namespace hayate {

// Where the keys go.
enum class InputMode {
    Idle,
    Practice,  // the practice grid has the focus
    Editor,    // the problem editor is open
};

class ExerciseSession final : public ExerciseControl {
  public:
    enum class State {
        Idle,     // start button visible, practice grid disabled
        Started,  // grid enabled and focused, the clock waits for the first key
        Running,  // the clock ticks
    };

    // The three buttons that share the space-key guard.
    enum class Button { Start, Stop, End };

    struct StartResult {
        enum class Outcome {
            Started,
            SpaceSuppressed,  // a Space press on a button: nothing happened
            ProblemRefused,   // the user problem gives no text; back to idle
            NoProblemSource,  // a user-problem course without a problem builder; back to idle
        };
        Outcome outcome = Outcome::Started;
        // A user problem's kind changed SharedState::letterCase; the window
        // mirrors it in its letter-case radio group.
        bool letterCaseChanged = false;
    };

    // What the window does with a key that went down on a button or the course list.
    enum class KeyAction {
        PlatformDefault,   // let the control handle the key as usual
        Consumed,          // handled here; swallow it
        RunEndCommand,     // the program's end command (with its question)
        FocusCourseList,   // key consumed
        FocusStartButton,  // Enter in the course list
        FocusStopButton,   // Enter in the course list while an exercise runs
    };

    struct KeyResult {
        KeyAction action = KeyAction::PlatformDefault;
        std::optional<StartResult> start;  // set when the key or press ran startExercise
    };

    // Where the focus goes after a time-limit or spacing choice.
    enum class Focus { EditorGrid, StartButton, StopButton };

    struct SelectionResult {
        int statusPanel = 1;     // status-bar panel: 1 time limit, 2 spacing
        std::string statusText;  // Shift-JIS
        Focus focus = Focus::StartButton;
        // The window then refreshes the best-record labels for the new combination.
    };

    // `problems` lays out user problems and may be null.
    ExerciseSession(SharedState& shared, CharTables& tables, RandomSource& random,
                    ProblemTextBuilder* problems, ExerciseDisplay& display, TickSource& ticks,
                    ExerciseTimer& timer, ExerciseCompletion& completion);

    // The start and stop operations. stopExercise always stops: the space-key
    // guard belongs to the buttons (buttonPressed), not to Esc or an end.
    StartResult startExercise();
    void stopExercise() override;

    // The next startExercise draws the built-in course's text with these
    // weights (see buildWeightedPracticeText) and marks the exercise as weak-spot
    // practice; any later start is a normal exercise again.
    void setWeakSpotWeights(std::vector<int> weights) { weakSpotWeights_ = std::move(weights); }
    bool weakSpotExercise() const { return weakSpot_; }

    // Told of every exercise's start and end; may be null.
    void setObserver(ExerciseObserver* observer) { observer_ = observer; }

    // The practice grid. Keys reach it only while it is enabled.
    void gridKeyDown(int virtualKey);
    void gridKeyPress(unsigned char key);  // the window always swallows the character
    // One key going down in the grid, whatever the input method: its
    // virtual-key code, the character it typed if one, and its place on the
    // keyboard. In romaji input exactly gridKeyDown, then gridKeyPress for a
    // character; in kana input the kana cells go by the place.
    void gridKey(int virtualKey, std::optional<unsigned char> byte, JisKey key);
    void gridFocusGained();                // the window also closes the input method
    void gridFocusLost();                  // may take the focus straight back
    void startButtonFocusGained();

    // A key going down on the start, stop or end button.
    KeyResult buttonKeyDown(Button button, int virtualKey);
    // The button's press: a click, Enter, or the Space that went down on it.
    KeyResult buttonPressed(Button button);
    // A key going down in the course list.
    KeyResult courseListKeyDown(int virtualKey);
    // The end command's first step: true (and the guard cleared) when a Space
    // went down on a button last, in which case the end command does nothing.
    bool takeSpaceKeyGuard();

    // The one-second tick.
    void clockTick();

    // The time-limit radio group (0 = 30 s, 1 = 60 s, 2 = none) and the
    // spacing radio group (0 with spaces, 1 without). The time-limit label is
    // written to the display; the status text and the focus come back.
    SelectionResult selectTimeLimit(int timeLimitIndex, bool editorGridVisible);
    SelectionResult selectSpacing(int spacing, bool editorGridVisible);

    // ExerciseControl, for the completion.
    int charactersTyped() const override { return matcher_.charactersTyped(); }
    int keystrokeCount() const override { return matcher_.keystrokeCount(); }
    ExerciseKeys keys() const override { return keys_; }
    int elapsedMilliseconds() override { return clock_.elapsedMilliseconds(); }
    void stopClock() override { clock_.stop(); }
    void focusStartButton() override { display_.focusStartButton(); }

    // Reading access for the window and tests.
    State state() const;
    const PracticeGrid& grid() const { return grid_; }
    PracticeGrid& grid() { return grid_; }
    const KeystrokeMatcher& matcher() const { return matcher_; }
    const ExerciseClock& clock() const { return clock_; }
    int missCount() const { return matcher_.missCount(); }
    int cellPosition() const { return matcher_.cellPosition(); }
    bool stoppedFlag() const { return stopped_; }
    bool keyGateClosed() const { return matcher_.keyGateClosed(); }
    bool spaceKeyGuard() const { return spaceKeyGuard_; }
    bool gridEnabled() const { return gridEnabled_; }
    bool startButtonVisible() const { return startVisible_; }
    int timeLimitSeconds() const { return timeLimitSecondsFor(shared_.timeLimitIndex); }

    InputMode inputMode() const { return inputMode_; }
    void setInputMode(InputMode mode) { inputMode_ = mode; }

  private:
    KeyResult startFromKey();
    // An exercise that is under way (started, not yet ended) ends: tell the observer.
    void endExercise(ExerciseEnd end);
    Focus focusAfterSelection(bool editorGridVisible) const;

    SharedState& shared_;
    CharTables& tables_;
    RandomSource& random_;
    ProblemTextBuilder* problems_;
    ExerciseDisplay& display_;
    ExerciseCompletion& completion_;

    PracticeGrid grid_;
    ExerciseClock clock_;
    KeystrokeMatcher matcher_;

    ExerciseKeys keys_;
    ExerciseObserver* observer_ = nullptr;
    std::vector<int> weakSpotWeights_;
    bool weakSpot_ = false;
    bool underWay_ = false;  // between a successful start and its end

    bool stopped_ = false;
    bool spaceKeyGuard_ = false;
    bool gridEnabled_ = false;
    bool startVisible_ = true;
    InputMode inputMode_ = InputMode::Idle;
};

}  // namespace hayate
