// The faces the window asks for by their classic names (ＭＳ 明朝, ＭＳ ゴシック),
// which most systems do not have: Qt's font substitution (installed by
// installFontSubstitutes()) puts installed Japanese faces in their place.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace hayate::gui {

QFont face(const QString& requested);

}  // namespace hayate::gui
