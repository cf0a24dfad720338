#include "problems/reading_import.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/sjis_test_support.h"

namespace hayate {
namespace {

using test::sj;

// Reads the words it knows, longest first; every other character is a word
// of its own, as written.
class FakeSource : public ReadingSource {
  public:
    std::vector<ReadingWord> wordsOfLine(std::string_view line) override {
        bytesGiven += line.size();
        std::vector<ReadingWord> words;
        for (std::size_t i = 0; i < line.size();) {
            std::size_t best = 0;
            for (const auto& [surface, reading] : known)
                if (line.substr(i).starts_with(surface) && surface.size() > best) best = surface.size();
            if (best > 0) {
                const std::string surface(line.substr(i, best));
                words.push_back({sj(surface), sj(known.at(surface)), WordReading::Read});
                i += best;
            } else {
                std::size_t n = 1;
                while (i + n < line.size() && (static_cast<unsigned char>(line[i + n]) & 0xC0) == 0x80) ++n;
                const std::string one = sj(std::string(line.substr(i, n)));
                words.push_back({one, one, WordReading::AsWritten});
                i += n;
            }
        }
        return words;
    }
    std::map<std::string, std::string> known = {
        {"今日", "きょう"}, {"良い", "よい"}, {"天気", "てんき"}, {"東京", "とうきょう"},
        {"都", "と"},     {"ビル", "びる"}};
    std::size_t bytesGiven = 0;
};

class ReadingImportTest : public ::testing::Test {
  protected:
    std::string joined(const std::vector<std::string>& characters) {
        std::string all;
        for (const std::string& ch : characters) all += ch;
        return test::utf8(all);
    }
    ReadingFill fill(const std::string& fileBytes, int kind = 1) {
        const ImportLines lines = importLinesOf(fileBytes);
        const ReadText read = readForGrid(source, tables, kind, lines);
        return fillFromReadings(tables, kind, read.lines, read.totalCharacters);
    }
    FakeSource source;
    CharTables tables = buildCharTables();
};

TEST_F(ReadingImportTest, KanjiBecomeTheirReadingsInEveryEncoding) {
    const struct {
        std::string bytes, grid;
    } cases[] = {
        {"今日は良い天気です", "きょうはよいてんきです"},
        {sj("今日は良い天気です"), "きょうはよいてんきです"},         // Shift-JIS
        {"\xEF\xBB\xBF" "東京都", "とうきょうと"},                   // UTF-8 with its mark
        {std::string("\xFF\xFE\x71\x67\xAC\x4E\xFD\x90", 8), "とうきょうと"},  // UTF-16LE
        {"東京\r\n都の\nビル\r\n", "とうきょうとのびる"},            // lines run on
        {"東京 abc 123、", "とうきょう　　１２３、"},                // the plain rules after reading
        {"東京\r\n\t\r\n都", "とうきょう"},                          // a line of control characters ends it
    };
    for (const auto& c : cases) EXPECT_EQ(joined(fill(c.bytes).characters), c.grid) << test::hex(c.bytes);
}

TEST_F(ReadingImportTest, TextWithoutKanjiFillsAsThePlainImport) {
    for (const std::string& bytes :
         {std::string("abc 123"), sj("あいう\r\nえお"), std::string("かな　ＡＢＣ\x1A" "あ"),
          sj("きゃ、[ー]")}) {
        for (int kind : {0, 1, 2, 3}) {
            EXPECT_EQ(fill(bytes, kind).characters, parseImportText(tables, kind, bytes).characters)
                << test::hex(bytes) << " kind " << kind;
        }
    }
}

TEST_F(ReadingImportTest, OutcomesMatchThePlainImport) {
    for (const std::string& bytes : {std::string(), std::string("\r\n\t\r\n"),
                                     std::string("\x00\x01\x02\x03\x04\x05", 6), std::string("x")}) {
        EXPECT_EQ(importLinesOf(bytes).outcome, parseImportText(tables, 1, bytes).outcome)
            << test::hex(bytes);
    }
    EXPECT_TRUE(hasCharactersToRead(importLinesOf("あ\nビル")));
    EXPECT_FALSE(hasCharactersToRead(importLinesOf("あ\nー123")));
}

TEST_F(ReadingImportTest, ALongTextIsReadOnlyAsFarAsTheGridAndSaysHowMuchWasTaken) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "天気。";  // 6000 characters, 8000 in readings
    text += "\n";
    for (int i = 0; i < 100; ++i) text += "東京\n";
    const ImportLines lines = importLinesOf(text);
    const ReadText read = readForGrid(source, tables, 1, lines);
    EXPECT_LT(source.bytesGiven, text.size() / 2);
    EXPECT_EQ(read.totalCharacters, 6200u);
    const ReadingFill result = fillFromReadings(tables, 1, read.lines, read.totalCharacters);
    EXPECT_EQ(result.characters.size(), kImportMaxCharacters);
    // てんき。 500 times.
    EXPECT_EQ(result.takenCharacters, 1500u);
    EXPECT_FALSE(takenNotice(result).empty());
    EXPECT_TRUE(takenNotice(fill("東京")).empty());

    // Text the kind takes little of is read only so far.
    source.bytesGiven = 0;
    const std::string letters = "東京 " + std::string(30000, 'x');
    const ReadText fewTaken = readForGrid(source, tables, 1, importLinesOf(letters));
    EXPECT_LT(source.bytesGiven, 25000u);
    const ReadingFill some = fillFromReadings(tables, 1, fewTaken.lines, fewTaken.totalCharacters);
    EXPECT_EQ(joined(some.characters), "とうきょう　");
    EXPECT_LT(some.takenCharacters, some.totalCharacters);
}

TEST_F(ReadingImportTest, ACorrectedReadingIsWhatTheGridGets) {
    const ImportLines lines = importLinesOf("今日は");
    ReadText read = readForGrid(source, tables, 1, lines);
    ASSERT_EQ(read.lines.size(), 1u);
    read.lines[0][0].reading = sj("こんにち");
    EXPECT_EQ(joined(fillFromReadings(tables, 1, read.lines, read.totalCharacters).characters),
              "こんにちは");
}

}  // namespace
}  // namespace hayate
