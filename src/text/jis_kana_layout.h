// The JIS kana layout (かな入力) by physical key: which kana each key of a
// Japanese keyboard types, with and without Shift, whatever layout the
// desktop has. A key is named by its X keycode (the Linux evdev code + 8), as
// the window system reports it under X11 and Wayland.
//
// Every kana the layout types is one half-width katakana byte (JIS X 0201,
// A1..DF): a key types exactly one such byte, and a voiced or semi-voiced
// kana is its base kana's byte followed by that of ゛ (DE) or ゜ (DF).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace hayate {

// One key going down: its position and whether Shift is held.
struct JisKey {
    int keycode = 0;  // 0: no key of the kana layout (or Ctrl/Alt held)
    bool shift = false;
};

// The byte the key types on the kana layout, or 0. A key with a single kana
// types it with Shift as well.
unsigned char kanaByteOfKey(JisKey key);

// The kana of a half-width byte A1..DF as the practice text holds it: a
// full-width hiragana, ー, ゛, ゜ or one of 。「」、・ (Shift-JIS); empty for
// any other byte.
const std::string& kanaOfByte(unsigned char byte);

// The kana the key types, as kanaOfByte gives it; empty for none.
const std::string& kanaOfKey(JisKey key);

// One key to press for a kana.
struct KanaStroke {
    unsigned char byte = 0;  // what the key types
    int keycode = 0;
    bool shift = false;          // Shift is needed for it
    std::string_view legend;     // the key cap's letter, full-width Shift-JIS ("Ｑ", "＠")
};

// The key that types `byte` (A1..DF); keycode 0 for any other byte. The
// journal's keys of kana typed on the layout are these bytes.
KanaStroke strokeOfByte(unsigned char byte);

// The keys that type one kana (one two-byte Shift-JIS character): one key,
// or a base key and ゛ or ゜. `count` 0: the layout does not type it.
struct KanaStrokes {
    std::array<KanaStroke, 2> keys{};
    int count = 0;
};
KanaStrokes strokesForKana(std::string_view sjisCharacter);

// The cap of a key of the layout as a JIS keyboard prints it (the character
// typed without Shift and without kana, letters in upper case), full-width
// Shift-JIS; empty for a key outside the layout.
std::string_view keyLegend(int keycode);

// A stroke as the hint shows it: the legend, after "Shift+" when needed.
std::string strokeText(const KanaStroke& stroke);

// The voiced (DE) or semi-voiced (DF) form of `kana`, as the editor combines
// a typed mark with the kana before it; empty when it has none.
std::string withSoundMark(std::string_view kana, unsigned char mark);

}  // namespace hayate
