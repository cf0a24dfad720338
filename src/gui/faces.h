// The faces the window asks for by their classic names (ＭＳ 明朝, ＭＳ ゴシック),
// which most systems do not have.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace hayate::gui {

// `requested` as Qt is best asked for it. Unchanged where its first face is
// installed (or nothing that could stand in for it is). Otherwise the face
// Qt would settle on, the first installed one of the other requested faces
// and the substitutes of all of them, comes first, followed by all of those
// in Qt's order: Qt takes the same face and falls back on the same faces
// for missing glyphs, but no longer looks the missing face up again for
// every script and size, each time with fontconfig sorts it throws away.
QStringList installedFaces(const QStringList& requested);

// The window's faces are drawn without hinting, as Qt draws every face on a
// scaled screen anyway. Under the usual light hinting FreeType's auto-hinter
// analyses each IPA face (they carry next to no instructions of their own)
// and every glyph, twice: the largest single cost before the first frame.
// Advances and line heights are those of light hinting; ink bounds may end
// a pixel lower.
inline constexpr QFont::HintingPreference windowHinting = QFont::PreferNoHinting;

// A font of the face `requested`, asked for as above, drawn as the window's
// faces are.
QFont face(const QString& requested);

}  // namespace hayate::gui
