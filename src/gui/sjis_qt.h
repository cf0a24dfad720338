// Shift-JIS bytes of the core to and from Qt strings. Only the window
// converts; the core keeps bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "text/user_texts.h"

namespace hayate::gui {

// 5C and 7E stay backslash and tilde, as code page 932 has them.
QString toQt(std::string_view sjis);
std::string toSjis(const QString& text);

// The longest start of `text` that takes at most `maxBytes` bytes in
// Shift-JIS, never cutting a character (nor a surrogate pair) in two.
QString cutToSjisBytes(const QString& text, std::size_t maxBytes);

// A text of the program's table, as the table writes it.
QString qtText(UserText text);

}  // namespace hayate::gui
