// Fonts asked for by the installed face they resolve to.
#pragma once

#include <QFont>
#include <QStringList>

namespace hayate::gui {

// `families` (the first installed one wins, each with its substitutes) as the
// one installed face Qt picks for them, at `pixelSize`. Asking for a face
// that is not installed (ＭＳ 明朝 on Linux) makes Qt sort every font on the
// system for fallbacks again for each size and script it is used in; the
// face is found once per list and named directly after that.
QFont installedFont(const QStringList& families, int pixelSize);
QFont installedFont(const QString& family, int pixelSize);

}  // namespace hayate::gui
