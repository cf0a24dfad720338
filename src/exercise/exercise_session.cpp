#include "exercise/exercise_session.h"

#include <algorithm>

#include "exercise/exercise_stats.h"
#include "exercise/key_codes.h"

namespace hayate {

ExerciseSession::ExerciseSession(SharedState& shared, CharTables& tables, RandomSource& random,
                                 ProblemTextBuilder* problems, ExerciseDisplay& display,
                                 TickSource& ticks, ExerciseTimer& timer,
                                 ExerciseCompletion& completion)
    : shared_(shared),
      tables_(tables),
      random_(random),
      problems_(problems),
      display_(display),
      completion_(completion),
      clock_(ticks, timer),
      matcher_(tables, grid_, display, clock_) {}

ExerciseSession::State ExerciseSession::state() const {
    if (!gridEnabled_) return State::Idle;
    return clock_.running() ? State::Running : State::Started;
}

ExerciseSession::StartResult ExerciseSession::startExercise() {
    StartResult result;
    if (spaceKeyGuard_) {
        spaceKeyGuard_ = false;
        result.outcome = StartResult::Outcome::SpaceSuppressed;
        return result;
    }
    startVisible_ = false;
    display_.showStartButton(false);
    stopped_ = false;
    gridEnabled_ = true;
    display_.setGridEnabled(true);

    // A restart abandons the exercise under way.
    if (underWay_) endExercise(ExerciseEnd::Stopped);

    const int letterCaseBefore = shared_.letterCase;
    const TextSettings settings{shared_.courseIndex, shared_.spacing, shared_.letterCase,
                                shared_.kanaMode};
    PracticeTextResult built;
    weakSpot_ = !weakSpotWeights_.empty();
    if (weakSpot_) {
        const std::vector<int> weights = std::move(weakSpotWeights_);
        weakSpotWeights_.clear();
        if (!buildWeightedPracticeText(grid_, tables_, settings, random_, weights, built))
            built.outcome = PracticeTextResult::Outcome::NoProblemSource;
    } else {
        built = buildPracticeText(grid_, tables_, settings, random_, problems_);
    }
    if (built.outcome != PracticeTextResult::Outcome::Built) {
        weakSpot_ = false;
        stopExercise();  // back to idle; the window tells the user why
        result.outcome = built.outcome == PracticeTextResult::Outcome::ProblemRefused
                             ? StartResult::Outcome::ProblemRefused
                             : StartResult::Outcome::NoProblemSource;
        return result;
    }
    shared_.caseMode = built.caseMode;
    shared_.letterCase = built.letterCase;
    result.letterCaseChanged = shared_.letterCase != letterCaseBefore;

    display_.setCurrentCell(1, 1);
    display_.scrollGridToTop();

    // Mode, case and course are fixed for the whole exercise, whatever the
    // course list does while it runs.
    const InputMethod method = shared_.courseInputMethod();
    const bool kanaInput = method == InputMethod::Kana;
    matcher_.reset({shared_.kanaMode, shared_.caseMode, shared_.courseIndex,
                    shared_.romajiExtended == 1 && !kanaInput, kanaInput});
    keys_ = {shared_.courseIndex, shared_.spacing, shared_.kanaMode, method};
    clock_.arm();  // also switches off a timer left running by a restart
    const std::string zero = formatCount(0);
    display_.setLabelText(Label::ElapsedTime, zero);
    display_.setLabelText(Label::CharactersTyped, zero);
    display_.setLabelText(Label::Speed, zero);
    display_.setLabelText(Label::MissCount, zero);
    if (kanaInput) {
        display_.setLabelText(Label::KeystrokeSpeed, std::string());
        matcher_.showKanaHint();
    } else if (shared_.kanaMode) {
        display_.setLabelText(Label::KeystrokeSpeed, std::string());
        matcher_.showHint(shared_.romajiExtended == 1 ? matcher_.expectedRomaji()
                                                      : grid_.cell(0).input);
        for (Label l : {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest})
            display_.setLabelFont(l, true, false);
    }
    display_.movePointerToStopButton();
    display_.focusGrid();
    underWay_ = true;
    if (observer_) observer_->exerciseStarted();
    return result;
}

void ExerciseSession::endExercise(ExerciseEnd end) {
    if (!underWay_) return;
    underWay_ = false;
    if (observer_) observer_->exerciseEnded(end);
}

void ExerciseSession::stopExercise() {
    matcher_.setKeyGate(false);
    clock_.stop();
    stopped_ = true;
    startVisible_ = true;
    display_.showStartButton(true);
    display_.setLabelText(Label::Message, std::string());
    gridEnabled_ = false;
    display_.setGridEnabled(false);
    display_.focusStartButton();
}

void ExerciseSession::gridKeyDown(int virtualKey) {
    if (!gridEnabled_) return;
    if (matcher_.keyDown(virtualKey) == KeystrokeMatcher::KeyDown::Escape) {
        stopExercise();
        endExercise(ExerciseEnd::Stopped);
    }
}

void ExerciseSession::gridKeyPress(unsigned char key) {
    if (!gridEnabled_) return;
    if (matcher_.keyPress(key) == KeystrokeMatcher::KeyPress::TextFinished) {
        completion_.completeExercise(ExerciseEnd::LastCell, *this);
        endExercise(ExerciseEnd::LastCell);
    }
}

void ExerciseSession::gridKey(int virtualKey, std::optional<unsigned char> byte, JisKey key) {
    if (!matcher_.mode().kanaInput) {
        gridKeyDown(virtualKey);
        if (byte) gridKeyPress(*byte);
        return;
    }
    if (!gridEnabled_) return;
    gridKeyDown(virtualKey);
    // Shift and the other keys that type nothing are no key press.
    if (!gridEnabled_ || (!byte && kanaByteOfKey(key) == 0)) return;
    if (matcher_.kanaKeyPress(key, byte) == KeystrokeMatcher::KeyPress::TextFinished) {
        completion_.completeExercise(ExerciseEnd::LastCell, *this);
        endExercise(ExerciseEnd::LastCell);
    }
}

void ExerciseSession::gridFocusGained() {
    inputMode_ = InputMode::Practice;
    display_.setLabelText(Label::Message, escToStopText());
    matcher_.setKeyGate(true);
}

void ExerciseSession::gridFocusLost() {
    // While an exercise runs, clicks and Tab cannot take the keyboard away.
    if (matcher_.keyGateClosed() && gridEnabled_) {
        display_.focusGrid();
        return;
    }
    display_.setLabelText(Label::Message, std::string());
    inputMode_ = InputMode::Idle;
}

void ExerciseSession::startButtonFocusGained() { stopped_ = false; }

ExerciseSession::KeyResult ExerciseSession::startFromKey() {
    KeyResult r;
    r.action = KeyAction::Consumed;
    r.start = startExercise();
    return r;
}

ExerciseSession::KeyResult ExerciseSession::buttonKeyDown(Button button, int virtualKey) {
    spaceKeyGuard_ = false;  // only a Space that is the last key down suppresses the press
    switch (virtualKey) {
        case vk::kF1:
            return {KeyAction::RunEndCommand, std::nullopt};
        case vk::kF10:
            return startFromKey();
        case vk::kUp:
            if (button == Button::Start) return {KeyAction::FocusCourseList, std::nullopt};
            break;
        case vk::kSpace:
            spaceKeyGuard_ = true;
            break;
        default:
            break;
    }
    return {};
}

ExerciseSession::KeyResult ExerciseSession::buttonPressed(Button button) {
    if (spaceKeyGuard_) {
        spaceKeyGuard_ = false;
        return {KeyAction::Consumed, std::nullopt};
    }
    switch (button) {
        case Button::Start: {
            KeyResult r;
            r.action = KeyAction::Consumed;
            r.start = startExercise();
            return r;
        }
        case Button::Stop:
            stopExercise();
            endExercise(ExerciseEnd::Stopped);
            return {KeyAction::Consumed, std::nullopt};
        case Button::End:
            return {KeyAction::RunEndCommand, std::nullopt};
    }
    return {};
}

ExerciseSession::KeyResult ExerciseSession::courseListKeyDown(int virtualKey) {
    switch (virtualKey) {
        case vk::kF1:
            return {KeyAction::RunEndCommand, std::nullopt};
        case vk::kF10:
            return startFromKey();
        case vk::kEnter:
            return {startVisible_ ? KeyAction::FocusStartButton : KeyAction::FocusStopButton,
                    std::nullopt};
        default:
            return {};
    }
}

bool ExerciseSession::takeSpaceKeyGuard() {
    const bool was = spaceKeyGuard_;
    spaceKeyGuard_ = false;
    return was;
}

void ExerciseSession::clockTick() {
    // Only a counting clock ticks; a tick that slipped through after a stop or
    // before the first key must not end anything.
    if (stopped_ || !clock_.running()) {
        clock_.silenceTimer();
        return;
    }
    if (!clock_.tickDue()) return;
    const int elapsed = clock_.elapsedMilliseconds();
    display_.setLabelText(Label::ElapsedTime, elapsedText(elapsed));
    const long long limitMs = static_cast<long long>(timeLimitSeconds()) * 1000;
    if (elapsed < limitMs) {
        display_.setLabelText(Label::Speed,
                              formatCount(perMinute(matcher_.charactersTyped(), elapsed)));
        if (matcher_.mode().kanaMode) {
            display_.setLabelText(Label::KeystrokeSpeed, keystrokeSpeedText(perMinute(
                                                             matcher_.keystrokeCount(), elapsed)));
        }
        return;
    }
    completion_.completeExercise(ExerciseEnd::TimeLimit, *this);
    endExercise(ExerciseEnd::TimeLimit);
}

ExerciseSession::Focus ExerciseSession::focusAfterSelection(bool editorGridVisible) const {
    if (editorGridVisible) return Focus::EditorGrid;
    return startVisible_ ? Focus::StartButton : Focus::StopButton;
}

ExerciseSession::SelectionResult ExerciseSession::selectTimeLimit(int timeLimitIndex,
                                                                  bool editorGridVisible) {
    shared_.timeLimitIndex = std::clamp(timeLimitIndex, 0, 2);
    display_.setLabelText(Label::TimeLimit, timeLimitLabelText(shared_.timeLimitIndex));
    return {1, timeLimitStatusText(shared_.timeLimitIndex), focusAfterSelection(editorGridVisible)};
}

ExerciseSession::SelectionResult ExerciseSession::selectSpacing(int spacing,
                                                                bool editorGridVisible) {
    shared_.spacing = std::clamp(spacing, 0, 1);
    return {2, spacingStatusText(shared_.spacing), focusAfterSelection(editorGridVisible)};
}

}  // namespace hayate
