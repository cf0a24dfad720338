// Cost per key of the keystroke matching: complete exercises replayed through
// KeystrokeMatcher with a display that draws nothing.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "exercise/exercise_clock.h"
#include "exercise/key_codes.h"
#include "exercise/keystroke_matcher.h"
#include "exercise/practice_text.h"
#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {
namespace {

class NullDisplay final : public NullExerciseDisplay {
  public:
    void setLabelText(Label, const std::string& text) override {
        benchmark::DoNotOptimize(text.data());
    }
};

class StillClock final : public TickSource, public ExerciseTimer {
  public:
    std::uint32_t tickCount() override { return ++now; }
    void setRunning(bool) override {}
    void fireIn(int) override {}
    std::uint32_t now = 0;
};

struct Key {
    int virtualKey;
    unsigned char byte;
};

int virtualKeyFor(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + vk::kLetterA;
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') return c;
    return vk::kSemicolon;
}

// Kana syllables of a user problem and how they are typed: alternative
// spellings, doubled consonants, single n and joined small kana.
struct Syllable {
    std::u8string_view kana[2];
    const char* typed;
};
constexpr Syllable kSyllables[] = {
    {{u8"し"}, "shi"},
    {{u8"ち", u8"ゃ"}, "cya"},
    {{u8"っ", u8"た"}, "tta"},
    {{u8"ん", u8"か"}, "nka"},
    {{u8"う", u8"ぁ"}, "wha"},
    {{u8"じ", u8"ゃ"}, "ja"},
    {{u8"ふ"}, "fu"},
    {{u8"つ"}, "tsu"},
    {{u8"か"}, "ka"},
    {{u8"　"}, " "},
    {{u8"ー"}, "-"},
    {{u8"し", u8"ょ"}, "sho"},
    {{u8"っ", u8"ち"}, "cchi"},
    {{u8"ん"}, "nn"},
    {{u8"じ"}, "ji"},
    {{u8"ぁ"}, "xa"},
    {{u8"っ"}, "ltu"},
    {{u8"あ"}, "a"},
};

// The same kind of text typed the way input methods allow beyond the trainer's
// own table, for the extended mode.
constexpr Syllable kImeSyllables[] = {
    {{u8"ち", u8"ゃ"}, "cha"}, {{u8"ふ", u8"ぁ"}, "fa"},  {{u8"っ"}, "xtsu"},
    {{u8"ん"}, "n'"},          {{u8"し", u8"ぇ"}, "she"}, {{u8"い", u8"ぇ"}, "ye"},
    {{u8"う", u8"ぃ"}, "wi"},  {{u8"し"}, "ci"},          {{u8"く"}, "qu"},
    {{u8"っ", u8"か"}, "KKA"}, {{u8"ん", u8"か"}, "nka"}, {{u8"て", u8"ぃ"}, "thi"},
    {{u8"　"}, " "},           {{u8"ー"}, "-"},           {{u8"つ"}, "tsu"},
    {{u8"あ"}, "a"},
};

struct Exercise {
    PracticeGrid grid;
    std::vector<Key> keys;
    KeystrokeMatcher::Mode mode;
};

template <std::size_t N>
Exercise kanaExercise(const CharTables& tables, const Syllable (&syllables)[N],
                      bool extended = false) {
    Exercise e;
    e.mode = {true, 0, kFirstProblemCourse, extended};
    int cell = 0;
    for (std::size_t s = 0; cell < PracticeGrid::kCells; s = (s + 1) % N) {
        const Syllable& syl = syllables[s];
        const int cells = syl.kana[1].empty() ? 1 : 2;
        if (cell + cells > PracticeGrid::kCells) continue;  // a one-cell syllable fills the end
        for (int i = 0; i < cells; ++i) {
            const std::string text = sjisLiteral(syl.kana[i]);
            const int k = kanaIndexOf(tables, text);
            e.grid.place(cell++, k, text, tables.romaji(0, k));
        }
        for (const char* c = syl.typed; *c; ++c) {
            const auto b = static_cast<unsigned char>(*c);
            e.keys.push_back({virtualKeyFor(b), b});
        }
    }
    return e;
}

Exercise characterExercise(CharTables& tables) {
    Exercise e;
    e.mode = {false, kCaseSensitive, kCourseKeyTouch};
    Mt19937Source random(11);
    buildPracticeText(e.grid, tables, TextSettings{kCourseKeyTouch, 0, 0, false}, random, nullptr);
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        const auto b = static_cast<unsigned char>(e.grid.cell(i).input[0]);
        e.keys.push_back({virtualKeyFor(b), b});
    }
    return e;
}

void replay(benchmark::State& state, const Exercise& exercise, const CharTables& tables) {
    NullDisplay display;
    StillClock ticks;
    ExerciseClock clock(ticks, ticks);
    PracticeGrid grid;
    KeystrokeMatcher matcher(tables, grid, display, clock);
    for (auto _ : state) {
        state.PauseTiming();
        grid = exercise.grid;  // joined syllables rewrite cells
        matcher.reset(exercise.mode);
        clock.arm();
        state.ResumeTiming();
        for (const Key& k : exercise.keys) {
            matcher.keyDown(k.virtualKey);
            benchmark::DoNotOptimize(matcher.keyPress(k.byte));
        }
    }
    if (matcher.charactersTyped() != PracticeGrid::kCells || matcher.missCount() != 0) {
        state.SkipWithError("the replay did not type the text cleanly");
    }
    state.counters["keys"] = static_cast<double>(exercise.keys.size());
    state.counters["per_key"] = benchmark::Counter(
        static_cast<double>(exercise.keys.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_KanaExercise(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    replay(state, kanaExercise(tables, kSyllables), tables);
}
BENCHMARK(BM_KanaExercise)->Unit(benchmark::kMicrosecond);

// The same keys through the extended judge, side by side with the standard one.
void BM_KanaExerciseExtended(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    replay(state, kanaExercise(tables, kSyllables, true), tables);
}
BENCHMARK(BM_KanaExerciseExtended)->Unit(benchmark::kMicrosecond);

// Input-method spellings that only the extended judge takes.
void BM_KanaExerciseImeSpellings(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    replay(state, kanaExercise(tables, kImeSyllables, true), tables);
}
BENCHMARK(BM_KanaExerciseImeSpellings)->Unit(benchmark::kMicrosecond);

void BM_CharacterExercise(benchmark::State& state) {
    CharTables tables = buildCharTables();
    const Exercise e = characterExercise(tables);
    replay(state, e, tables);
}
BENCHMARK(BM_CharacterExercise)->Unit(benchmark::kMicrosecond);

// Wrong keys only: every key a miss on the first cell of the kana text.
void BM_KanaMisses(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    Exercise e = kanaExercise(tables, kSyllables, state.range(0) == 1);
    NullDisplay display;
    StillClock ticks;
    ExerciseClock clock(ticks, ticks);
    KeystrokeMatcher matcher(tables, e.grid, display, clock);
    matcher.reset(e.mode);
    clock.arm();
    for (auto _ : state) {
        matcher.keyDown('Q');
        benchmark::DoNotOptimize(matcher.keyPress('q'));
    }
    state.counters["per_key"] = benchmark::Counter(
        1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KanaMisses)->Arg(0)->Arg(1);  // 1: the extended judge

}  // namespace
}  // namespace hayate
