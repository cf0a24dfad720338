// The Japanese 109-key keyboard (JIS layout), as plain data: every physical
// key with its place, size and legends, and the lookup from a typed
// character to the key that types it. The journal counts misses per key with
// it; the analysis screen draws its heat map from it.
//
// Geometry is in key units: a letter key is 1 x 1. Row 0 is the function-key
// row, row 5 the space-bar row; x runs from the left edge of Esc. The editing
// block starts at x = 15.25 and the numeric keypad at x = 18.5. Enter and the
// keypad's + and Enter are two rows high (height 2, starting in the upper row);
// the main Enter is L-shaped (see Key::lowerInset).
#pragma once

#include <span>
#include <string_view>

namespace hayate::jis {

enum class Zone {
    Main,      // the typing keys, Esc and the modifiers
    Function,  // F1..F12, Print Screen, Scroll Lock, Pause
    Editing,   // Insert..Page Down and the arrows
    Keypad,    // the numeric keypad
};

struct Key {
    int id = 0;           // 0..108, stable: stored nowhere, but tests and the screen rely on it
    int row = 0;          // 0..5
    double x = 0.0;       // left edge, key units
    double width = 1.0;   // key units
    double height = 1.0;  // rows
    Zone zone = Zone::Main;
    std::string_view name;  // legend of a key without a character, Shift-JIS ("Tab", "変換")
    char base = 0;          // the character typed without Shift, 0 for none
    char shifted = 0;       // with Shift, 0 for none
    std::string_view kana;  // the kana legend, one half-width katakana byte (Shift-JIS), or empty
    // Enter is an L: its lower row starts this much further right (0.25);
    // 0 for every rectangular key.
    double lowerInset = 0.0;

    bool typesCharacters() const { return base != 0 || shifted != 0; }
};

inline constexpr int kKeyCount = 109;

// Every key, ordered by id (keys()[i].id == i).
std::span<const Key> keys();

// The key with `id`, or null.
const Key* keyById(int id);

// The key that types the byte `c` in the ASCII layout (with or without
// Shift; letters in either case), or -1. The backslash, which Shift-JIS shows
// as the yen sign, is the ¥ key. A half-width kana byte (A1..DF) is the key
// that types it on the JIS kana layout.
int keyIdForByte(unsigned char c);

// Whether `c` needs Shift on this layout (upper-case letters count as not:
// the trainer ignores case unless told otherwise).
bool needsShift(unsigned char c);

// The key for the first character of `sjisCharacter`: an ASCII byte, a
// full-width letter, digit or symbol (typed as its ASCII form), or a
// half-width katakana (its kana legend); -1 otherwise.
int keyIdForCharacter(std::string_view sjisCharacter);

// Ids of a few keys that the code names.
inline constexpr int kSpaceKeyId = 97;
inline constexpr int kEnterKeyId = 51;

}  // namespace hayate::jis
