#include "gui/kana_keys.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

namespace hayate::gui {
namespace {

TEST(KanaKeys, TheNativeScanCodeAndShiftNameTheKana) {
    struct Case {
        quint32 scanCode;
        Qt::KeyboardModifiers modifiers;
        int keycode;
        bool shift;
    };
    const Case cases[] = {
        {24, Qt::NoModifier, 24, false},                          // Q: た
        {12, Qt::ShiftModifier, 12, true},                        // 3 with Shift: ぁ
        {24, Qt::ControlModifier, 0, false},                      // a shortcut, no kana
        {24, Qt::AltModifier | Qt::ShiftModifier, 0, true},
        {87, Qt::KeypadModifier, 0, false},                       // keypad 1
        {97, Qt::NoModifier, 97, false},                          // ろ, a key US lacks
        {0x10000, Qt::NoModifier, 0, false},                      // not an X keycode
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scanCode);
        // As the window gets it: the letter and text of a US layout, which the
        // kana input does not read.
        const QKeyEvent event(QEvent::KeyPress, Qt::Key_Q, c.modifiers, c.scanCode, 0, 0,
                              QStringLiteral("q"));
        const JisKey key = jisKeyOf(event);
        EXPECT_EQ(key.keycode, c.keycode);
        EXPECT_EQ(key.shift, c.shift);
    }
}

}  // namespace
}  // namespace hayate::gui
