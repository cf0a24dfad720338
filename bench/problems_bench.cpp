// The practice text of a full user problem in each unit, the record format,
// and a settings write's parse and edit.
#include <benchmark/benchmark.h>

#include "app/ini_file.h"
#include "app/settings.h"
#include "problems/problem_file.h"
#include "problems/problem_text.h"
#include "text/sjis.h"

namespace hayate {
namespace {

// 50 full rows of kana with a full-width space after every fourth character.
ProblemRows fullRows() {
    const std::string kana = sjisLiteral(
        u8"かきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわを");
    ProblemRows rows;
    std::size_t k = 0;
    for (std::string& row : rows) {
        for (int c = 1; c <= kProblemColumns; ++c) {
            row += c % 5 == 0 ? sjisChar(0x8140) : kana.substr((k++ * 2) % kana.size(), 2);
        }
    }
    return rows;
}

void BM_LayOutProblem(benchmark::State& state) {
    const CharTables tables = buildCharTables();
    const ProblemRows rows = fullRows();
    ProblemHead head;
    head.kind = static_cast<int>(state.range(0));
    head.unit = static_cast<int>(state.range(1));
    Mt19937Source random{1};
    PracticeGrid grid;
    for (auto _ : state) {
        grid.clear();
        benchmark::DoNotOptimize(layOutProblem(grid, tables, random, head, rows, 0));
    }
}
BENCHMARK(BM_LayOutProblem)
    ->ArgNames({"kind", "unit"})
    ->Args({kKindUpperCase, kUnitCharacter})
    ->Args({kKindUpperCase, kUnitWord})
    ->Args({kKindUpperCase, kUnitAsWritten})
    ->Args({kKindRomaji, kUnitCharacter})
    ->Args({kKindRomaji, kUnitWord})
    ->Args({kKindRomaji, kUnitAsWritten})
    ->Unit(benchmark::kMicrosecond);

void BM_RecordRoundTrip(benchmark::State& state) {
    ProblemRecord rec;
    rec.head.name = sjisLiteral(u8"れんしゅう");
    rec.rows = fullRows();
    for (auto _ : state) benchmark::DoNotOptimize(decodeProblemRecord(encodeProblemRecord(rec)));
}
BENCHMARK(BM_RecordRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_SettingsEdit(benchmark::State& state) {
    std::string content = "[Window]\r\nLeft=1\r\n[Init]\r\n";
    for (int i = 0; i < 20; ++i)
        content += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    for (auto _ : state) {
        IniDocument doc(content);
        doc.setValue(sjisText(UserText::SettingsSection), sjisText(UserText::SettingsCourseKey),
                     "3");
        benchmark::DoNotOptimize(doc.content());
    }
}
BENCHMARK(BM_SettingsEdit)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace hayate
