// Qt's own dialogs in Japanese, like the rest of the program.
#pragma once

class QFileDialog;

namespace hayate::gui {

// Loads Qt's Japanese texts (file dialogs, input boxes, standard buttons)
// from the system's Qt translations (Debian: qt6-translations-l10n). False
// when they are not installed; Qt then keeps its English texts.
bool installQtJapanese();

// Sizes a file dialog of Qt's own so that its name, size, type and date
// columns all show.
void fitFileDialog(QFileDialog& dialog);

}  // namespace hayate::gui
