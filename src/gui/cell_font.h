// The face of the practice and editor cells. The courses tell Ｉ from ｌ,
// ｜ and １, Ｏ from ０, ー from －, and ‘ from ’ and ｀; where the requested
// face is missing, the fallback must draw those differently too, or the
// user is charged with misses he cannot avoid.
#pragma once

#include <QFont>
#include <QStringList>

namespace hayate::gui {

// The requested face first where the user has it, then Noto Sans Mono CJK JP
// (Debian's fonts-noto-cjk), whose full-width letters carry serifs and whose
// long-vowel mark and minus differ; IPA Gothic after it.
QStringList cellFontFamilies();
QFont cellFont(int pixelSize, bool bold);

// Pixel size of a cell font of `points`: a full-width glyph is one em wide,
// so the em stays a pixel narrower than the narrowest cell, or the glyph's
// right side would be cut off by its neighbour.
int cellFontPixels(int points, int narrowestCell);

// The column and row numbers: digits only, so the window's own gothic face,
// which is loaded anyway, rather than a second one before the first frame.
QFont headerFont(int pixelSize);

// `font` at the largest pixel size up to its own whose lowest strokes (ｇ, ｊ,
// Ｑ, ＿) stay inside a row `rowHeight` high when the em box's top is drawn
// `offset` pixels below the row's top: the faces differ in how far below the
// em box their descenders reach.
QFont fitCellFontToRow(QFont font, int rowHeight, int offset);

// A cell's text is placed by the top of its em box, as the face it was drawn
// for has it. Faces with a taller ascent than their em box (Noto's CJK
// faces reach 1.16 em above the baseline for 0.88 em of em box) would sit
// that much lower; this is how many pixels to raise them.
int emBoxRaise(const QFont& font);

}  // namespace hayate::gui
