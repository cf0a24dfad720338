#include "gui/reading_preview.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/sjis_qt.h"
#include "reading/kana_reading.h"

namespace hayate::gui {

namespace {

// Spaces, the full-width one included, need no reading and get no row.
bool isWhiteSpace(const std::string& sjis) { return toQt(sjis).trimmed().isEmpty(); }

// The dialog's own caption on OK, キャンセル beside it.
void addOkCancel(QDialog* dialog, QVBoxLayout* layout, const QString& okText) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(okText);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral(u"キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace

ReadingPreviewDialog::ReadingPreviewDialog(ReadingLines lines, QWidget* parent)
    : QDialog(parent), lines_(std::move(lines)), table_(new QTableWidget(this)) {
    setObjectName("ReadingPreview");
    setWindowTitle(QStringLiteral(u"読みの確認"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qtText(UserText::ReadingCheckHint), this));

    for (std::size_t l = 0; l < lines_.size(); ++l)
        for (std::size_t w = 0; w < lines_[l].size(); ++w)
            if (!isWhiteSpace(lines_[l][w].surface)) rows_.emplace_back(l, w);

    table_->setColumnCount(3);
    table_->setHorizontalHeaderLabels(
        {QStringLiteral(u"行"), QStringLiteral(u"原文"), QStringLiteral(u"読み")});
    table_->setRowCount(static_cast<int>(rows_.size()));
    table_->verticalHeader()->hide();
    const QColor unknown(255, 224, 192);
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const auto [l, w] = rows_[static_cast<std::size_t>(r)];
        const ReadingWord& word = lines_[l][w];
        auto* line = new QTableWidgetItem(QString::number(l + 1));
        auto* surface = new QTableWidgetItem(toQt(word.surface));
        auto* reading = new QTableWidgetItem(toQt(word.reading));
        line->setFlags(line->flags() & ~Qt::ItemIsEditable);
        surface->setFlags(surface->flags() & ~Qt::ItemIsEditable);
        if (word.kind == WordReading::Unknown) {
            for (auto* item : {line, surface, reading}) item->setBackground(unknown);
        }
        table_->setItem(r, 0, line);
        table_->setItem(r, kSurfaceColumn, surface);
        table_->setItem(r, kReadingColumn, reading);
    }
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kSurfaceColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kReadingColumn, QHeaderView::Stretch);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    layout->addWidget(table_);

    addOkCancel(this, layout, QStringLiteral(u"取り込む"));
    resize(560, 480);
}

ReadingLines ReadingPreviewDialog::confirmedLines() const {
    ReadingLines lines = lines_;
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const auto [l, w] = rows_[static_cast<std::size_t>(r)];
        const QString text = table_->item(r, kReadingColumn)->text();
        if (text == toQt(lines[l][w].reading)) continue;  // untouched: keep the exact bytes
        lines[l][w].reading = toSjis(QString::fromStdString(hiraganaOf(text.toStdString())));
    }
    return lines;
}

TextPasteDialog::TextPasteDialog(QWidget* parent) : QDialog(parent), editor_(new QPlainTextEdit(this)) {
    setObjectName("TextPaste");
    setWindowTitle(QStringLiteral(u"テキストから作成"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qtText(UserText::TextPasteHint), this));
    layout->addWidget(editor_);
    addOkCancel(this, layout, QStringLiteral(u"作成"));
    resize(560, 400);
}

std::string TextPasteDialog::utf8Text() const { return editor_->toPlainText().toStdString(); }

ReadingImportRun runReadingImport(QWidget* parent, ReadingService& readings,
                                  const CharTables& tables, int kind, std::string_view bytes,
                                  const PreviewConfirm& confirm) {
    ReadingImportRun run;
    if (kind != 1) return run;
    const ImportLines text = importLinesOf(bytes);
    if (text.outcome != ImportOutcome::Filled || !hasCharactersToRead(text)) return run;
    ReadingSource* source = readings.source();
    if (!source) {
        run.notice = QString::fromStdString(readings.takeNotice());
        return run;
    }
    const ReadText read = readForGrid(*source, tables, kind, text);
    ReadingPreviewDialog preview(read.lines, parent);
    const bool confirmed =
        confirm ? confirm(preview) : preview.exec() == QDialog::Accepted;
    if (!confirmed) {
        run.result = ReadingImportRun::Result::Cancelled;
        return run;
    }
    ReadingFill fill = fillFromReadings(tables, kind, preview.confirmedLines(), read.totalCharacters);
    run.result = ReadingImportRun::Result::Filled;
    run.characters = std::move(fill.characters);
    run.notice = QString::fromStdString(takenNotice(fill));
    return run;
}

}  // namespace hayate::gui
