#include "problems/text_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <random>
#include <string>

#include "support/sjis_test_support.h"
#include "support/temp_dir.h"
#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {
namespace {

using test::hex;
using test::sj;

class TextImportTest : public ::testing::Test {
  protected:
    // The accepted characters of `bytes` for `kind`, joined, in UTF-8.
    std::string imported(int kind, const std::string& bytes) {
        const ImportResult result = parseImportText(tables, kind, bytes);
        EXPECT_EQ(result.outcome, ImportOutcome::Filled) << hex(bytes);
        std::string joined;
        for (const std::string& ch : result.characters) {
            EXPECT_EQ(ch.size(), 2u);
            joined += ch;
        }
        return test::utf8(joined);
    }

    CharTables tables = buildCharTables();
};

TEST_F(TextImportTest, EachKindTakesItsCharacters) {
    EXPECT_EQ(imported(0, "abc 123"), "ＡＢＣ　１２３");
    EXPECT_EQ(imported(1, "abc 123"), "　１２３");
    EXPECT_EQ(imported(2, "ABc 1"), "ａｂｃ　１");
    EXPECT_EQ(imported(3, "aB"), "ａＢ");
    EXPECT_EQ(imported(0, sj("ａＢ、。！＠")), "ＡＢ、。！＠");
    EXPECT_EQ(imported(2, sj("ａＢ、。")), "ａｂ、。");

    const std::string kana = sj("あいうきゃっー");
    EXPECT_EQ(imported(1, kana), "あいうきゃっー");
    EXPECT_EQ(imported(2, kana), "ー");  // the long-vowel mark is a symbol, not a kana
    EXPECT_EQ(imported(0, kana), "ー");

    // Kanji and katakana go in no kind.
    for (int kind = 0; kind < 4; ++kind)
        EXPECT_EQ(imported(kind, sj("漢字カタカナ１")), "１") << kind;
}

TEST_F(TextImportTest, HalfWidthInputGoesThroughItsFullWidthForm) {
    // Brackets take the forms of the kind: corner brackets are kana-table
    // symbols, square ones are not.
    EXPECT_EQ(imported(1, "[x]"), "「」");
    EXPECT_EQ(imported(0, "[x]"), "Ｘ");
    EXPECT_EQ(imported(0, "-\\~'\""), "ー￥～’”");
    EXPECT_EQ(imported(0, "`"), "");  // ‘ is not in the kana table
    // Half-width katakana become katakana, which no kind takes; the
    // half-width long-vowel mark and punctuation become kana-table symbols.
    EXPECT_EQ(imported(1, "\xB1\xB6\xDE\xB0\xA1\xA4"), "ー。、");
}

TEST_F(TextImportTest, TheBracketFormsFollowTheKindNotTheTables) {
    tables.setBrackets(CharTables::Brackets::Square);
    EXPECT_EQ(imported(1, "["), "「");
    EXPECT_EQ(tables.brackets(), CharTables::Brackets::Square);
    tables.setBrackets(CharTables::Brackets::Corner);
    EXPECT_EQ(imported(0, "["), "");
}

TEST_F(TextImportTest, LinesRunOnInOneRunOfCells) {
    EXPECT_EQ(imported(1, sj("あいう\r\nえお\r\n")), "あいうえお");
    EXPECT_EQ(imported(1, sj("あいう\nえお")), "あいうえお");
    EXPECT_EQ(imported(1, sj("あいう\rえお")), "あいうえお");
    // Control characters go, spaces stay.
    EXPECT_EQ(imported(0, "a\tb c\x01"), "ＡＢ　Ｃ");
}

TEST_F(TextImportTest, ALineOfControlCharactersEndsTheText) {
    EXPECT_EQ(imported(0, "ab\r\n\t\t\r\ncd"), "ＡＢ");
    EXPECT_EQ(imported(0, "ab\n\t\ncd"), "ＡＢ");
    EXPECT_EQ(imported(0, "\t\r\nab"), "");
    // An empty line is skipped, not an end.
    EXPECT_EQ(imported(0, "ab\r\n\r\n\n\ncd"), "ＡＢＣＤ");
    // A line of characters that the kind does not take is no end either.
    EXPECT_EQ(imported(0, sj("ab\r\nあいう\r\ncd")), "ＡＢＣＤ");
}

TEST_F(TextImportTest, CtrlZEndsTheFile) { EXPECT_EQ(imported(0, "ab\x1A\r\ncd"), "ＡＢ"); }

TEST_F(TextImportTest, AFileWithoutANonEmptyLineIsEmpty) {
    for (const std::string bytes : {"", "\r\n", "\r\n\r\n\n", "\n\n\n",
                                    "\x1A"
                                    "abc",
                                    "\xEF\xBB\xBF", "\xEF\xBB\xBF\r\n"}) {
        const ImportResult result = parseImportText(tables, 0, bytes);
        EXPECT_EQ(result.outcome, ImportOutcome::Empty) << hex(bytes);
        EXPECT_TRUE(result.characters.empty());
    }
}

TEST_F(TextImportTest, WhatIsNoTextIsToldApart) {
    const auto utf16 = [](std::u16string_view text, bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t u : text) {
            const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
            bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
        }
        return bytes;
    };
    std::string binary;
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i) binary.push_back(static_cast<char>(random() % 255 + 1));
    std::string mostlyUtf8;
    for (int i = 0; i < 20; ++i) mostlyUtf8 += "かな";
    mostlyUtf8 += "\xFF";  // one damaged byte
    struct Case {
        std::string bytes;
        ImportOutcome outcome;
        const char* romaji;  // kind 1
    } cases[] = {
        {std::string("\t\x01\x02\r\n\x1F\x7F\r\n\0", 10), ImportOutcome::Empty, ""},
        {std::string("ab\0cd", 5), ImportOutcome::NotText, ""},
        {"\x01\x02\x03\x04\x05\x06"
         "ab\r\n",
         ImportOutcome::NotText, ""},
        {binary, ImportOutcome::NotText, ""},
        {"a\tb c\x01", ImportOutcome::Filled, "　"},
        {mostlyUtf8, ImportOutcome::Filled, ""},
        {"\xFF" + std::string("あいうえ"), ImportOutcome::Filled, "あいうえ"},
        {utf16(u"あい\r\nう、😀\xD800え", false), ImportOutcome::Filled, "あいう、え"},
        {utf16(u"おか", true), ImportOutcome::Filled, "おか"},
        {utf16(u"\r\n", false), ImportOutcome::Empty, ""},
        {"\xFF\xFE" + std::string(40, '\0'), ImportOutcome::Empty, ""},
        {"\xFF\xFE" + std::string(20, 'a') + std::string(20, '\0'), ImportOutcome::NotText, ""},
    };
    cases[5].romaji =
        "かなかなかなかなかなかなかなかなかなかなかなかなかなかなかなかなかなかなかなかな";
    for (const Case& c : cases) {
        const ImportResult result = parseImportText(tables, 1, c.bytes);
        EXPECT_EQ(result.outcome, c.outcome) << hex(c.bytes.substr(0, 40));
        std::string joined;
        for (const std::string& ch : result.characters) joined += ch;
        EXPECT_EQ(test::utf8(joined), c.romaji) << hex(c.bytes.substr(0, 40));
    }
}

TEST_F(TextImportTest, TheLimitsOfLinesAndCells) {
    std::string lines;
    for (int i = 0; i < 1005; ++i) lines += "a\r\n";
    EXPECT_EQ(parseImportText(tables, 0, lines).characters.size(), 999u);
    std::string lfLines;
    for (int i = 0; i < 1005; ++i) lfLines += "a\n\n";
    EXPECT_EQ(parseImportText(tables, 0, lfLines).characters.size(), 999u);

    const std::string longLine(2500, 'x');
    const ImportResult result = parseImportText(tables, 3, longLine + "\r\n" + longLine);
    ASSERT_EQ(result.characters.size(), 2000u);
    EXPECT_EQ(hex(result.characters.back()), hex(sj("ｘ")));
}

TEST_F(TextImportTest, StrayBytesDoNotPairUpTheBytesAfterThem) {
    // 7F has no full-width form; taken in pairs with the bytes after it, the
    // モ and A0 would read as 7F 83 and あ.
    EXPECT_EQ(imported(1, sj("あい") + "\x7F" + sj("モ") + "\xA0"), "あい");
    EXPECT_EQ(imported(1, "\x80" + sj("あ") + "\xFF" + sj("い") + "\x82"), "あい");
}

TEST_F(TextImportTest, Utf8FilesGiveWhatShiftJisFilesGive) {
    const std::string texts[] = {
        "abc 123\r\nxyz", "あいう\nえお",         "漢字\nきゃ、「かな」。ー１！",
        "ｱｲｳ ｶﾞ ﾟ ｰ",     "ＡＢＣａｂｃ　～＄￥", "a\tb\n\t\nc",
    };
    for (const std::string& utf8 : texts) {
        for (int kind = 0; kind < 4; ++kind) {
            const ImportResult fromSjis = parseImportText(tables, kind, sj(utf8));
            const ImportResult fromUtf8 = parseImportText(tables, kind, utf8);
            const ImportResult withBom = parseImportText(tables, kind, "\xEF\xBB\xBF" + utf8);
            EXPECT_EQ(fromUtf8.characters, fromSjis.characters) << utf8 << " kind " << kind;
            EXPECT_EQ(withBom.characters, fromSjis.characters) << utf8 << " kind " << kind;
        }
    }
    // A byte-order mark before plain ASCII.
    EXPECT_EQ(imported(0,
                       "\xEF\xBB\xBF"
                       "abc"),
              "ＡＢＣ");
    // The JIS forms of the wave dash and the minus sign.
    EXPECT_EQ(imported(0, "\xE3\x80\x9C\xE2\x88\x92"), "～－");
}

TEST_F(TextImportTest, EncodingDetection) {
    EXPECT_EQ(detectTextEncoding("abc\r\n"), TextEncoding::ShiftJis);
    EXPECT_EQ(detectTextEncoding(sj("あいう")), TextEncoding::ShiftJis);
    EXPECT_EQ(detectTextEncoding("あいう"), TextEncoding::Utf8);
    EXPECT_EQ(detectTextEncoding("\xEF\xBB\xBF"
                                 "abc"),
              TextEncoding::Utf8);
    // Cut off inside the last character, as the read limit may do.
    EXPECT_EQ(detectTextEncoding(std::string("あい").substr(0, 5)), TextEncoding::Utf8);
    // Decided by the whole text: a stray byte among UTF-8, UTF-8 by chance in Shift-JIS.
    EXPECT_EQ(detectTextEncoding("あいう\xFFえお"), TextEncoding::Utf8);
    EXPECT_EQ(detectTextEncoding(sj("ﾃｽﾄﾃﾞｽ、漢字ｶﾅ")), TextEncoding::ShiftJis);
    EXPECT_EQ(detectTextEncoding("\xFF\xFE"
                                 "a"),
              TextEncoding::Utf16LE);
    EXPECT_EQ(detectTextEncoding("\xFE\xFF"), TextEncoding::Utf16BE);
    // Overlong forms and surrogates are not UTF-8.
    EXPECT_EQ(detectTextEncoding("\xC0\xAF"
                                 "あ"),
              TextEncoding::ShiftJis);
    EXPECT_EQ(detectTextEncoding("\xED\xA0\x80"
                                 "あ"),
              TextEncoding::ShiftJis);
    EXPECT_EQ(detectTextEncoding("\xF4\x90\x80\x80"), TextEncoding::ShiftJis);
}

TEST_F(TextImportTest, Utf8ToShiftJisAgreesWithCodePage932) {
    // Every kana-table entry, the full-width letters and the punctuation row.
    std::string repertoire = "abc XYZ 019 !#$%&()*+,-./:;<=>?@[]^_`{|}~";
    for (int k = 0; k <= CharTables::kLastKanaIndex; ++k) repertoire += test::utf8(tables.kana(k));
    repertoire += "ＡＺａｚ０９ァヶヴ";
    for (unsigned code = 0x8140; code <= 0x81AC; ++code) {
        if (code != 0x817F) repertoire += test::utf8(sjisChar(code));
    }
    EXPECT_EQ(hex(utf8ToShiftJis(repertoire)), hex(sj(repertoire)));
    EXPECT_EQ(sjisCodeFor(U'★'), 0x819Au);
    EXPECT_EQ(sjisCodeFor(U'漢'), 0u);
    // Half-width katakana.
    EXPECT_EQ(hex(utf8ToShiftJis("ｱﾞｰ｡")), "B1 DE B0 A1");
    // Anything else, and each malformed byte, becomes 〓.
    EXPECT_EQ(hex(utf8ToShiftJis("漢\xFF"
                                 "a\xE3\x81")),
              hex(sj("〓〓a〓〓")));
    EXPECT_EQ(hex(utf8ToShiftJis("\xC2\xA5")), "5C");
}

TEST_F(TextImportTest, AcceptingOneCharacter) {
    std::string ch = sj("ｑ");
    EXPECT_TRUE(acceptImportCharacter(tables, 0, ch));
    EXPECT_EQ(hex(ch), hex(sj("Ｑ")));
    ch = sj("Ｑ");
    EXPECT_TRUE(acceptImportCharacter(tables, 2, ch));
    EXPECT_EQ(hex(ch), hex(sj("ｑ")));
    ch = sj("ぁ");
    EXPECT_TRUE(acceptImportCharacter(tables, 1, ch));
    EXPECT_FALSE(acceptImportCharacter(tables, 3, ch));
    ch = sj("　");
    EXPECT_TRUE(acceptImportCharacter(tables, 3, ch));
}

TEST_F(TextImportTest, EveryTwoByteCharacterIsJudgedAsOnItsOwn) {
    // The import looks kana indexes up by code; one character at a time must
    // give what the table scan gives.
    for (int kind = 0; kind < 4; ++kind) {
        tables.setBrackets(kind == 1 ? CharTables::Brackets::Corner : CharTables::Brackets::Square);
        for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
            if ((code & 0xFF) < 0x40 || !isLeadByte(static_cast<unsigned char>(code >> 8)))
                continue;
            std::string ch = sjisChar(code);
            const std::vector<std::string> got = parseImportText(tables, kind, ch).characters;
            const bool accepted = acceptImportCharacter(tables, kind, ch);
            ASSERT_EQ(got.size(), accepted ? 1u : 0u) << kind << " " << hex(sjisChar(code));
            if (accepted) {
                ASSERT_EQ(got[0], ch);
            }
        }
    }
}

TEST_F(TextImportTest, ArbitraryBytesStayWithinTheLimits) {
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(static_cast<std::size_t>(random() % 200000), '\0');
        for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
        for (int kind = 0; kind < 4; ++kind) {
            const ImportResult result = parseImportText(tables, kind, bytes);
            ASSERT_LE(result.characters.size(), kImportMaxCharacters);
            for (std::string ch : result.characters) {
                const std::string before = ch;
                ASSERT_TRUE(acceptImportCharacter(tables, kind, ch)) << hex(before);
                ASSERT_EQ(ch, before);
            }
        }
    }
}

TEST(ImportFileTest, ReadsAtMostTheReadLimitAndNeverWaits) {
    test::TempDir dir;
    const auto big = dir.path() / "big.txt";
    {
        std::ofstream out(big, std::ios::binary);
        const std::string chunk(1 << 20, 'a');
        for (int i = 0; i < 5; ++i) out << chunk;
    }
    const ImportFile bytes = readImportFile(big);
    ASSERT_EQ(bytes.status, ImportFileStatus::Read);
    EXPECT_EQ(bytes.bytes.size(), kImportReadLimit);

    const auto small = dir.path() / "small.txt";
    std::ofstream(small, std::ios::binary) << "abc\r\n";
    EXPECT_EQ(readImportFile(small).bytes, "abc\r\n");

    // A pipe without a writer would hold the program up for good.
    const auto fifo = dir.path() / "pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::filesystem::path, ImportFileStatus> others[] = {
        {dir.path(), ImportFileStatus::NotAFile},
        {fifo, ImportFileStatus::NotAFile},
        {"/dev/zero", ImportFileStatus::NotAFile},
        {dir.path() / "missing.txt", ImportFileStatus::Unreadable},
    };
    for (const auto& [path, status] : others) {
        const ImportFile file = readImportFile(path);
        EXPECT_EQ(file.status, status) << path;
        EXPECT_TRUE(file.bytes.empty());
    }
}

}  // namespace
}  // namespace hayate
