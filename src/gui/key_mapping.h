// Qt key events as the key-down and key-press steps expect them: the Windows
// virtual-key code of the key, and the one Shift-JIS byte it types.
#pragma once

#include <QString>
#include <Qt>
#include <optional>

#include "exercise/key_codes.h"

class QKeyEvent;

namespace hayate::gui {

struct WinKey {
    int virtualKey = 0;                 // 0 when the key has no Windows counterpart
    std::optional<unsigned char> byte;  // the character typed, if it is one byte
};

WinKey translateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
WinKey translateKey(const QKeyEvent& event);

// The single Shift-JIS byte of a typed character: ASCII and control codes as
// they are, half-width katakana A1..DF also from the full-width kana and
// hiragana that a kana keyboard layout delivers; nothing for anything else.
std::optional<unsigned char> keyByte(QChar ch);

}  // namespace hayate::gui
