// One conversion of a whole text through an open iconv descriptor, shared by
// the file names' strict conversions and the import's converter (not on
// Windows, which converts with its own calls).
#pragma once

#if !defined(_WIN32)

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace hayate {

// Nothing when a byte is invalid or a character has no exact counterpart:
// iconv's own substitute would lose the character.
std::optional<std::string> convertWhole(iconv_t cd, std::string_view in);

}  // namespace hayate

#endif
