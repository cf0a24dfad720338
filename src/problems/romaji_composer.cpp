#include "problems/romaji_composer.h"

#include "text/sjis.h"
#include "text/width_conversion.h"

namespace hayate {

namespace {

bool isLowerLetter(unsigned char c) { return c >= 'a' && c <= 'z'; }

// Letters that may follow an "n" without making it ん by themselves.
bool continuesN(unsigned char c) {
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o' || c == 'y';
}

}  // namespace

const std::string* RomajiComposer::kanaOf(std::string_view romaji) const {
    if (extended_) {
        if (const std::string* kana = extended_->kanaFor(romaji)) return kana;
    }
    int row = 0;
    const int k = romajiIndexOf(tables_, romaji, row);
    return k >= 0 ? &tables_.kana(k) : nullptr;
}

std::string RomajiComposer::type(unsigned char ch) {
    // A byte that cannot become a full-width character would leave a half cell
    // behind; it never joins the pending romaji either.
    if (ch < 0x20 || tables_.fullWidth(ch).size() != 2) return {};

    const unsigned char c = (ch >= 'A' && ch <= 'Z') ? ch - 'A' + 'a' : ch;
    pending_.push_back(static_cast<char>(c));

    if (const std::string* kana = kanaOf(pending_)) {
        std::string text = *kana;
        pending_.clear();
        return text;
    }

    const std::size_t count = pending_.size();
    if (count == 1 && !isLowerLetter(c)) {
        pending_.clear();
        if (c == ',') return sjisLiteral(u8"、");
        if (c == '.') return sjisLiteral(u8"。");
        return toFullWidth(tables_, std::string(1, static_cast<char>(c)));
    }
    if (count == 2 && pending_[0] == 'n' && !continuesN(c)) {
        pending_.assign(1, static_cast<char>(c));
        return sjisLiteral(u8"ん");
    }
    if (count < 3) return {};

    if (pending_[0] == pending_[1]) {
        if (const std::string* kana = kanaOf(std::string_view(pending_).substr(1))) {
            std::string text = sjisLiteral(u8"っ") + *kana;
            pending_.clear();
            return text;
        }
    }
    const int most = extended_ ? kMaxPendingExtended : kMaxPending;
    if (count >= static_cast<std::size_t>(most)) pending_.clear();
    return {};
}

}  // namespace hayate
