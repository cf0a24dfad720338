#include "gui/caption_fit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace hayate::gui {

namespace {

constexpr int kSmallestFont = 7;  // pixels; smaller is no longer readable

int fontPixels(const QWidget* w) {
    const QFont& f = w->font();
    return f.pixelSize() > 0 ? f.pixelSize() : QFontMetrics(f).height();
}

void setFontPixels(QWidget* w, int pixels) {
    QFont f = w->font();
    f.setPixelSize(pixels);
    w->setFont(f);
    // Children that follow the parent's font (radio buttons of a group).
    for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QFont cf = child->font();
        cf.setPixelSize(pixels);
        child->setFont(cf);
    }
    if (w->layout()) w->layout()->activate();
}

}  // namespace

int captionWidth(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        const QMargins m = label->contentsMargins();
        return label->fontMetrics().horizontalAdvance(label->text()) + m.left() + m.right() +
               2 * label->margin() + (label->indent() > 0 ? label->indent() : 0);
    }
    if (auto* combo = qobject_cast<const QComboBox*>(w)) {
        int text = 0;
        for (int i = 0; i < std::min(combo->count(), 5); ++i)
            text = std::max(text, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        return combo->style()
            ->sizeFromContents(QStyle::CT_ComboBox, &opt, QSize(text, combo->fontMetrics().height()),
                               combo)
            .width();
    }
    if (auto* button = qobject_cast<const QPushButton*>(w)) {
        // The style's own minimum button width is no part of the caption.
        return button->fontMetrics().horizontalAdvance(button->text()) + 12;
    }
    if (qobject_cast<const QGroupBox*>(w) || qobject_cast<const QAbstractButton*>(w))
        return w->minimumSizeHint().width();
    return 0;
}

int captionHeight(const QWidget* w) {
    if (qobject_cast<const QGroupBox*>(w)) return w->minimumSizeHint().height();
    if (qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w))
        return w->fontMetrics().height();
    const QMargins m = w->contentsMargins();
    return w->fontMetrics().height() + m.top() + m.bottom();
}

bool captionFits(const QWidget* w) {
    return captionWidth(w) <= w->width() && captionHeight(w) <= w->height();
}

void tightenGroup(QWidget* group) {
    QLayout* layout = group->layout();
    if (!layout || captionWidth(group) <= group->width()) return;
    const QMargins m = layout->contentsMargins();
    layout->setContentsMargins(4, m.top(), 4, m.bottom());
    layout->setSpacing(2);
    layout->activate();
}

void shrinkToFit(QWidget* w) {
    for (int px = fontPixels(w); !captionFits(w) && px > kSmallestFont;) setFontPixels(w, --px);
}

void fitCaptions(const CaptionRow& row) {
    for (QWidget* w : row.controls) {
        tightenGroup(w);
        const int needed = captionWidth(w);
        const bool fixed =
            std::find(row.fixedWidth.begin(), row.fixedWidth.end(), w) != row.fixedWidth.end();
        if (needed > w->width() && !fixed) {
            const QRect box = w->geometry();
            int limit = row.parentWidth - row.gap;
            for (QWidget* other : row.controls) {
                const QRect o = other->geometry();
                const bool sameRows = o.top() <= box.bottom() && o.bottom() >= box.top();
                if (other != w && sameRows && o.left() > box.left())
                    limit = std::min(limit, o.left() - row.gap);
            }
            const int width = std::min(needed, limit - box.left());
            if (width > box.width()) w->resize(width, box.height());
        }
        // A group of two rows may take the free room below it.
        const int tall = captionHeight(w);
        if (tall > w->height() && qobject_cast<QGroupBox*>(w) && w->parentWidget()) {
            const QRect box = w->geometry();
            int limit = w->parentWidget()->height() - row.gap;
            for (QWidget* other : row.controls) {
                const QRect o = other->geometry();
                const bool sameColumns = o.left() <= box.right() && o.right() >= box.left();
                if (other != w && sameColumns && o.top() > box.top())
                    limit = std::min(limit, o.top() - row.gap);
            }
            const int height = std::min(tall, limit - box.top());
            if (height > box.height()) w->resize(box.width(), height);
        }
        // Measured once more only when it still does not fit.
        if (needed > w->width() || tall > w->height()) shrinkToFit(w);
    }
}

void fitStatusPanels(QStatusBar* bar, int width, const std::vector<QLabel*>& panels,
                     const std::vector<int>& designWidths, const std::vector<QString>& widestTexts,
                     int stretch, const std::vector<QString>& badges) {
    const std::size_t n = panels.size();
    const int spacing = std::max(4, bar->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
    const int room = width - 8;
    std::vector<int> text(n), chosen(n);
    for (int px = fontPixels(panels.front());; --px) {
        int designTotal = 0, textTotal = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const QMargins m = panels[i]->contentsMargins();
            text[i] = panels[i]->fontMetrics().horizontalAdvance(widestTexts[i]) + m.left() +
                      m.right() + 4;
            if (i < badges.size() && !badges[i].isEmpty())
                text[i] += panels[i]->fontMetrics().horizontalAdvance(badges[i]) + kBadgePadding;
            designTotal += std::max(designWidths[i], text[i]) + spacing;
            textTotal += text[i] + spacing;
        }
        // The design widths where they fit, else each panel as wide as its
        // text, else a smaller font.
        const bool design = designTotal <= room;
        for (std::size_t i = 0; i < n; ++i)
            chosen[i] = design ? std::max(designWidths[i], text[i]) : text[i];
        if (design || textTotal <= room || px <= kSmallestFont) break;
        for (QLabel* p : panels) {
            QFont f = p->font();
            f.setPixelSize(px - 1);
            p->setFont(f);
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (static_cast<int>(i) == stretch) {
            panels[i]->setMinimumWidth(chosen[i]);
        } else {
            panels[i]->setFixedWidth(chosen[i]);
        }
    }
}

}  // namespace hayate::gui
