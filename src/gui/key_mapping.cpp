#include "gui/key_mapping.h"

#include <QKeyEvent>

namespace hayate::gui {

namespace {

// Half-width katakana A1..DF in byte order, as their full-width katakana.
constexpr char16_t kKatakana[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    u"マミムメモヤユヨラリルレロワン゛゜";
static_assert(sizeof kKatakana / sizeof kKatakana[0] == 0xDF - 0xA1 + 2);

// The key of a JIS keyboard that types an ASCII punctuation character.
int punctuationKey(char16_t c) {
    switch (c) {
        case '!':
            return '1';
        case '"':
            return '2';
        case '#':
            return '3';
        case '$':
            return '4';
        case '%':
            return '5';
        case '&':
            return '6';
        case '\'':
            return '7';
        case '(':
            return '8';
        case ')':
            return '9';
        case '-':
        case '=':
            return 189;
        case '^':
        case '~':
            return 222;
        case '\\':
        case '|':
            return 220;
        case '@':
        case '`':
            return 192;
        case '[':
        case '{':
            return 219;
        case ']':
        case '}':
            return 221;
        case ';':
        case '+':
            return 187;
        case ':':
        case '*':
            return 186;
        case ',':
        case '<':
            return 188;
        case '.':
        case '>':
            return 190;
        case '/':
        case '?':
            return 191;
        case '_':
            return 226;
        default:
            return 0;
    }
}

int keypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::kNumpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
        case Qt::Key_Asterisk:
            return 106;
        case Qt::Key_Plus:
            return 107;
        case Qt::Key_Comma:
            return 108;
        case Qt::Key_Minus:
            return 109;
        case Qt::Key_Period:
            return 110;
        case Qt::Key_Slash:
            return 111;
        case Qt::Key_Enter:
            return vk::kEnter;
        default:
            return 0;
    }
}

int specialKey(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::kF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vk::kEnter;
        case Qt::Key_Shift:
            return vk::kShift;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Escape:
            return vk::kEscape;
        case Qt::Key_Space:
            return vk::kSpace;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return vk::kUp;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Meta:
            return 91;
        case Qt::Key_Menu:
            return 93;
        case Qt::Key_NumLock:
            return 144;
        case Qt::Key_ScrollLock:
            return 145;
        // Keys of the Japanese keyboard around the space bar.
        case Qt::Key_Muhenkan:
            return 29;
        case Qt::Key_Henkan:
            return 28;
        case Qt::Key_Hiragana_Katakana:
        case Qt::Key_Katakana:
        case Qt::Key_Hiragana:
            return 242;
        case Qt::Key_Zenkaku_Hankaku:
        case Qt::Key_Zenkaku:
        case Qt::Key_Hankaku:
            return 229;
        case Qt::Key_Eisu_toggle:
            return 240;
        default:
            return 0;
    }
}

}  // namespace

std::optional<unsigned char> keyByte(QChar ch) {
    const char16_t c = ch.unicode();
    if (c < 0x80) return static_cast<unsigned char>(c);
    if (c == 0x00A5) return static_cast<unsigned char>('\\');  // yen key
    if (c == 0x203E) return static_cast<unsigned char>('~');
    if (c >= 0xFF61 && c <= 0xFF9F) return static_cast<unsigned char>(c - 0xFF61 + 0xA1);
    char16_t k = c;
    if (c >= 0x3041 && c <= 0x3096) k = static_cast<char16_t>(c + 0x60);  // hiragana
    if (k == 0x309B || k == 0x309C) return static_cast<unsigned char>(0xDE + (k - 0x309B));
    for (int i = 0; i <= 0xDF - 0xA1; ++i) {
        if (kKatakana[i] == k) return static_cast<unsigned char>(0xA1 + i);
    }
    return std::nullopt;
}

WinKey translateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    WinKey key;
    if (text.size() == 1) key.byte = keyByte(text.at(0));

    if (modifiers & Qt::KeypadModifier) {
        key.virtualKey = keypadKey(qtKey);
        if (key.virtualKey) return key;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        key.virtualKey = qtKey;
        return key;
    }
    key.virtualKey = specialKey(qtKey);
    if (key.virtualKey) return key;
    if (qtKey > 0x20 && qtKey < 0x7F) {
        key.virtualKey = punctuationKey(static_cast<char16_t>(qtKey));
        return key;
    }
    // A character key of another layout (kana, yen): a key of the typing area.
    if (key.byte && *key.byte >= 0x20) key.virtualKey = *key.byte >= 0xA1 ? 'A' : 220;
    return key;
}

WinKey translateKey(const QKeyEvent& event) {
    return translateKey(event.key(), event.modifiers(), event.text());
}

}  // namespace hayate::gui
