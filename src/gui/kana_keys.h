// Qt key events as the kana input of the core takes them: the key's place on
// the keyboard (the X keycode that xcb and Wayland report as the native scan
// code) and whether Shift is held.
#pragma once

#include <Qt>

#include "text/jis_kana_layout.h"

class QKeyEvent;

namespace hayate::gui {

// With Ctrl, Alt or Meta held, or on the numeric keypad, a key types no kana:
// keycode 0 then.
JisKey jisKeyOf(quint32 nativeScanCode, Qt::KeyboardModifiers modifiers);
JisKey jisKeyOf(const QKeyEvent& event);

}  // namespace hayate::gui
