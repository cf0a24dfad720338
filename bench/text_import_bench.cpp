// The import of a text file at its read limit, and the editor's keys.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "problems/problem_editor.h"
#include "problems/romaji_composer.h"
#include "problems/text_import.h"
#include "text/sjis.h"

namespace hayate {
namespace {

// Files as large as the import ever reads, in the shapes that make it read
// all of them: no line end and nothing the kind accepts, or random bytes.
std::string kanjiUtf8() {
    const std::string kanji = "漢字変換";
    std::string text;
    while (text.size() + kanji.size() <= kImportReadLimit) text += kanji;
    return text;
}

// Symbols of the punctuation row that no kind takes, late in the row.
std::string starsUtf8() {
    const std::string star = "★";
    std::string text;
    while (text.size() + star.size() <= kImportReadLimit) text += star;
    return text;
}

std::string kanjiShiftJis() {
    const std::string kanji = "\x8A\xBF\x8E\x9A";  // 漢字
    std::string text;
    while (text.size() + kanji.size() <= kImportReadLimit) text += kanji;
    return text;
}

std::string randomBytes() {
    std::mt19937 random(3);
    std::string text(kImportReadLimit, '\0');
    for (char& b : text) b = static_cast<char>(random() & 0xFF);
    return text;
}

// An ordinary letter: lines of kana that fill the grid long before the end.
std::string kanaLines() {
    std::string text;
    const std::string line = "きょうはいいてんきです、あしたもはれるでしょう。\r\n";
    while (text.size() < 200000) text += line;
    return text;
}

void BM_Import(benchmark::State& state, std::string (*make)(), int kind) {
    const CharTables tables = buildCharTables();
    const std::string bytes = make();
    for (auto _ : state) benchmark::DoNotOptimize(parseImportText(tables, kind, bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_Import, utf8_kanji_4MiB_kind1, kanjiUtf8, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, sjis_kanji_4MiB_kind1, kanjiShiftJis, 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, utf8_stars_4MiB_kind0, starsUtf8, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, random_4MiB_kind0, randomBytes, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, utf8_kana_lines_kind1, kanaLines, 1)->Unit(benchmark::kMillisecond);

void BM_ComposerKey(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    RomajiComposer composer(tables);
    const std::string keys = "kyoushaxtunnkkya";
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(composer.type(static_cast<unsigned char>(keys[i])));
        i = (i + 1) % keys.size();
    }
}
BENCHMARK(BM_ComposerKey);

}  // namespace
}  // namespace hayate
