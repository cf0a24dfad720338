// Any sequence of key, focus, button and timer events against a running
// exercise: the session must neither crash nor break its counters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exercise/exercise_session.h"
#include "exercise/key_codes.h"
#include "text/sjis.h"
#include "text/width_conversion.h"

namespace {

using namespace hayate;

class Window final : public NullExerciseDisplay, public TickSource, public ExerciseTimer {
  public:
    void redrawCell(int column, int row) override { inGrid(column, row); }
    void setCurrentCell(int column, int row) override { inGrid(column, row); }
    std::uint32_t tickCount() override { return now; }
    void setRunning(bool) override {}
    void fireIn(int) override {}

    static void inGrid(int column, int row) {
        if (column < 1 || column > PracticeGrid::kColumns || row < 1 || row > PracticeGrid::kRows)
            std::abort();
    }
    std::uint32_t now = 0;
};

class Completion final : public ExerciseCompletion {
  public:
    void completeExercise(EndKind, ExerciseControl& exercise) override {
        if (exercise.elapsedMilliseconds() < 1) std::abort();
        ++calls;
        if (stops) exercise.stopExercise();
    }
    bool stops = true;
    int calls = 0;
};

// A kana user problem with every look-ahead case, or a character one.
class Problems final : public ProblemTextBuilder {
  public:
    explicit Problems(const CharTables& tables) : tables_(tables) {}
    bool buildProblemText(PracticeGrid& grid, const TextSettings& settings,
                          PracticeTextResult&) override {
        static const std::u8string_view kana[] = {u8"か", u8"っ", u8"た", u8"ん", u8"か", u8"う",
                                                  u8"ぁ", u8"し", u8"ゃ", u8"ち", u8"ゃ", u8"じ",
                                                  u8"ゃ", u8"っ", u8"ん", u8"　"};
        for (int i = 0; i < PracticeGrid::kCells; ++i) {
            if (settings.kanaMode) {
                const std::string text =
                    sjisLiteral(kana[static_cast<std::size_t>(i) % std::size(kana)]);
                const int k = kanaIndexOf(tables_, text);
                grid.place(i, k, text, tables_.romaji(0, k));
            } else {
                const std::string input(1, "Ab1!;"[i % 5]);
                grid.place(i, 0, toFullWidth(tables_, input), input);
            }
        }
        return true;
    }

  private:
    const CharTables& tables_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CharTables tables = buildCharTables();
    if (size < 2) return 0;
    SharedState shared;
    shared.courseIndex = data[0] % 7;  // 5 and 6: user problems
    shared.kanaMode = shared.courseIndex == kCourseRomaji || shared.courseIndex == 5;
    shared.timeLimitIndex = data[1] % 3;
    shared.romajiExtended = (data[1] & 0x80) ? 1 : 0;
    Mt19937Source random(data[1]);
    Window window;
    Completion completion;
    completion.stops = (data[0] & 0x80) == 0;
    Problems problems(tables);
    ExerciseSession session(shared, tables, random, &problems, window, window, window, completion);
    session.startExercise();
    session.gridFocusGained();

    int lastChars = 0, lastMisses = 0, lastKeys = 0;
    for (std::size_t i = 2; i + 1 < size; i += 2) {
        const std::uint8_t op = data[i];
        const std::uint8_t arg = data[i + 1];
        switch (op % 8) {
            case 0:
            case 1:
            case 2:
                session.gridKeyDown(op % 2 ? arg : 'A');
                session.gridKeyPress(arg);
                break;
            case 3:
                session.gridKeyPress(arg);
                break;
            case 4:
                session.gridKeyDown(arg);
                break;
            case 5:
                window.now += static_cast<std::uint32_t>(arg) * 977u;
                session.clockTick();
                break;
            case 6:
                if (arg & 1)
                    session.gridFocusLost();
                else
                    session.gridFocusGained();
                break;
            default: {
                const auto button = static_cast<ExerciseSession::Button>(arg % 3);
                const int keys[] = {vk::kSpace, vk::kEnter, vk::kF10, vk::kUp, vk::kF1};
                if (arg & 0x80) {
                    session.buttonPressed(button);
                } else {
                    session.buttonKeyDown(button, keys[(arg >> 2) % 5]);
                }
                lastChars = lastMisses = lastKeys = 0;  // may have started a new exercise
                break;
            }
        }
        const KeystrokeMatcher& m = session.matcher();
        if (m.cellPosition() < 0 || m.cellPosition() > PracticeGrid::kCells) std::abort();
        if (m.charactersTyped() != m.cellPosition()) std::abort();
        if (m.charactersTyped() < lastChars || m.missCount() < lastMisses ||
            m.keystrokeCount() < lastKeys) {
            std::abort();
        }
        if (m.typedLetters().size() + 1 != static_cast<std::size_t>(m.romajiPosition()))
            std::abort();
        lastChars = m.charactersTyped();
        lastMisses = m.missCount();
        lastKeys = m.keystrokeCount();
    }
    return 0;
}
