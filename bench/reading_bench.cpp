// Readings of ordinary Japanese prose: 2,000 characters of kanji, kana,
// katakana, digits and punctuation, as a user imports a page of an article.
#include <benchmark/benchmark.h>

#include <string>

#include "problems/reading_import.h"
#include "reading/mecab_reading_source.h"

namespace hayate {
namespace {

const char* const kSentences[] = {
    "今日は朝から良い天気で、駅までの道を歩いて行きました。",
    "東京都の人口はおよそ1400万人で、日本で最も多くの人が暮らしています。",
    "新しいコンピューターを買ったので、週末はソフトウェアの設定に時間を使いました。",
    "キーボードを見ないで文字を打つ練習は、毎日少しずつ続けることが大切です。",
    "図書館で借りた本には、江戸時代の町人の生活が詳しく書かれていました。",
    "会議の資料は明日の午前10時までに、担当者へメールで送ってください。",
    "雨の日は電車が混むので、いつもより早く家を出るようにしています。",
    "祖母の家の庭には、春になると桜と菜の花がきれいに咲きます。",
    "プログラムの不具合を直すには、まず問題が起きる手順を確かめることです。",
    "夏休みに家族で北海道を旅行し、牧場で新鮮な牛乳を飲みました。",
};

// About 2,000 characters, one line per sentence.
std::string prose() {
    std::string text;
    std::size_t characters = 0;
    for (int i = 0; characters < 2000; ++i) {
        const std::string sentence = kSentences[i % std::size(kSentences)];
        text += sentence + "\r\n";
        for (char c : sentence) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return text;
}

// Every word of the 2,000 characters read.
void BM_ReadingsOf2000Characters(benchmark::State& state) {
    auto opened = MecabReadingSource::open();
    if (!opened.source) {
        state.SkipWithError(opened.whyNot.c_str());
        return;
    }
    const ImportLines lines = importLinesOf(prose());
    for (auto _ : state) {
        for (const std::string& line : lines.lines)
            benchmark::DoNotOptimize(opened.source->wordsOfLine(line));
    }
}
BENCHMARK(BM_ReadingsOf2000Characters)->Unit(benchmark::kMillisecond);

// The whole import of the romaji kind, from the file's bytes to the grid.
void BM_ImportWithReadings(benchmark::State& state) {
    auto opened = MecabReadingSource::open();
    if (!opened.source) {
        state.SkipWithError(opened.whyNot.c_str());
        return;
    }
    const CharTables tables = buildCharTables();
    const std::string bytes = prose();
    for (auto _ : state) {
        const ReadText read = readForGrid(*opened.source, tables, 1, importLinesOf(bytes));
        benchmark::DoNotOptimize(fillFromReadings(tables, 1, read.lines, read.totalCharacters));
    }
}
BENCHMARK(BM_ImportWithReadings)->Unit(benchmark::kMillisecond);

// The largest file the import reads, kanji in one line without a break:
// decoded whole, read only as far as the grid.
void BM_ImportWithReadings4MiBKanjiLine(benchmark::State& state) {
    auto opened = MecabReadingSource::open();
    if (!opened.source) {
        state.SkipWithError(opened.whyNot.c_str());
        return;
    }
    const CharTables tables = buildCharTables();
    std::string bytes;
    while (bytes.size() + 12 <= kImportReadLimit) bytes += "漢字変換";
    for (auto _ : state) {
        const ReadText read = readForGrid(*opened.source, tables, 1, importLinesOf(bytes));
        benchmark::DoNotOptimize(fillFromReadings(tables, 1, read.lines, read.totalCharacters));
    }
}
BENCHMARK(BM_ImportWithReadings4MiBKanjiLine)->Unit(benchmark::kMillisecond);

// Opening MeCab and its dictionary, which the first import pays for.
void BM_OpenMecab(benchmark::State& state) {
    for (auto _ : state) {
        auto opened = MecabReadingSource::open();
        if (!opened.source) {
            state.SkipWithError(opened.whyNot.c_str());
            return;
        }
    }
}
BENCHMARK(BM_OpenMecab)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hayate
