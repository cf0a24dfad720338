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
// Tables with the bracket forms of each kind, as the editor keeps them.
const hayate::CharTables& tablesFor(int kind) {
    static const hayate::CharTables corner = hayate::buildCharTables();
    static const hayate::CharTables square = [] {
        hayate::CharTables t = hayate::buildCharTables();
        t.setBrackets(hayate::CharTables::Brackets::Square);
        return t;
    }();
    return kind == 1 ? corner : square;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int kind = data[0] % 4;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const hayate::ImportResult result = hayate::parseImportText(tablesFor(kind), kind, bytes);
    if (result.characters.size() > hayate::kImportMaxCharacters) std::abort();
    if (result.outcome != hayate::ImportOutcome::Filled && !result.characters.empty()) std::abort();
    for (const std::string& ch : result.characters) {
        if (ch.size() != 2 || !hayate::isLeadByte(static_cast<unsigned char>(ch[0]))) std::abort();
        std::string again = ch;
        if (!hayate::acceptImportCharacter(tablesFor(kind), kind, again) || again != ch)
            std::abort();
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
