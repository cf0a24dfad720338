#include "gui/cell_font.h"

#include <QFontMetrics>
#include <algorithm>

#include "app/screen_fit.h"
#include "gui/faces.h"

namespace hayate::gui {

QStringList cellFontFamilies() {
    return {faceName(Face::Gothic), QStringLiteral("Noto Sans Mono CJK JP"),
            QStringLiteral("IPAGothic")};
}

QFont cellFont(int pixelSize, bool bold) {
    QFont f;
    f.setFamilies(cellFontFamilies());
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

int cellFontPixels(int points, int narrowestCell) {
    return std::max(1, std::min(pointsToPixels(points), narrowestCell - 1));
}

QFont headerFont(int pixelSize) {
    QFont f = face(Face::Gothic);
    f.setPixelSize(pixelSize);
    return f;
}

QFont fitCellFontToRow(QFont font, int rowHeight, int offset) {
    static const QString lowest = QString::fromUtf16(u"ｇｊＱ＿ｙｐ（ぼ");
    for (int px = font.pixelSize(); px > 1; --px) {
        font.setPixelSize(px);
        const QFontMetrics fm(font);
        const int lastInk =
            offset - emBoxRaise(font) + fm.ascent() + fm.tightBoundingRect(lowest).bottom();
        if (lastInk < rowHeight - 1) break;
    }
    return font;
}

int emBoxRaise(const QFont& font) {
    const QFontMetrics fm(font);
    // 0.88 em above the baseline is the top of a CJK em box.
    const int emAscent = (font.pixelSize() * 88 + 50) / 100;
    return std::max(0, fm.ascent() - emAscent);
}

}  // namespace hayate::gui
