#include "gui/cell_text.h"

#include <QPainter>
#include <algorithm>

#include "gui/cell_font.h"

namespace hayate::gui {

void CellText::reset(const WindowLayout& layout) {
    layout_ = &layout;
    ready_ = 0;
    for (auto& cache : texts_) cache.clear();
}

int CellText::fontFor(bool voicedKana) const {
    return (voicedKana ? kCell2 : kCell1) + (layout_->screenWidth < 1024 ? 1 : 0);
}

// Each font is made when first drawn: before an exercise the grid shows only
// its numbers, and the cells' face need not delay the first frame.
void CellText::ensure(int font) {
    if (ready_ & (1 << font)) return;
    ready_ |= 1 << font;
    const WindowLayout& L = *layout_;
    const int sizes[] = {L.cellFontSize1, L.cellFontSize1, L.cellFontSize2, L.cellFontSize2,
                         L.cellFontSize3};
    const auto& columns = L.practice.columnWidths;
    const int narrowest = *std::min_element(columns.begin() + 1, columns.end());
    const auto k = static_cast<std::size_t>(font);
    const int pixels = cellFontPixels(sizes[k], narrowest);
    const bool header = font == kHeader;
    const QFont wanted =
        header ? headerFont(pixels) : cellFont(pixels, font == kCell1 + 1 || font == kCell2 + 1);
    fonts_[k] =
        fitCellFontToRow(wanted, L.practice.rowHeights[1], header ? L.textOffset2 : L.textOffset1);
    raise_[k] = emBoxRaise(fonts_[k]);
}

void CellText::draw(QPainter& painter, int font, const QPoint& at, const QString& text) {
    if (text.isEmpty()) return;
    ensure(font);
    const auto k = static_cast<std::size_t>(font);
    // Laid-out texts are kept: a key repaints two cells, and laying a
    // character out again each time costs more than drawing it.
    auto& cache = texts_[k];
    auto it = cache.find(text);
    if (it == cache.end()) {
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.prepare(QTransform(), fonts_[k]);
        it = cache.insert(text, st);
    }
    painter.setFont(fonts_[k]);
    painter.drawStaticText(at - QPoint(0, raise_[k]), *it);
}

}  // namespace hayate::gui
