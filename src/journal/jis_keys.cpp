#include "journal/jis_keys.h"

#include <array>
#include <string>

#include "platform/file_names.h"
#include "text/jis_kana_layout.h"
#include "text/sjis.h"

namespace hayate::jis {

namespace {

// id, row, x, width, height, zone, name, base, shifted, kana, lower inset; the
// legends as they read, in UTF-8.
constexpr Key kKeys[] = {
    {0, 0, 0.0, 1.0, 1.0, Zone::Main, "Esc", 0, 0, {}},
    {1, 0, 2.0, 1.0, 1.0, Zone::Function, "F1", 0, 0, {}},
    {2, 0, 3.0, 1.0, 1.0, Zone::Function, "F2", 0, 0, {}},
    {3, 0, 4.0, 1.0, 1.0, Zone::Function, "F3", 0, 0, {}},
    {4, 0, 5.0, 1.0, 1.0, Zone::Function, "F4", 0, 0, {}},
    {5, 0, 6.5, 1.0, 1.0, Zone::Function, "F5", 0, 0, {}},
    {6, 0, 7.5, 1.0, 1.0, Zone::Function, "F6", 0, 0, {}},
    {7, 0, 8.5, 1.0, 1.0, Zone::Function, "F7", 0, 0, {}},
    {8, 0, 9.5, 1.0, 1.0, Zone::Function, "F8", 0, 0, {}},
    {9, 0, 11.0, 1.0, 1.0, Zone::Function, "F9", 0, 0, {}},
    {10, 0, 12.0, 1.0, 1.0, Zone::Function, "F10", 0, 0, {}},
    {11, 0, 13.0, 1.0, 1.0, Zone::Function, "F11", 0, 0, {}},
    {12, 0, 14.0, 1.0, 1.0, Zone::Function, "F12", 0, 0, {}},
    {13, 0, 15.25, 1.0, 1.0, Zone::Function, "PrtSc", 0, 0, {}},
    {14, 0, 16.25, 1.0, 1.0, Zone::Function, "ScrLk", 0, 0, {}},
    {15, 0, 17.25, 1.0, 1.0, Zone::Function, "Pause", 0, 0, {}},
    {16, 1, 0.0, 1.0, 1.0, Zone::Main, "半角/全角", 0, 0, {}},
    {17, 1, 1.0, 1.0, 1.0, Zone::Main, {}, '1', '!', "ﾇ"},
    {18, 1, 2.0, 1.0, 1.0, Zone::Main, {}, '2', '"', "ﾌ"},
    {19, 1, 3.0, 1.0, 1.0, Zone::Main, {}, '3', '#', "ｱ"},
    {20, 1, 4.0, 1.0, 1.0, Zone::Main, {}, '4', '$', "ｳ"},
    {21, 1, 5.0, 1.0, 1.0, Zone::Main, {}, '5', '%', "ｴ"},
    {22, 1, 6.0, 1.0, 1.0, Zone::Main, {}, '6', '&', "ｵ"},
    {23, 1, 7.0, 1.0, 1.0, Zone::Main, {}, '7', '\'', "ﾔ"},
    {24, 1, 8.0, 1.0, 1.0, Zone::Main, {}, '8', '(', "ﾕ"},
    {25, 1, 9.0, 1.0, 1.0, Zone::Main, {}, '9', ')', "ﾖ"},
    {26, 1, 10.0, 1.0, 1.0, Zone::Main, {}, '0', 0, "ﾜ"},
    {27, 1, 11.0, 1.0, 1.0, Zone::Main, {}, '-', '=', "ﾎ"},
    {28, 1, 12.0, 1.0, 1.0, Zone::Main, {}, '^', '~', "ﾍ"},
    {29, 1, 13.0, 1.0, 1.0, Zone::Main, "\\", '\\', '|', "ｰ"},
    {30, 1, 14.0, 1.0, 1.0, Zone::Main, "BS", 0, 0, {}},
    {31, 1, 15.25, 1.0, 1.0, Zone::Editing, "Ins", 0, 0, {}},
    {32, 1, 16.25, 1.0, 1.0, Zone::Editing, "Home", 0, 0, {}},
    {33, 1, 17.25, 1.0, 1.0, Zone::Editing, "PgUp", 0, 0, {}},
    {34, 1, 18.5, 1.0, 1.0, Zone::Keypad, "Num", 0, 0, {}},
    {35, 1, 19.5, 1.0, 1.0, Zone::Keypad, {}, '/', 0, {}},
    {36, 1, 20.5, 1.0, 1.0, Zone::Keypad, {}, '*', 0, {}},
    {37, 1, 21.5, 1.0, 1.0, Zone::Keypad, {}, '-', 0, {}},
    {38, 2, 0.0, 1.5, 1.0, Zone::Main, "Tab", 0, 0, {}},
    {39, 2, 1.5, 1.0, 1.0, Zone::Main, {}, 'q', 'Q', "ﾀ"},
    {40, 2, 2.5, 1.0, 1.0, Zone::Main, {}, 'w', 'W', "ﾃ"},
    {41, 2, 3.5, 1.0, 1.0, Zone::Main, {}, 'e', 'E', "ｲ"},
    {42, 2, 4.5, 1.0, 1.0, Zone::Main, {}, 'r', 'R', "ｽ"},
    {43, 2, 5.5, 1.0, 1.0, Zone::Main, {}, 't', 'T', "ｶ"},
    {44, 2, 6.5, 1.0, 1.0, Zone::Main, {}, 'y', 'Y', "ﾝ"},
    {45, 2, 7.5, 1.0, 1.0, Zone::Main, {}, 'u', 'U', "ﾅ"},
    {46, 2, 8.5, 1.0, 1.0, Zone::Main, {}, 'i', 'I', "ﾆ"},
    {47, 2, 9.5, 1.0, 1.0, Zone::Main, {}, 'o', 'O', "ﾗ"},
    {48, 2, 10.5, 1.0, 1.0, Zone::Main, {}, 'p', 'P', "ｾ"},
    {49, 2, 11.5, 1.0, 1.0, Zone::Main, {}, '@', '`', "ﾞ"},
    {50, 2, 12.5, 1.0, 1.0, Zone::Main, {}, '[', '{', "ﾟ"},
    {51, 2, 13.5, 1.5, 2.0, Zone::Main, "Enter", 0, 0, {}, 0.25},
    {52, 2, 15.25, 1.0, 1.0, Zone::Editing, "Del", 0, 0, {}},
    {53, 2, 16.25, 1.0, 1.0, Zone::Editing, "End", 0, 0, {}},
    {54, 2, 17.25, 1.0, 1.0, Zone::Editing, "PgDn", 0, 0, {}},
    {55, 2, 18.5, 1.0, 1.0, Zone::Keypad, {}, '7', 0, {}},
    {56, 2, 19.5, 1.0, 1.0, Zone::Keypad, {}, '8', 0, {}},
    {57, 2, 20.5, 1.0, 1.0, Zone::Keypad, {}, '9', 0, {}},
    {58, 2, 21.5, 1.0, 2.0, Zone::Keypad, {}, '+', 0, {}},
    {59, 3, 0.0, 1.75, 1.0, Zone::Main, "英数", 0, 0, {}},
    {60, 3, 1.75, 1.0, 1.0, Zone::Main, {}, 'a', 'A', "ﾁ"},
    {61, 3, 2.75, 1.0, 1.0, Zone::Main, {}, 's', 'S', "ﾄ"},
    {62, 3, 3.75, 1.0, 1.0, Zone::Main, {}, 'd', 'D', "ｼ"},
    {63, 3, 4.75, 1.0, 1.0, Zone::Main, {}, 'f', 'F', "ﾊ"},
    {64, 3, 5.75, 1.0, 1.0, Zone::Main, {}, 'g', 'G', "ｷ"},
    {65, 3, 6.75, 1.0, 1.0, Zone::Main, {}, 'h', 'H', "ｸ"},
    {66, 3, 7.75, 1.0, 1.0, Zone::Main, {}, 'j', 'J', "ﾏ"},
    {67, 3, 8.75, 1.0, 1.0, Zone::Main, {}, 'k', 'K', "ﾉ"},
    {68, 3, 9.75, 1.0, 1.0, Zone::Main, {}, 'l', 'L', "ﾘ"},
    {69, 3, 10.75, 1.0, 1.0, Zone::Main, {}, ';', '+', "ﾚ"},
    {70, 3, 11.75, 1.0, 1.0, Zone::Main, {}, ':', '*', "ｹ"},
    {71, 3, 12.75, 1.0, 1.0, Zone::Main, {}, ']', '}', "ﾑ"},
    {72, 3, 18.5, 1.0, 1.0, Zone::Keypad, {}, '4', 0, {}},
    {73, 3, 19.5, 1.0, 1.0, Zone::Keypad, {}, '5', 0, {}},
    {74, 3, 20.5, 1.0, 1.0, Zone::Keypad, {}, '6', 0, {}},
    {75, 4, 0.0, 2.25, 1.0, Zone::Main, "Shift", 0, 0, {}},
    {76, 4, 2.25, 1.0, 1.0, Zone::Main, {}, 'z', 'Z', "ﾂ"},
    {77, 4, 3.25, 1.0, 1.0, Zone::Main, {}, 'x', 'X', "ｻ"},
    {78, 4, 4.25, 1.0, 1.0, Zone::Main, {}, 'c', 'C', "ｿ"},
    {79, 4, 5.25, 1.0, 1.0, Zone::Main, {}, 'v', 'V', "ﾋ"},
    {80, 4, 6.25, 1.0, 1.0, Zone::Main, {}, 'b', 'B', "ｺ"},
    {81, 4, 7.25, 1.0, 1.0, Zone::Main, {}, 'n', 'N', "ﾐ"},
    {82, 4, 8.25, 1.0, 1.0, Zone::Main, {}, 'm', 'M', "ﾓ"},
    {83, 4, 9.25, 1.0, 1.0, Zone::Main, {}, ',', '<', "ﾈ"},
    {84, 4, 10.25, 1.0, 1.0, Zone::Main, {}, '.', '>', "ﾙ"},
    {85, 4, 11.25, 1.0, 1.0, Zone::Main, {}, '/', '?', "ﾒ"},
    {86, 4, 12.25, 1.0, 1.0, Zone::Main, "＼", '\\', '_', "ﾛ"},
    {87, 4, 13.25, 1.75, 1.0, Zone::Main, "Shift", 0, 0, {}},
    {88, 4, 16.25, 1.0, 1.0, Zone::Editing, "↑", 0, 0, {}},
    {89, 4, 18.5, 1.0, 1.0, Zone::Keypad, {}, '1', 0, {}},
    {90, 4, 19.5, 1.0, 1.0, Zone::Keypad, {}, '2', 0, {}},
    {91, 4, 20.5, 1.0, 1.0, Zone::Keypad, {}, '3', 0, {}},
    {92, 4, 21.5, 1.0, 2.0, Zone::Keypad, "Enter", 0, 0, {}},
    {93, 5, 0.0, 1.25, 1.0, Zone::Main, "Ctrl", 0, 0, {}},
    {94, 5, 1.25, 1.25, 1.0, Zone::Main, "Win", 0, 0, {}},
    {95, 5, 2.5, 1.25, 1.0, Zone::Main, "Alt", 0, 0, {}},
    {96, 5, 3.75, 1.25, 1.0, Zone::Main, "無変換", 0, 0, {}},
    {97, 5, 5.0, 2.5, 1.0, Zone::Main, "Space", ' ', 0, {}},
    {98, 5, 7.5, 1.25, 1.0, Zone::Main, "変換", 0, 0, {}},
    {99, 5, 8.75, 1.25, 1.0, Zone::Main, "カタカナ", 0, 0, {}},
    {100, 5, 10.0, 1.25, 1.0, Zone::Main, "Alt", 0, 0, {}},
    {101, 5, 11.25, 1.25, 1.0, Zone::Main, "Win", 0, 0, {}},
    {102, 5, 12.5, 1.25, 1.0, Zone::Main, "Menu", 0, 0, {}},
    {103, 5, 13.75, 1.25, 1.0, Zone::Main, "Ctrl", 0, 0, {}},
    {104, 5, 15.25, 1.0, 1.0, Zone::Editing, "←", 0, 0, {}},
    {105, 5, 16.25, 1.0, 1.0, Zone::Editing, "↓", 0, 0, {}},
    {106, 5, 17.25, 1.0, 1.0, Zone::Editing, "→", 0, 0, {}},
    {107, 5, 18.5, 2.0, 1.0, Zone::Keypad, {}, '0', 0, {}},
    {108, 5, 20.5, 1.0, 1.0, Zone::Keypad, {}, '.', 0, {}},
};
static_assert(std::size(kKeys) == kKeyCount);

// The keys as the core hands them out: legends in Shift-JIS.
struct Legends {
    std::array<std::string, kKeyCount> names;
    std::array<std::string, kKeyCount> kana;
    std::array<Key, kKeyCount> keys;

    Legends() {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            keys[i] = kKeys[i];
            names[i] = sjisFromUtf8(kKeys[i].name).value_or("?");
            kana[i] = sjisFromUtf8(kKeys[i].kana).value_or("?");
            keys[i].name = names[i];
            keys[i].kana = kana[i];
        }
    }
    Legends(const Legends&) = delete;
    Legends& operator=(const Legends&) = delete;
};

const Legends& legends() {
    static const Legends table;
    return table;
}

struct Lookup {
    std::array<signed char, 256> byByte{};  // key id per byte; -1 none
    std::array<bool, 256> shift{};
    std::array<unsigned char, 0x10000> fullWidth{};  // ASCII byte per two-byte code, 0 none

    Lookup() {
        byByte.fill(-1);
        // The main block first: the keypad's digits and symbols are not the
        // keys a learner is meant to use.
        for (Zone zone : {Zone::Main, Zone::Keypad}) {
            for (const Key& k : legends().keys) {
                if (k.zone != zone) continue;
                set(k.base, k.id, false);
                set(k.shifted, k.id, true);
                if (!k.kana.empty()) set(k.kana[0], k.id, false);
            }
        }
        for (int c = 0x21; c <= 0x7E; ++c) {
            const unsigned code = sjisCodeFor(static_cast<char32_t>(0xFF00 + (c - 0x20)));
            if (code != 0) fullWidth[code] = static_cast<unsigned char>(c);
        }
        fullWidth[0x8140] = ' ';   // the full-width space of the space cells
        fullWidth[0x818F] = '\\';  // ￥
    }

    void set(char c, int id, bool shifted) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0 || byByte[b] >= 0) return;
        byByte[b] = static_cast<signed char>(id);
        shift[b] = shifted;
    }
};

const Lookup& lookup() {
    static const Lookup table;
    return table;
}

}  // namespace

std::span<const Key> keys() { return legends().keys; }

const Key* keyById(int id) {
    return id >= 0 && id < kKeyCount ? &legends().keys[static_cast<std::size_t>(id)] : nullptr;
}

int keyIdForByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    // A kana byte is the key of the kana layout that typed it: the key whose
    // unshifted kana is printed on it, which for ぁ or 「 is that of あ or ゜.
    if (const KanaStroke stroke = strokeOfByte(c); stroke.keycode != 0)
        c = kanaByteOfKey({stroke.keycode, false});
    return lookup().byByte[c];
}

bool needsShift(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return false;
    if (const KanaStroke stroke = strokeOfByte(c); stroke.keycode != 0) return stroke.shift;
    return lookup().shift[c];
}

int keyIdForCharacter(std::string_view sjisCharacter) {
    if (sjisCharacter.empty()) return -1;
    const auto lead = static_cast<unsigned char>(sjisCharacter[0]);
    if (!isLeadByte(lead)) return keyIdForByte(lead);
    if (sjisCharacter.size() < 2) return -1;
    const unsigned code = lead * 256u + static_cast<unsigned char>(sjisCharacter[1]);
    const unsigned char ascii = lookup().fullWidth[code];
    return ascii != 0 ? keyIdForByte(ascii) : -1;
}

}  // namespace hayate::jis
