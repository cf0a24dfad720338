#include "gui/editor_view.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/screen_fit.h"
#include "exercise/key_codes.h"
#include "gui/caption_fit.h"
#include "gui/controls.h"
#include "gui/file_choice.h"
#include "gui/grid_widget.h"
#include "gui/kana_keys.h"
#include "gui/messages.h"
#include "gui/sjis_qt.h"
#include "gui/view_host.h"
#include "text/user_texts.h"
#include "problems/problem_file.h"
#include "problems/text_import.h"

namespace hayate::gui {

// SG3 as the editor model sees it. The grid keeps a copy of each cell's text,
// so that what it shows can be read back like the other grids.
class EditorGridAdapter final : public EditorGridView {
  public:
    explicit EditorGridAdapter(GridWidget* grid) : grid_(grid) {}
    void setEditor(const ProblemEditor* editor) { editor_ = editor; }

    void redrawCell(int column, int row) override {
        grid_->setCellText(column, row, toQt(editor_->cellText(column, row)));
        grid_->redrawCell(column, row);
    }
    void redrawAll() override {
        for (int r = 1; r <= ProblemEditor::kRows; ++r)
            for (int c = 1; c <= ProblemEditor::kColumns; ++c)
                grid_->setCellText(c, r, toQt(editor_->cellText(c, r)));
        grid_->viewport()->update();
    }
    void setCurrentCell(int column, int row) override { grid_->setCurrentCell(column, row); }
    void scrollToTop() override { grid_->setTopRow(1); }

  private:
    GridWidget* grid_;
    const ProblemEditor* editor_ = nullptr;
};

EditorView::EditorView(CharTables& tables, ProblemFile& problems, SharedState& state,
                       EditorHost& host, QWidget* parent)
    : QWidget(parent), tables_(tables), problems_(problems), state_(state), host_(host) {
    setObjectName("EditorView");
    hide();
    createControls();
    gridView_ = std::make_unique<EditorGridAdapter>(sg3_);
    editor_ = std::make_unique<ProblemEditor>(tables_, *gridView_);
    gridView_->setEditor(editor_.get());
}

void EditorView::createControls() {
    panel1_ = new QFrame(this);
    panel1_->setObjectName("Panel1");
    // Made in the order they overlap in: the name field on top.
    comb2_ = new QComboBox(panel1_);
    comb2_->setObjectName("Comb2");
    comb2_->setMaxVisibleItems(10);
    placed_[Ctl::Comb2] = comb2_;
    auto button = [this](const char* name, const QString& text, Ctl where) {
        auto* b = new QPushButton(text, panel1_);
        b->setObjectName(name);
        b->setAutoDefault(true);  // Enter presses the focused button
        placed_[where] = b;
        return b;
    };
    bMonDel_ = button("BMonDel", QStringLiteral(u"問題削除"), Ctl::BMonDel);
    bFinp_ = button("BFinp", QStringLiteral(u"ファイルから取り込み"), Ctl::BFinp);
    lMsg_ = makeLabel("LMsg", QString(), panel1_);
    lMsg_->setAlignment(Qt::AlignCenter);
    setTextColour(lMsg_, colour::kMaroon);
    placed_[Ctl::LMsg] = lMsg_;
    rg6_ = makeRadioGroup(
        "RG6", QString(),
        {QStringLiteral(u"英大文字・数字・記号"), QStringLiteral(u"ローマ字"),
         QStringLiteral(u"英小文字・数字・記号"), QStringLiteral(u"英大小混在・数字・記号")},
        &rg6Buttons_, panel1_);
    rg7_ = makeRadioGroup(
        "RG7", QString(),
        {QStringLiteral(u"１文字単位"), QStringLiteral(u"単語・文"), QStringLiteral(u"そのまま")},
        &rg7Buttons_, panel1_);
    placed_[Ctl::RG6] = rg6_;
    placed_[Ctl::RG7] = rg7_;
    eMname_ = new QLineEdit(panel1_);
    eMname_->setObjectName("EMname");
    QWidget::setTabOrder(comb2_, eMname_);
    placed_[Ctl::EMname] = eMname_;
    eMname_->setMaxLength(static_cast<int>(ProblemEditor::kNameFieldBytes));
    // The field holds what the problem can keep: 24 Shift-JIS bytes, so 12 kana
    // or 24 letters, also when text is pasted or committed by the input method.
    connect(eMname_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString kept = cutToSjisBytes(text, ProblemEditor::kNameFieldBytes);
        if (kept.size() == text.size()) return;
        const int cursor = std::min(eMname_->cursorPosition(), static_cast<int>(kept.size()));
        eMname_->setText(kept);
        eMname_->setCursorPosition(cursor);
    });

    sg3_ = new GridWidget(41, 51, this);
    sg3_->setObjectName("SG3");
    sg3_->setShowGridLines(false);
    sg3_->hide();
    sg3_->setClickSelectsCell(true);
    sg3_->setAttribute(Qt::WA_InputMethodEnabled, false);
    sg3_->setDrawCell([this](QPainter& p, int c, int r, const QRect& rect, CellState s) {
        SG3DrawCell(p, c, r, rect, s);
    });
    sg3_->setCellText(0, 0, QStringLiteral("No"));
    for (int c = 1; c <= 40; ++c) sg3_->setCellText(c, 0, QString::asprintf("%2d", c));
    for (int r = 1; r <= 50; ++r) sg3_->setCellText(0, r, QString::asprintf("%2d", r));

    for (QObject* o : std::initializer_list<QObject*>{sg3_, comb2_, eMname_, bMonDel_, bFinp_})
        o->installEventFilter(this);
    connect(sg3_, &GridWidget::currentCellChanged, this,
            [this](int column, int row) { editor_->selectCell(column, row); });
    connect(comb2_, &QComboBox::activated, this, [this](int i) { Comb2Change(i); });
    connect(rg6Buttons_, &QButtonGroup::idClicked, this, [this](int i) {
        if (editor_->kindClicked(i)) focusGrid();
    });
    connect(rg7Buttons_, &QButtonGroup::idClicked, this, [this](int i) {
        if (editor_->unitClicked(i)) focusGrid();
    });
    connect(bMonDel_, &QPushButton::clicked, this, [this] { BMonDelClick(); });
    connect(bFinp_, &QPushButton::clicked, this, [this] { BFinpClick(); });
}

bool EditorView::gridVisible() const { return sg3_->isVisible(); }

void EditorView::focusGrid() { sg3_->setFocus(Qt::OtherFocusReason); }

// ---------------------------------------------------------------- layout

void EditorView::applyLayout(const WindowLayout& L, const QRect& area) {
    layout_ = &L;
    area_ = area;
    const QString hint = lMsg_->text();
    setGeometry(area);
    panel1_->setGeometry(0, 0, area.width(), L.panel1Height);
    for (auto& [ctl, widget] : placed_) placeControl(L[ctl], widget);
    const Box& g = L.practiceGrid;
    // Over the practice grid's place, as the editor's grid always stood.
    placeCellGrid(sg3_, QRect(g.left, area.height() - g.height, g.width, g.height), L.editor,
                  L.cellFontSize1);
    cellText_.reset(L);

    fitControls();
    CaptionRow row;
    row.parentWidth = L.client.width;
    for (Ctl c : {Ctl::Comb2, Ctl::EMname, Ctl::BMonDel, Ctl::BFinp, Ctl::RG6, Ctl::RG7, Ctl::LMsg})
        row.controls.push_back(placed_.at(c));
    fitCaptions(row);
    hintHomeLeft_ = lMsg_->x();
    if (!hint.isEmpty()) showKeyHintText(hint);
}

void EditorView::keepCursorInSight() {
    sg3_->setCurrentCell(sg3_->currentColumn(), sg3_->currentRow());
}

// The editor's controls share the top row with the course box, start and end
// buttons and best-record panel of the practice screen, whose places the
// layout gives them. Placed on those alone they would overlap one another,
// so they are set side by side in that row: slot list, name field, delete
// button, import button, each as wide as its text needs.
void EditorView::fitControls() {
    const QRect name = eMname_->geometry();
    QRect list = comb2_->geometry();
    list.setRight(std::min(list.right(), name.left() - 9));
    comb2_->setGeometry(list);
    QRect del = bMonDel_->geometry();
    del.moveLeft(name.right() + 9);
    bMonDel_->setGeometry(del);
    QRect import = bFinp_->geometry();
    import.moveLeft(del.right() + 9);
    import.setWidth(
        std::max(import.width(), bFinp_->fontMetrics().horizontalAdvance(bFinp_->text()) + 24));
    bFinp_->setGeometry(import);

    // Four long captions: two columns of two, as they fit the group.
    QList<QAbstractButton*> kinds = rg6Buttons_->buttons();
    delete rg6_->layout();
    auto* grid = new QGridLayout(rg6_);
    grid->setContentsMargins(8, 2, 8, 2);
    grid->setVerticalSpacing(0);
    for (QAbstractButton* b : kinds) {
        const int id = rg6Buttons_->id(b);
        grid->addWidget(b, id / 2, id % 2, Qt::AlignLeft);
    }
    grid->activate();
}

// ---------------------------------------------------------------- entering and leaving

void EditorView::enter() {
    ProblemEditor& editor = *editor_;
    editor.setSuppressed(false);
    fillSlotList();
    const ProblemEditor::SlotContent content = loadSlot(editor.slot());
    eMname_->setText(toQt(content.name));
    // Fitted to the names as they are now.
    applyLayout(*layout_, area_);
    show();
    editor.enter(content);
    followKindLetterCase(editor.kind());
    showKindAndUnit();
    sg3_->show();
    sg3_->raise();
    comb2_->setFocus(Qt::OtherFocusReason);
}

void EditorView::leave() {
    sg3_->hide();
    hide();
    clearKeyHint();
}

void EditorView::storeAndLeave() {
    ProblemEditor& editor = *editor_;
    const int slot = editor.slot();
    const StoreResult result = problems_.storeProblem(
        slot, editor.storedText(), editor.confirmedName(), editor.kind(), editor.unit());
    if (result == StoreResult::Failed) {
        // What was typed stays in the grid, so that the user can try again.
        host_.messages().error(qtText(UserText::StoreFailed));
        focusGrid();
        return;
    }
    host_.problemNamesChanged(result == StoreResult::StoredInNewFile ? -1 : slot);
    host_.problemStored(slot, editor.kind());
    host_.messages().information(qtText(UserText::ProblemStoredMessage));
    host_.leaveEditor();
}

// ---------------------------------------------------------------- slots, name, kind, unit

void EditorView::fillSlotList() {
    comb2_->clear();
    for (const ProblemHead& head : problems_.table()) comb2_->addItem(toQt(head.name));
    comb2_->setCurrentIndex(editor_->slot());
}

ProblemEditor::SlotContent EditorView::loadSlot(int slot) {
    // A failed load leaves the table entry and the loaded text as they were.
    problems_.loadSlot(slot);
    const ProblemHead& head = problems_.head(slot);
    ProblemEditor::SlotContent content;
    content.name = head.name;
    content.kind = head.kind;
    content.unit = head.unit;
    content.rows = problems_.loadedText();
    return content;
}

void EditorView::followKindLetterCase(int kind) {
    const int letterCase = letterCaseForKind(kind, state_.letterCase);
    if (letterCase != state_.letterCase) host_.chooseLetterCase(letterCase);
}

void EditorView::showKindAndUnit() {
    ProblemEditor& editor = *editor_;
    editor.setSuppressed(true);
    if (QAbstractButton* b = rg6Buttons_->button(editor.kind())) b->setChecked(true);
    if (QAbstractButton* b = rg7Buttons_->button(editor.unit())) b->setChecked(true);
    editor.setSuppressed(false);
}

void EditorView::Comb2Change(int index) {
    if (index < 0) {
        index = 0;
        comb2_->setCurrentIndex(0);
    }
    const ProblemEditor::SlotContent content = loadSlot(index);
    ProblemEditor& editor = *editor_;
    editor.chooseSlot(index, content);
    comb2_->setItemText(index, toQt(content.name));
    eMname_->setText(toQt(content.name));
    editor.setSuppressed(true);
    followKindLetterCase(editor.kind());
    showKindAndUnit();
}

void EditorView::EMnameEnter() {
    showKeyHint(EditorControl::NameField);
    // After the click that brought the focus has placed the cursor.
    QTimer::singleShot(0, eMname_, [this] {
        if (eMname_->hasFocus()) eMname_->selectAll();
    });
}

void EditorView::EMnameExit() {
    clearKeyHint();
    // A name not confirmed with Enter is dropped.
    eMname_->setText(toQt(editor_->confirmedName()));
    closeInputMethod();
}

void EditorView::EMnameConfirm() {
    ProblemEditor& editor = *editor_;
    editor.confirmName(toSjis(eMname_->text()));
    const QString name = toQt(editor.confirmedName());
    eMname_->setText(name);
    comb2_->setItemText(editor.slot(), name);
    focusGrid();
}

void EditorView::showKeyHint(EditorControl control) { showKeyHintText(toQt(keyHintFor(control))); }

// The hints are longer than the message line was drawn for: the label takes
// the width its text needs, from the unit group's left as far as the window
// allows, and a smaller font only where even that is too narrow.
void EditorView::showKeyHintText(const QString& text) {
    lMsg_->setText(text);
    const int room = panel1_->width() - 8;
    const int width =
        std::min(std::max(captionWidth(lMsg_), (*layout_)[Ctl::LMsg].box.width), room);
    const int left = std::clamp(rg7_->x(), 4, 4 + room - width);
    lMsg_->setGeometry(left, lMsg_->y(), width, lMsg_->height());
    shrinkToFit(lMsg_);
}

void EditorView::clearKeyHint() {
    if (lMsg_->text().isEmpty()) return;
    lMsg_->clear();
    const PlacedControl& design = (*layout_)[Ctl::LMsg];
    lMsg_->setGeometry(hintHomeLeft_, lMsg_->y(), design.box.width, lMsg_->height());
    QFont f = lMsg_->font();
    f.setPixelSize(pointsToPixels(design.fontSize));
    lMsg_->setFont(f);
}

// ---------------------------------------------------------------- the grid

void EditorView::SG3KeyDown(int virtualKey) {
    switch (editor_->keyDown(virtualKey)) {
        case EditorKeyAction::None:
            break;
        case EditorKeyAction::Leave:
            host_.leaveEditor();
            break;
        case EditorKeyAction::StoreAndLeave:
            storeAndLeave();
            break;
        case EditorKeyAction::EndCommand:
            host_.endCommand(false);
            break;
    }
}

void EditorView::SG3Enter() {
    showKeyHint(EditorControl::Grid);
    editor_->gridFocused();
    closeInputMethod();
}

void EditorView::SG3DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                             const CellState& state) {
    const WindowLayout& L = *layout_;
    if (state.fixed) {
        cellText_.draw(painter, CellText::kHeader,
                       QPoint(rect.left() + 2, rect.top() + L.textOffset2),
                       sg3_->cellText(column, row));
        return;
    }
    if (state.focused) host_.setStatusPanel(0, toQt(editorCursorText(column, row)));
    const ProblemEditor::CellLook look = editor_->cellLook(column, row);
    painter.fillRect(rect, toQColor(look.background));
    painter.setPen(toQColor(look.textColour));
    cellText_.draw(
        painter, cellText_.fontFor(look.voicedKanaFont),
        QPoint(rect.left(), rect.top() + L.textOffset1 - editor_->textRaise(state_.letterCase)),
        sg3_->cellText(column, row));
}

// ---------------------------------------------------------------- keys and focus

bool EditorView::controlKeyDown(QObject* control, int virtualKey) {
    switch (virtualKey) {
        case vk::kEscape:
            host_.leaveEditor();
            return true;
        case vk::kF1:
            host_.endCommand(false);
            return true;
        case vk::kEnter:
            if (control == comb2_) {
                eMname_->setFocus(Qt::OtherFocusReason);
                return true;
            }
            if (control == eMname_) {
                EMnameConfirm();
                return true;
            }
            return false;
        case vk::kSpace:
            // Space never presses the program's buttons.
            return control == bMonDel_ || control == bFinp_;
        default:
            return false;
    }
}

bool EditorView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const std::optional<WinKey> key = pressedKey(event);
    if (watched == sg3_) {
        if (key) {
            auto* k = static_cast<QKeyEvent*>(event);
            SG3KeyDown(key->virtualKey);
            if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
                // Tab leaves the grid for the next control, as in every editor control.
                focusNextPrevChild(k->key() == Qt::Key_Tab &&
                                   !(k->modifiers() & Qt::ShiftModifier));
                return true;
            }
            // Esc and F10 may have closed the editor.
            if (sg3_->isVisible() && !sg3_->moveByKey(k->key(), k->modifiers()) &&
                !editor_->kanaKey(jisKeyOf(*k)) && key->byte)
                editor_->keyPress(*key->byte);
            return true;
        }
        if (claimPlainKeys(event)) return false;
        if (type == QEvent::FocusIn) SG3Enter();
        if (type == QEvent::FocusOut) clearKeyHint();
        return false;
    }
    if (watched != comb2_ && watched != eMname_ && watched != bMonDel_ && watched != bFinp_)
        return QWidget::eventFilter(watched, event);
    if (key) return controlKeyDown(watched, key->virtualKey);
    // The slot list's own drop-down takes the focus for a moment; that is not
    // leaving the list.
    const auto popup = [event] {
        return static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
    };
    if (type == QEvent::FocusIn && !popup()) {
        if (watched == comb2_) showKeyHint(EditorControl::SlotList);
        if (watched == eMname_) EMnameEnter();
    }
    if (type == QEvent::FocusOut && !popup()) {
        if (watched == comb2_) {
            clearKeyHint();
            editor_->slotListLeft();
            showKindAndUnit();
        }
        if (watched == eMname_) EMnameExit();
    }
    return false;
}

// ---------------------------------------------------------------- delete and import

void EditorView::BMonDelClick() {
    if (!host_.messages().ask(qtText(UserText::ConfirmDelete), false)) {
        focusGrid();
        return;
    }
    ProblemEditor& editor = *editor_;
    const int slot = editor.slot();
    const StoreResult result =
        problems_.clearProblem(slot, editor.confirmedName(), editor.kind(), editor.unit());
    if (result == StoreResult::Failed) return;
    if (result == StoreResult::StoredInNewFile) host_.problemNamesChanged(-1);
    host_.problemDeleted(slot);
    // Every row, not only up to the first empty one: nothing of the deleted
    // problem stays on screen.
    editor.emptyAfterDelete();
    focusGrid();
}

void EditorView::BFinpClick() {
    if (!sg3_->isVisible()) return;
    const auto finish = [this] {
        std::error_code ignored;
        std::filesystem::current_path(host_.dataFolder(), ignored);
        focusGrid();
    };
    const QString chosen =
        chooseFile(window(), "OpenDialog2", sjisText(UserText::ImportFileFilter), host_.dataFolder());
    if (chosen.isEmpty()) {
        finish();
        return;
    }
    const ImportFile file = readImportFile(std::filesystem::path(chosen.toStdString()));
    const Messages& messages = host_.messages();
    // A failure leaves the grid as it was and the focus in it, as an import does.
    if (file.status == ImportFileStatus::Unreadable) {
        messages.error(qtText(UserText::ImportUnreadable));
    } else if (file.status != ImportFileStatus::Read) {
        messages.error(qtText(UserText::ImportNotText));
    } else if (!importText(file.bytes)) {
        return;  // an empty file: the folder and the focus stay
    }
    finish();
}

bool EditorView::importText(std::string_view bytes) {
    const ReadingImportRun run =
        runReadingImport(window(), readings_, tables_, editor_->kind(), bytes, previewConfirm_);
    if (run.result == ReadingImportRun::Result::Cancelled) return true;
    std::vector<std::string> characters = run.characters;
    const Messages& messages = host_.messages();
    if (run.result == ReadingImportRun::Result::Plain) {
        ImportResult result = parseImportText(tables_, editor_->kind(), bytes);
        if (result.outcome == ImportOutcome::Empty) {
            messages.error(qtText(UserText::ImportEmpty));
            return false;
        }
        if (result.outcome == ImportOutcome::NotText) {
            messages.error(qtText(UserText::ImportNotText));
            return true;
        }
        characters = std::move(result.characters);
    }
    editor_->fillFromImport(characters);
    if (!run.notice.isEmpty()) messages.information(run.notice);
    return true;
}

void EditorView::createFromText() {
    if (!sg3_->isVisible()) return;
    TextPasteDialog dialog(window());
    if (dialog.exec() == QDialog::Accepted) {
        // The dialog is for Japanese text, which only the romaji kind reads.
        if (editor_->kind() != kKindRomaji) {
            editor_->kindClicked(kKindRomaji);
            if (QAbstractButton* b = rg6Buttons_->button(kKindRomaji)) b->setChecked(true);
        }
        importText(dialog.utf8Text());
    }
    focusGrid();
}

// Here, where the core objects it owns are complete types.
EditorView::~EditorView() = default;

}  // namespace hayate::gui
