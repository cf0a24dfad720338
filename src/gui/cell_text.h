// The texts of the practice and editor cells: their fonts, fitted to the
// layout's rows, and the laid-out texts kept for the next repaint.
#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <array>

#include "app/layout.h"

class QPainter;

namespace hayate::gui {

class CellText {
  public:
    enum Font { kCell1 = 0, kCell2 = 2, kHeader = 4, kCount = 5 };

    // Fonts and texts of an earlier layout go.
    void reset(const WindowLayout& layout);
    // Cell font size 1 or, for が..ぽ, size 2; bold on screens below 1024.
    int fontFor(bool voicedKana) const;
    void draw(QPainter& painter, int font, const QPoint& at, const QString& text);

  private:
    void ensure(int font);

    const WindowLayout* layout_ = nullptr;
    // Size 1 plain and bold, size 2 plain and bold, headers.
    std::array<QFont, kCount> fonts_;
    std::array<int, kCount> raise_{};
    int ready_ = 0;  // bit per font
    std::array<QHash<QString, QStaticText>, kCount> texts_;
};

}  // namespace hayate::gui
