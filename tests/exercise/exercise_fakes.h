// Fakes for the exercise's ports: a window that remembers what it was told
// and moves the focus like the real one, a hand-wound tick counter, a
// completion that can behave like the records' one, and a user problem made
// of given characters.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "exercise/exercise_ports.h"
#include "exercise/exercise_session.h"
#include "exercise/key_codes.h"
#include "exercise/practice_text.h"
#include "support/sjis_test_support.h"
#include "text/width_conversion.h"

namespace hayate::test {

struct LabelState {
    std::string text;
    Colour colour;
    bool bold = false;
    bool underline = false;
};

class FakeWindow : public ExerciseDisplay, public TickSource, public ExerciseTimer {
  public:
    enum class Focus { None, Grid, StartButton, StopButton, CourseList };

    // ExerciseDisplay
    void setLabelText(Label l, const std::string& text) override { labels[l].text = text; }
    void setLabelColour(Label l, Colour c) override { labels[l].colour = c; }
    void setLabelFont(Label l, bool bold, bool underline) override {
        labels[l].bold = bold;
        labels[l].underline = underline;
    }
    void redrawCell(int column, int row) override { redraws.emplace_back(column, row); }
    void setCurrentCell(int column, int row) override { current = {column, row}; }
    void scrollGridToTop() override { ++scrolledToTop; }
    void setGridEnabled(bool enabled) override {
        gridEnabled = enabled;
        if (!enabled && focus == Focus::Grid) moveFocus(Focus::None);
    }
    void focusGrid() override {
        if (gridEnabled) moveFocus(Focus::Grid);
    }
    void showStartButton(bool visible) override {
        startVisible = visible;
        if (focus == (visible ? Focus::StopButton : Focus::StartButton)) moveFocus(Focus::None);
    }
    void focusStartButton() override { moveFocus(Focus::StartButton); }
    void movePointerToStopButton() override { ++pointerMoves; }

    // TickSource, ExerciseTimer
    std::uint32_t tickCount() override { return now; }
    void setRunning(bool running) override {
        timerRunning = running;
        timerDueIn = running ? 1000 : 0;
    }
    void fireIn(int milliseconds) override {
        timerRunning = true;
        timerDueIn = milliseconds;
    }

    // Focus moves as the window system moves it: the old control hears of
    // the loss first and may take the focus straight back.
    void moveFocus(Focus target) {
        if (focus == target) return;
        const Focus old = focus;
        focus = target;
        if (old == Focus::Grid && session) session->gridFocusLost();
        if (focus != target || !session) return;
        if (target == Focus::Grid) session->gridFocusGained();
        if (target == Focus::StartButton) session->startButtonFocusGained();
    }

    ExerciseSession* session = nullptr;
    std::map<Label, LabelState> labels;
    std::vector<std::pair<int, int>> redraws;
    std::pair<int, int> current{0, 0};
    int scrolledToTop = 0;
    bool gridEnabled = false;
    bool startVisible = true;
    int pointerMoves = 0;
    Focus focus = Focus::None;
    std::uint32_t now = 5000;
    bool timerRunning = false;
    int timerDueIn = 0;  // ms until the timer fires, while running
};

// Records each end and, like the records' completion, stops the exercise.
class FakeCompletion : public ExerciseCompletion {
  public:
    struct Call {
        ExerciseEnd kind;
        int charactersTyped;
        int keystrokeCount;
        int elapsedMs;
    };

    void completeExercise(ExerciseEnd kind, ExerciseControl& exercise) override {
        int elapsed = 0;
        if (kind == ExerciseEnd::LastCell) {
            exercise.stopClock();
            elapsed = exercise.elapsedMilliseconds();
        }
        calls.push_back({kind, exercise.charactersTyped(), exercise.keystrokeCount(), elapsed});
        if (stopsExercise) {
            exercise.stopExercise();
            exercise.focusStartButton();
        }
    }

    bool stopsExercise = true;
    std::vector<Call> calls;
};

// A user problem whose cells are the given characters (UTF-8). Kana mode places kana with their
// primary romaji; otherwise each character is typed as its half-width form.
class FakeProblems : public ProblemTextBuilder {
  public:
    explicit FakeProblems(const CharTables& tables) : tables_(tables) {}

    bool buildProblemText(PracticeGrid& grid, const TextSettings& settings,
                          PracticeTextResult& result) override {
        ++builds;
        if (refuse || cells.empty()) return false;
        result.caseMode = caseMode;
        result.letterCase = letterCase;
        std::map<std::string, PracticeCell> made;  // iconv once per distinct character
        for (int i = 0; i < PracticeGrid::kCells; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const std::string& c = at < cells.size() ? cells[at]
                                   : cycle           ? cells[at % cells.size()]
                                                     : filler;
            auto found = made.find(c);
            if (found == made.end()) {
                placeCell(tables_, grid, i, c, settings.kanaMode);
                made.emplace(c, grid.cell(i));
            } else {
                grid.place(i, found->second.kanaIndex, found->second.text, found->second.input);
            }
        }
        return true;
    }

    // One cell from UTF-8 text: kana by kana index, anything else by its
    // half-width form.
    static void placeCell(const CharTables& tables, PracticeGrid& grid, int index,
                          const std::string& utf8, bool kanaMode) {
        const std::string text = sj(utf8);
        if (kanaMode) {
            const int k = kanaIndexOf(tables, text);
            grid.place(index, k, text, tables.romaji(0, k));
        } else {
            grid.place(index, 0, toFullWidth(tables, text), text);
        }
    }

    // The cells from index 0; after them `filler`, or the cells again.
    std::vector<std::string> cells{"あ"};
    std::string filler = "あ";
    bool cycle = false;
    int caseMode = 0;
    int letterCase = 0;
    bool refuse = false;
    int builds = 0;

  private:
    const CharTables& tables_;
};

// The virtual-key code that goes down before `c` is typed.
inline int virtualKeyFor(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + vk::kLetterA;
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') return c;
    if (c == '\r') return vk::kEnter;
    if (c == 0x1B) return vk::kEscape;
    if (c < 32) return 8;   // Backspace, Tab and the like
    return vk::kSemicolon;  // punctuation and kana keys
}

// Everything one exercise needs, wired together.
struct Harness {
    Harness() { window.session = &session; }

    ExerciseSession::StartResult start(int course, bool kanaMode) {
        shared.courseIndex = course;
        shared.kanaMode = kanaMode;
        return session.startExercise();
    }
    // A user problem of the given cells, started.
    ExerciseSession::StartResult startProblem(std::vector<std::string> cells, bool kanaMode) {
        problems.cells = std::move(cells);
        return start(kFirstProblemCourse, kanaMode);
    }
    // Replaces cells from `first` on after the start.
    void setCells(int first, const std::vector<std::string>& utf8) {
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            FakeProblems::placeCell(tables, session.grid(), first + static_cast<int>(i), utf8[i],
                                    session.matcher().mode().kanaMode);
        }
    }
    void key(unsigned char c) { key(virtualKeyFor(c), c); }
    void key(int virtualKey, unsigned char c) {
        session.gridKeyDown(virtualKey);
        session.gridKeyPress(c);
    }
    void type(const std::string& keys) {
        for (char c : keys) key(static_cast<unsigned char>(c));
    }
    void tickAt(std::uint32_t ms) {
        window.now = ms;
        session.clockTick();
    }
    const LabelState& label(Label l) { return window.labels[l]; }
    const PracticeCell& cell(int i) const { return session.grid().cell(i); }
    int chars() const { return session.charactersTyped(); }
    int keystrokes() const { return session.keystrokeCount(); }
    int misses() const { return session.missCount(); }
    int position() const { return session.cellPosition(); }

    SharedState shared;
    CharTables tables = buildCharTables();
    Mt19937Source random{2024};
    FakeWindow window;
    FakeCompletion completion;
    FakeProblems problems{tables};
    ExerciseSession session{shared, tables, random, &problems, window, window, window, completion};
};

}  // namespace hayate::test
