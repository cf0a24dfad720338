// The readings of a text before it goes into the editor grid: the original
// and its readings side by side, word by word, for the user to check and
// correct; and the dialog that takes a pasted text instead of a file.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "problems/reading_import.h"
#include "reading/reading_service.h"
#include "text/char_tables.h"

class QPlainTextEdit;
class QTableWidget;

namespace hayate::gui {

class ReadingPreviewDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ReadingPreviewDialog(ReadingLines lines, QWidget* parent = nullptr);

    // The words with the readings as the user left them; a reading typed in
    // katakana counts as its hiragana.
    ReadingLines confirmedLines() const;

    QTableWidget* table() const { return table_; }
    static constexpr int kSurfaceColumn = 1;
    static constexpr int kReadingColumn = 2;

  private:
    ReadingLines lines_;
    // Line and word of each table row; white space has no row.
    std::vector<std::pair<std::size_t, std::size_t>> rows_;
    QTableWidget* table_;
};

// 問題 › テキストから作成: a text pasted or typed in.
class TextPasteDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TextPasteDialog(QWidget* parent = nullptr);

    // The text as UTF-8, the way an import takes a file's bytes.
    std::string utf8Text() const;
    QPlainTextEdit* editor() const { return editor_; }

  private:
    QPlainTextEdit* editor_;
};

struct ReadingImportRun {
    enum class Result {
        Plain,      // the plain import goes on as it always did
        Cancelled,  // the user closed the preview: the grid stays as it is
        Filled,     // `characters` go into the grid
    };
    Result result = Result::Plain;
    std::vector<std::string> characters;
    // For an information box after the import, when not empty: why kanji
    // were left out (once a run), or how much of a long text was taken.
    QString notice;
};

using PreviewConfirm = std::function<bool(ReadingPreviewDialog&)>;

// The import with readings of a file's bytes, or of a pasted text in
// UTF-8. Only the romaji kind reads kanji and katakana, and only a text
// holding some; everything else, an empty text and no text at all, takes
// the plain import. `confirm` shows the preview, by default modally.
ReadingImportRun runReadingImport(QWidget* parent, ReadingService& readings,
                                  const CharTables& tables, int kind, std::string_view bytes,
                                  const PreviewConfirm& confirm = {});

}  // namespace hayate::gui
