// Practice-text generation and the width conversions.
#include <benchmark/benchmark.h>

#include "exercise/practice_text.h"
#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {
namespace {

void BM_BuildPracticeText(benchmark::State& state) {
    CharTables tables = buildCharTables();
    PracticeGrid grid;
    Mt19937Source random(7);
    const int course = static_cast<int>(state.range(0));
    const TextSettings settings{course, 0, 0, course == kCourseRomaji};
    for (auto _ : state) {
        benchmark::DoNotOptimize(buildPracticeText(grid, tables, settings, random, nullptr));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildPracticeText)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_BuildCharTables(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(buildCharTables());
}
BENCHMARK(BM_BuildCharTables)->Unit(benchmark::kMicrosecond);

void BM_ToFullWidthAscii(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    std::string ascii;
    for (int c = 0x20; c <= 0x7E; ++c) ascii.push_back(static_cast<char>(c));
    for (auto _ : state) benchmark::DoNotOptimize(toFullWidth(tables, ascii));
    state.SetItemsProcessed(state.iterations() * static_cast<long>(ascii.size()));
}
BENCHMARK(BM_ToFullWidthAscii);

// The worst case of the linear scans: symbols late in the tables and
// characters with no half-width form at all.
void BM_ToHalfWidthSymbols(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    std::string text;
    for (int k = 131; k <= CharTables::kLastKanaIndex; ++k) text += tables.kana(k);
    text += sjisLiteral(u8"あいうえおガパ");
    for (auto _ : state) benchmark::DoNotOptimize(toHalfWidth(tables, text));
    state.SetItemsProcessed(state.iterations() * static_cast<long>(text.size() / 2));
}
BENCHMARK(BM_ToHalfWidthSymbols);

void BM_RomajiIndexOfMiss(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    int row = 0;
    for (auto _ : state) benchmark::DoNotOptimize(romajiIndexOf(tables, "wi", row));
}
BENCHMARK(BM_RomajiIndexOfMiss);

}  // namespace
}  // namespace hayate
