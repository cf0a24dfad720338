#include "gui/cell_font.h"

#include <QFontMetrics>
#include <algorithm>

namespace hayate::gui {

QStringList cellFontFamilies() {
    return {QStringLiteral(u"ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
            QStringLiteral("IPAGothic")};
}

QFont cellFont(int pixelSize, bool bold) {
    QFont f;
    f.setFamilies(cellFontFamilies());
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

int emBoxRaise(const QFont& font) {
    const QFontMetrics fm(font);
    // 0.88 em above the baseline is the top of a CJK em box.
    const int emAscent = (font.pixelSize() * 88 + 50) / 100;
    return std::max(0, fm.ascent() - emAscent);
}

}  // namespace hayate::gui
