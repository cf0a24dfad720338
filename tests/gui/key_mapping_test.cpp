#include "gui/key_mapping.h"

#include <gtest/gtest.h>

#include "gui/sjis_qt.h"
#include "support/sjis_test_support.h"

namespace hayate::gui {
namespace {

TEST(KeyMapping, LettersDigitsAndPunctuationGiveTheirKeyAndByte) {
    WinKey a = translateKey(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(a.virtualKey, 65);
    EXPECT_EQ(a.byte, 'a');
    WinKey shiftA = translateKey(Qt::Key_A, Qt::ShiftModifier, "A");
    EXPECT_EQ(shiftA.virtualKey, 65);
    EXPECT_EQ(shiftA.byte, 'A');
    EXPECT_EQ(translateKey(Qt::Key_7, Qt::NoModifier, "7").virtualKey, 55);
    // Shifted digits on a JIS keyboard still come from the digit keys.
    WinKey bang = translateKey(Qt::Key_Exclam, Qt::ShiftModifier, "!");
    EXPECT_EQ(bang.virtualKey, 49);
    EXPECT_EQ(bang.byte, '!');
    EXPECT_EQ(translateKey(Qt::Key_Minus, Qt::NoModifier, "-").virtualKey, 189);
    EXPECT_EQ(translateKey(Qt::Key_Equal, Qt::ShiftModifier, "=").virtualKey, 189);
    EXPECT_EQ(translateKey(Qt::Key_At, Qt::NoModifier, "@").virtualKey, 192);
    EXPECT_EQ(translateKey(Qt::Key_Underscore, Qt::ShiftModifier, "_").virtualKey, 226);
    // Every printable key lands in a range the key gate lets through.
    for (char16_t c = 0x21; c < 0x7F; ++c) {
        const WinKey k =
            translateKey(c >= 'a' && c <= 'z' ? c - 32 : c, Qt::NoModifier, QString(QChar(c)));
        const bool open = (k.virtualKey >= 48 && k.virtualKey <= 90) ||
                          (k.virtualKey >= 166 && k.virtualKey <= 228);
        EXPECT_TRUE(open) << char(c) << " -> " << k.virtualKey;
        EXPECT_EQ(k.byte, static_cast<unsigned char>(c));
    }
}

TEST(KeyMapping, ControlKeysAndFunctionKeys) {
    WinKey esc = translateKey(Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(esc.virtualKey, 27);
    EXPECT_EQ(esc.byte, 27);
    WinKey enter = translateKey(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(enter.virtualKey, 13);
    EXPECT_EQ(enter.byte, 13);
    WinKey space = translateKey(Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_EQ(space.virtualKey, 32);
    EXPECT_EQ(space.byte, ' ');
    EXPECT_EQ(translateKey(Qt::Key_F1, Qt::NoModifier, "").virtualKey, 112);
    EXPECT_EQ(translateKey(Qt::Key_F10, Qt::NoModifier, "").virtualKey, 121);
    EXPECT_FALSE(translateKey(Qt::Key_F10, Qt::NoModifier, "").byte);
    EXPECT_EQ(translateKey(Qt::Key_Up, Qt::NoModifier, "").virtualKey, 38);
    EXPECT_EQ(translateKey(Qt::Key_Shift, Qt::ShiftModifier, "").virtualKey, 16);
    EXPECT_EQ(translateKey(Qt::Key_Backspace, Qt::NoModifier, "\b").virtualKey, 8);
}

TEST(KeyMapping, KeypadKeysHaveTheirOwnCodes) {
    for (int d = 0; d <= 9; ++d) {
        const WinKey k = translateKey(Qt::Key_0 + d, Qt::KeypadModifier, QString::number(d));
        EXPECT_EQ(k.virtualKey, 96 + d);
        EXPECT_EQ(k.byte, '0' + d);
    }
    EXPECT_EQ(translateKey(Qt::Key_Asterisk, Qt::KeypadModifier, "*").virtualKey, 106);
    EXPECT_EQ(translateKey(Qt::Key_Plus, Qt::KeypadModifier, "+").virtualKey, 107);
    EXPECT_EQ(translateKey(Qt::Key_Minus, Qt::KeypadModifier, "-").virtualKey, 109);
    EXPECT_EQ(translateKey(Qt::Key_Period, Qt::KeypadModifier, ".").virtualKey, 110);
    EXPECT_EQ(translateKey(Qt::Key_Slash, Qt::KeypadModifier, "/").virtualKey, 111);
    EXPECT_EQ(translateKey(Qt::Key_Enter, Qt::KeypadModifier, "\r").virtualKey, 13);
}

TEST(KeyMapping, KanaLayoutGivesHalfWidthKatakanaBytes) {
    const struct {
        char16_t ch;
        const char* expected;  // UTF-8 half-width form
    } cases[] = {{u'ア', "ｱ"}, {u'あ', "ｱ"}, {u'ヲ', "ｦ"}, {u'ン', "ﾝ"}, {u'ッ', "ｯ"},
                 {u'っ', "ｯ"}, {u'ー', "ｰ"}, {u'゛', "ﾞ"}, {u'゜', "ﾟ"}, {u'。', "｡"},
                 {u'「', "｢"}, {u'・', "･"}, {u'ｶ', "ｶ"}};
    for (const auto& c : cases) {
        const auto b = keyByte(QChar(c.ch));
        ASSERT_TRUE(b) << c.expected;
        EXPECT_EQ(std::string(1, static_cast<char>(*b)), test::sj(c.expected)) << c.expected;
    }
    EXPECT_EQ(keyByte(QChar(0x00A5)), 0x5C);  // yen key
    EXPECT_FALSE(keyByte(QChar(u'漢')));
    EXPECT_FALSE(keyByte(QChar(u'ガ')));  // voiced kana come as two keys
    EXPECT_FALSE(keyByte(QChar(u'Ａ')));
    const WinKey kana = translateKey(0x30A2, Qt::NoModifier, QStringLiteral(u"ア"));
    EXPECT_EQ(kana.virtualKey, 65);
    EXPECT_EQ(kana.byte, 0xB1);
    EXPECT_EQ(translateKey(0x6F22, Qt::NoModifier, QStringLiteral(u"漢")).byte, std::nullopt);
}

TEST(ShiftJisEdge, BackslashTildeAndWaveDashRoundTrip) {
    EXPECT_EQ(toQt("\x5C\x7E"), QStringLiteral("\\~"));
    EXPECT_EQ(toQt(test::sj("＼～ｱ記号")), QStringLiteral(u"＼～ｱ記号"));
    EXPECT_EQ(toSjis(QStringLiteral(u"〜")), test::sj("～"));
    EXPECT_EQ(toSjis(QStringLiteral(u"¥")), "\\");
    EXPECT_EQ(toSjis(QStringLiteral(u"最高入力文字数")), test::sj("最高入力文字数"));
    EXPECT_EQ(toQt(""), QString());
    // A text cut after a lead byte leaves nothing behind for the next one,
    // where 82 A0 would read as あ.
    const QString fresh = toQt("\xA0\x41\x42\x43\x44");
    EXPECT_EQ(toQt("\x82\xA0\x82\xA0\x82"), QStringLiteral(u"ああ"));
    EXPECT_EQ(toQt("\xA0\x41\x42\x43\x44"), fresh);
    EXPECT_FALSE(fresh.startsWith(QStringLiteral(u"あ")));
}

// The window takes the table's texts as written, the core as Shift-JIS; the
// window's code page must read the core's bytes back as the same text.
TEST(ShiftJisEdge, TableTextsReadTheSameFromEitherForm) {
    for (int i = 0; i < kUserTextCount; ++i) {
        const auto text = static_cast<UserText>(i);
        EXPECT_EQ(toQt(sjisText(text)), qtText(text)) << i;
    }
}

}  // namespace
}  // namespace hayate::gui
