// The romaji course typed on the JIS kana layout through the window: key
// events carry the key's place (the X keycode), whatever the desktop's layout
// makes of them.
#include <QKeyEvent>
#include <QLabel>

#include "form_fixture.h"
#include "gui/sjis_qt.h"
#include "platform/safe_file.h"
#include "support/sjis_test_support.h"
#include "text/jis_kana_layout.h"

namespace hayate::gui::test {
namespace {

using hayate::test::sj;

class KanaInputWindow : public FormTest {
  protected:
    void SetUp() override {
        // The romaji course, no time limit, no spaces, かな chosen.
        ASSERT_TRUE(replaceFileAtomically(
            dir / "hayateuchi.INI",
            sj("[Init]\r\nコース=3\r\n制限時間=2\r\n空白有無=1\r\n入力方式=1\r\n")));
        open();
        find("BStart")->setFocus();
        key(Qt::Key_F10);
        ASSERT_EQ(focused(), sg1());
    }
    // A key as the desktop reports it: with the jp(kana) layout the key
    // types its half-width katakana; a layout without the key (ろ, ー under
    // us) gives no key and no text, only the place.
    void press(const KanaStroke& stroke, bool desktopHasKana) {
        const Qt::KeyboardModifiers mods = stroke.shift ? Qt::ShiftModifier : Qt::NoModifier;
        const unsigned char byte = kanaByteOfKey({stroke.keycode, stroke.shift});
        const QString text =
            desktopHasKana ? QString(QChar(char16_t(0xFF61 + (byte - 0xA1)))) : QString();
        QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown, mods,
                       static_cast<quint32>(stroke.keycode), 0, 0, text);
        QCoreApplication::sendEvent(sg1(), &down);
    }
    void typeCell(int column, int row, bool desktopHasKana) {
        const std::string kana = toSjis(sg1()->cellText(column, row));
        const KanaStrokes strokes = strokesForKana(kana);
        ASSERT_GT(strokes.count, 0) << sg1()->cellText(column, row).toStdString();
        for (int i = 0; i < strokes.count; ++i) press(strokes.keys[i], desktopHasKana);
    }
};

TEST_F(KanaInputWindow, TheSameKeysTypeTheSameKanaWhateverTheDesktopLayout) {
    EXPECT_EQ(find<QLabel>("SBar1Roma")->text(), QStringLiteral(u"かな入力"));
    EXPECT_TRUE(find<QLabel>("SBar1Roma")->isVisible());
    EXPECT_EQ(text("L5"), QStringLiteral(u"キー＝"));
    // The first row under one layout, the second under the other.
    for (int column = 1; column <= 40; ++column) typeCell(column, 1, true);
    EXPECT_EQ(text("LMoji").trimmed(), QStringLiteral("40"));
    for (int column = 1; column <= 40; ++column) typeCell(column, 2, false);
    EXPECT_EQ(text("LMoji").trimmed(), QStringLiteral("80"));
    EXPECT_EQ(text("LMiss").trimmed(), QStringLiteral("0"));
    EXPECT_EQ(sg1()->currentRow(), 3);

    // A key of another kana is a miss and leaves the cursor where it was.
    const std::string expected = toSjis(sg1()->cellText(1, 3));
    const KanaStrokes other = strokesForKana(sj(expected == sj("あ") ? "い" : "あ"));
    press(other.keys[0], false);
    EXPECT_EQ(text("LMiss").trimmed(), QStringLiteral("1"));
    EXPECT_EQ(sg1()->currentColumn(), 1);
}

}  // namespace
}  // namespace hayate::gui::test
