#include "problems/kana_composer.h"

namespace hayate {

KanaEdit composeKana(JisKey key, const std::string* previous) {
    const unsigned char byte = kanaByteOfKey(key);
    if (byte == 0) return {};
    if (byte == 0xDE || byte == 0xDF) {
        std::string marked = previous ? withSoundMark(*previous, byte) : std::string();
        if (marked.empty()) return {};
        return {KanaEdit::Kind::MarkPrevious, std::move(marked)};
    }
    return {KanaEdit::Kind::Place, kanaOfByte(byte)};
}

}  // namespace hayate
