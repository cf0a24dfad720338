// How the exercise talks to the world outside the core: the window shows what
// it is told, the clock comes from outside, and the end of an exercise is
// handed to the records. Tests put fakes in every place.
#pragma once

#include <cstdint>
#include <string>

#include "exercise/input_method.h"
#include "exercise/colour.h"
#include "exercise/exercise_end.h"

namespace hayate {

// What the window shows of an exercise, each in a label of its own.
enum class Label {
    CharactersTyped,
    MissCount,
    ElapsedTime,
    Speed,
    KeystrokeSpeed,  // kana mode
    TimeLimit,
    RomajiHint1,     // the romaji to type, letter 1
    RomajiHint2,     // letter 2
    RomajiHintRest,  // letters 3..
    BestScore,
    BestDate,
    Message,
};

class ExerciseDisplay {
  public:
    virtual ~ExerciseDisplay() = default;

    // Texts are Shift-JIS.
    virtual void setLabelText(Label label, const std::string& text) = 0;
    virtual void setLabelColour(Label label, Colour colour) = 0;
    virtual void setLabelFont(Label label, bool bold, bool underline) = 0;

    // The practice grid, by column 1..40 and row 1..50.
    virtual void redrawCell(int column, int row) = 0;
    virtual void setCurrentCell(int column, int row) = 0;  // and scroll it into view
    virtual void scrollGridToTop() = 0;
    virtual void setGridEnabled(bool enabled) = 0;
    virtual void focusGrid() = 0;

    // The start button and the stop button share one place; one is visible.
    virtual void showStartButton(bool startVisible) = 0;
    virtual void focusStartButton() = 0;
    // A convenience: the pointer goes where the stop button now is.
    virtual void movePointerToStopButton() = 0;
};

// A display that shows nothing: the base of headless runs and of test fakes,
// which override only what they watch.
class NullExerciseDisplay : public ExerciseDisplay {
  public:
    void setLabelText(Label, const std::string&) override {}
    void setLabelColour(Label, Colour) override {}
    void setLabelFont(Label, bool, bool) override {}
    void redrawCell(int, int) override {}
    void setCurrentCell(int, int) override {}
    void scrollGridToTop() override {}
    void setGridEnabled(bool) override {}
    void focusGrid() override {}
    void showStartButton(bool) override {}
    void focusStartButton() override {}
    void movePointerToStopButton() override {}
};

// The system's millisecond tick counter; it wraps at 2^32.
class TickSource {
  public:
    virtual ~TickSource() = default;
    virtual std::uint32_t tickCount() = 0;
};

// The window system's timer. It fires once per request: the clock asks for
// every tick itself, timed from its own start, so that ticks neither come
// early nor drift.
class ExerciseTimer {
  public:
    virtual ~ExerciseTimer() = default;
    // Off; or on, firing once after one interval (1000 ms).
    virtual void setRunning(bool running) = 0;
    // On, firing once after `milliseconds` (at least 1).
    virtual void fireIn(int milliseconds) = 0;
};

// What was typed: fixed when the exercise starts, so that a course or spacing
// chosen while it runs cannot file its result under another record.
struct ExerciseKeys {
    int courseIndex = 0;
    int spacing = 0;
    bool kanaMode = false;
    // Kana only when kana cells were typed on the kana layout; their results
    // are kept apart from the romaji ones.
    InputMethod inputMethod = InputMethod::Romaji;
};

// What the end of an exercise needs from the running exercise.
class ExerciseControl {
  public:
    virtual ~ExerciseControl() = default;
    virtual int charactersTyped() const = 0;
    virtual int keystrokeCount() const = 0;
    virtual ExerciseKeys keys() const = 0;
    // Current tick minus start tick, as a 32-bit difference; always at least 1.
    virtual int elapsedMilliseconds() = 0;
    virtual void stopClock() = 0;
    virtual void stopExercise() = 0;
    virtual void focusStartButton() = 0;
};

// Told when an exercise starts and when it has ended: after the completion,
// record update included, or after a stop by Esc, the stop button or a restart.
class ExerciseObserver {
  public:
    virtual ~ExerciseObserver() = default;
    virtual void exerciseStarted() = 0;
    virtual void exerciseEnded(ExerciseEnd end) = 0;
};

// Runs when the text is finished or the time limit has run out.
class ExerciseCompletion {
  public:
    virtual ~ExerciseCompletion() = default;
    virtual void completeExercise(ExerciseEnd kind, ExerciseControl& exercise) = 0;
};

}  // namespace hayate
