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

// How the window's faces are drawn: as designed, without hinting, as Qt
// draws every face on a scaled screen anyway. At 100 % the desktop's usual
// light hinting sends the faces through FreeType's auto-hinter (the IPA
// faces carry next to no instructions of their own), which analyses each
// face and every glyph, twice, as Qt loads a glyph once for its advance and
// once to draw it: the largest single cost of the first frame, for
// horizontal strokes a shade crisper at 13 px. Advances are the same either
// way (light hinting lays text out by design metrics too).
inline constexpr QFont::HintingPreference windowHinting = QFont::PreferNoHinting;

// A font of the face `requested`, asked for as above, drawn as the window's
// faces are.
QFont face(const QString& requested);

}  // namespace hayate::gui
