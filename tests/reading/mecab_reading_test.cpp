#include "reading/mecab_reading_source.h"

#include <gtest/gtest.h>

#include <string>

#include "reading/reading_service.h"
#include "support/sjis_test_support.h"

namespace hayate {
namespace {

class MecabReadingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        opened = MecabReadingSource::open();
        if (!opened.source) GTEST_SKIP() << "no MeCab dictionary: " << opened.whyNot;
    }
    // The readings of `line` joined, and its surfaces joined, in UTF-8.
    std::pair<std::string, std::string> read(const std::string& line) {
        std::string reading, surface;
        for (const ReadingWord& w : opened.source->wordsOfLine(line)) {
            reading += w.reading;
            surface += w.surface;
        }
        return {test::utf8(reading), test::utf8(surface)};
    }
    MecabReadingSource::Opened opened;
};

TEST_F(MecabReadingTest, SentencesReadInHiragana) {
    const struct {
        std::string line, reading;
    } cases[] = {
        {"今日は良い天気です", "きょうはよいてんきです"},
        {"東京都", "とうきょうと"},
        {"コンピューターを使う", "こんぴゅーたーをつかう"},
        {"ヴァイオリン", "ヴぁいおりん"},
        {"2026年に３つ", "2026ねんに３つ"},  // digits stay digits
        {"Qtで作る。", "Qtでつくる。"},
        {"  朝  と夜 ", "  あさ  とよる "},   // white space kept where it stood
        {"𠮷野", "〓の"},                    // no Shift-JIS code: the stand-in
        {"", ""},
    };
    for (const auto& c : cases) {
        const auto [reading, surface] = read(c.line);
        EXPECT_EQ(reading, c.reading) << c.line;
        if (c.line.find("𠮷") == std::string::npos) {
            EXPECT_EQ(surface, c.line);
        }
    }
}

TEST_F(MecabReadingTest, WordsSayWhatWasRead) {
    const auto words = opened.source->wordsOfLine("東京のビル");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].kind, WordReading::Read);
    EXPECT_EQ(words[1].kind, WordReading::AsWritten);
    EXPECT_EQ(words[2].kind, WordReading::Read);
    EXPECT_EQ(test::utf8(words[2].reading), "びる");
}

TEST(MecabOpenTest, AMissingDictionarySaysWhy) {
    const auto opened = MecabReadingSource::open("/nonexistent/dictionary");
    EXPECT_EQ(opened.source, nullptr);
    EXPECT_NE(opened.whyNot.find("/nonexistent/dictionary"), std::string::npos) << opened.whyNot;
}

class FakeSource : public ReadingSource {
  public:
    std::vector<ReadingWord> wordsOfLine(std::string_view) override { return {}; }
};

TEST(ReadingServiceTest, OpensOnceAndTellsOnce) {
    int opens = 0;
    ReadingService missing([&] {
        ++opens;
        return OpenedReadingSource{nullptr, "no dictionary"};
    });
    EXPECT_EQ(missing.source(), nullptr);
    const std::string notice = missing.takeNotice();
    EXPECT_NE(notice.find("no dictionary"), std::string::npos);
    EXPECT_EQ(missing.takeNotice(), "");
    EXPECT_EQ(missing.source(), nullptr);
    EXPECT_EQ(opens, 1);

    ReadingService present([] { return OpenedReadingSource{std::make_unique<FakeSource>(), {}}; });
    EXPECT_EQ(present.takeNotice(), "");
    EXPECT_NE(present.source(), nullptr);
}

}  // namespace
}  // namespace hayate
