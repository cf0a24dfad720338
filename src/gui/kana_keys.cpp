#include "gui/kana_keys.h"

#include <QKeyEvent>

namespace hayate::gui {

JisKey jisKeyOf(quint32 nativeScanCode, Qt::KeyboardModifiers modifiers) {
    JisKey key;
    key.shift = modifiers.testFlag(Qt::ShiftModifier);
    const Qt::KeyboardModifiers noKana =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier;
    // Codes beyond the X range come from no keyboard the layout knows.
    if (!(modifiers & noKana) && nativeScanCode < 256) key.keycode = static_cast<int>(nativeScanCode);
    return key;
}

JisKey jisKeyOf(const QKeyEvent& event) {
    return jisKeyOf(event.nativeScanCode(), event.modifiers());
}

}  // namespace hayate::gui
