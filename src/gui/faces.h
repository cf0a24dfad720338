// The faces the window asks for by their classic names (ＭＳ 明朝, ＭＳ ゴシック),
// which most systems do not have: Qt's font substitution (installed by
// installFontSubstitutes()) puts installed Japanese faces in their place.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace hayate::gui {

enum class Face { Mincho, Gothic, PGothic };

QString faceName(Face which);
QFont face(Face which);

}  // namespace hayate::gui
