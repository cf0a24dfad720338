// Any bytes as a text file to import: the first byte picks the problem kind.
// Whatever the file holds, the result fits the grid and holds only whole
// characters that the kind accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "problems/text_import.h"
#include "text/sjis.h"

namespace {
const hayate::CharTables& tables() {
    static const hayate::CharTables t = hayate::buildCharTables();
    return t;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int kind = data[0] % 4;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const hayate::ImportResult result = hayate::parseImportText(tables(), kind, bytes);
    if (result.characters.size() > hayate::kImportMaxCharacters) std::abort();
    if (result.empty && !result.characters.empty()) std::abort();
    for (const std::string& ch : result.characters) {
        if (ch.size() != 2 || !hayate::isLeadByte(static_cast<unsigned char>(ch[0]))) std::abort();
        std::string again = ch;
        if (!hayate::acceptImportCharacter(tables(), kind, again) || again != ch) std::abort();
    }
    // The converter never produces half a character either.
    const std::string converted = hayate::utf8ToShiftJis(bytes);
    for (std::size_t i = 0; i < converted.size(); i += hayate::charLengthAt(converted, i)) {
        if (hayate::isLeadByte(static_cast<unsigned char>(converted[i])) &&
            i + 1 == converted.size())
            std::abort();
    }
    return 0;
}
