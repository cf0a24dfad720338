// Whole captions on every screen: the layout scales boxes and fonts by
// factors, but a font's real glyphs are wider or narrower than the design's,
// so each control is measured and, where its caption does not fit, widened
// into the free room beside it or else given a smaller font.
#pragma once

#include <QString>
#include <vector>

class QWidget;
class QLabel;
class QStatusBar;

namespace hayate::gui {

// Width the control needs to show its whole caption (a label's text, a
// button's or radio button's caption, a group with its buttons and title, a
// combo box's longest item).
int captionWidth(const QWidget* control);
// Height its text needs.
int captionHeight(const QWidget* control);
bool captionFits(const QWidget* control);

// Controls shown side by side in one parent. Each control that is too narrow
// grows to the right up to `gap` pixels before the next control whose rows it
// shares (or the parent's edge); where that is not enough its font shrinks.
// `fixedWidth` controls never grow (their place is a published figure).
struct CaptionRow {
    std::vector<QWidget*> controls;
    std::vector<QWidget*> fixedWidth;
    int parentWidth = 0;
    int gap = 4;
};
void fitCaptions(const CaptionRow& row);

// Tightens a radio group's inner margins and spacing before anything else.
void tightenGroup(QWidget* group);

// A label's text made whole by shrinking its font; it keeps its box.
void shrinkToFit(QWidget* control);

// Status panels: each as wide as its widest text (at least its design
// width); when the panels together are wider than the bar, all of them take
// a smaller font. Panel `stretch` takes what is left. `width` is the bar's.
// `badges` (by panel, may be short) are framed labels shown inside a panel
// beside its text, each kBadgePadding wider than its own text.
constexpr int kBadgePadding = 12;
void fitStatusPanels(QStatusBar* bar, int width, const std::vector<QLabel*>& panels,
                     const std::vector<int>& designWidths, const std::vector<QString>& widestTexts,
                     int stretch, const std::vector<QString>& badges = {});

}  // namespace hayate::gui
