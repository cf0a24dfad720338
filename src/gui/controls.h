// Small pieces every view builds its controls from: labels and radio groups
// as the window draws them, placing by the layout, colours of the core, and
// the key handling every grid and button shares.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "app/layout.h"
#include "exercise/colour.h"
#include "gui/key_mapping.h"

class QButtonGroup;
class QEvent;
class QGroupBox;
class QLabel;
class QWidget;

namespace hayate::gui {

class GridWidget;

QLabel* makeLabel(const char* name, const QString& text, QWidget* parent);
QGroupBox* makeRadioGroup(const char* name, const QString& caption, const QStringList& items,
                          QButtonGroup** group, QWidget* parent);

QColor toQColor(Colour colour);
void setTextColour(QLabel* label, Colour colour);

// Box and font of the layout; a group's buttons follow its font.
void placeControl(const PlacedControl& place, QWidget* widget);

// A 41 x 51 cell grid (practice or editor) in its place, with the columns,
// rows and font the layout gives it.
void placeCellGrid(GridWidget* grid, const QRect& place, const GridMetrics& metrics,
                   int fontPoints);

// Keys must arrive as plain characters, not through the input method.
void closeInputMethod();

// A grid takes plain keys before menu shortcuts do; true when `event` was
// such a shortcut override (it is then accepted).
bool claimPlainKeys(QEvent* event);

// The Windows key of a key press; null for any other event.
std::optional<WinKey> pressedKey(const QEvent* event);

}  // namespace hayate::gui
