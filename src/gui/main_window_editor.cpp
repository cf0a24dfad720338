// The problem editor mode of the main window (SG3 with its slot list, name
// field, kind and unit groups and two buttons) and the problem file commands.
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputDialog>
#include <QInputMethod>
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
#include "app/settings.h"
#include "exercise/key_codes.h"
#include "gui/caption_fit.h"
#include "gui/key_mapping.h"
#include "gui/main_window_core.h"
#include "gui/qt_japanese.h"
#include "text/user_texts.h"
#include "problems/problem_file_commands.h"
#include "problems/text_import.h"

namespace hayate::gui {

namespace {

QColor fromBgr(Colour c) { return QColor(c.red, c.green, c.blue); }

// "desc|pattern|desc|pattern" as a Qt name filter. File names differ in case
// here, so "*.USR" also finds "*.usr"; "*.*" means every file.
QString qtNameFilter(std::string_view filter) {
    const QStringList parts =
        QString::fromLatin1(filter.data(), static_cast<qsizetype>(filter.size()))
            .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& pattern = parts[i + 1];
        QString patterns = pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern;
        if (pattern != pattern.toLower() && pattern != QStringLiteral("*.*"))
            patterns += QLatin1Char(' ') + pattern.toLower();
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace

void TForm1::createEditor() {
    core_->editorView = std::make_unique<EditorGridAdapter>(sg3_);
    core_->editor = std::make_unique<ProblemEditor>(core_->startup.tables(), *core_->editorView);
    core_->editorView->setEditor(core_->editor.get());

    sg3_->setClickSelectsCell(true);
    sg3_->setAttribute(Qt::WA_InputMethodEnabled, false);
    sg3_->setDrawCell([this](QPainter& p, int c, int r, const QRect& rect, CellState s) {
        SG3DrawCell(p, c, r, rect, s);
    });
    sg3_->installEventFilter(this);
    comb2_->installEventFilter(this);
    connect(sg3_, &GridWidget::currentCellChanged, this,
            [this](int column, int row) { SG3SelectCell(column, row); });
    connect(comb2_, &QComboBox::activated, this, [this](int i) { Comb2Change(i); });
    connect(rg6Buttons_, &QButtonGroup::idClicked, this, [this](int i) { RG6Click(i); });
    connect(rg7Buttons_, &QButtonGroup::idClicked, this, [this](int i) { RG7Click(i); });
    connect(bMonDel_, &QPushButton::clicked, this, [this] { BMonDelClick(); });
    connect(bFinp_, &QPushButton::clicked, this, [this] { BFinpClick(); });
}

void TForm1::createNameField() {
    if (eMname_) return;
    eMname_ = new QLineEdit(panel1_);
    eMname_->setObjectName("EMname");
    eMname_->hide();
    QWidget::setTabOrder(comb2_, eMname_);
    placed_[Ctl::EMname] = eMname_;
    placeControl(Ctl::EMname, eMname_);
    eMname_->installEventFilter(this);
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
    editorFitted_ = false;
}

// The editor's controls share the top row with the hidden course box, start
// and end buttons and best-record panel. Placed on those alone they would
// overlap one another, so they are set side by side in that row: slot list,
// name field, delete button, import button, each as wide as its text needs.
void TForm1::fitEditorControls() {
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

void TForm1::MonSakuClick() {
    ExerciseSession& session = *core_->session;
    if (session.inputMode() != InputMode::Idle || sg3_->isVisible()) return;
    session.setInputMode(InputMode::Editor);
    createNameField();
    ProblemEditor& editor = *core_->editor;
    editor.setSuppressed(false);
    fillSlotList();
    const ProblemEditor::SlotContent content = loadEditorSlot(editor.slot());
    eMname_->setText(toQt(content.name));

    hiddenByEditor_.clear();
    for (Ctl c :
         {Ctl::Comb1, Ctl::BStart, Ctl::BEnd,    Ctl::Panel2, Ctl::L1,     Ctl::LEtime, Ctl::L11,
          Ctl::LMoji, Ctl::L12,    Ctl::LTime,   Ctl::L2,     Ctl::LYmoji, Ctl::L13,    Ctl::L4,
          Ctl::LMiss, Ctl::L5,     Ctl::L6,      Ctl::LDaken, Ctl::LRoma1, Ctl::LRoma2, Ctl::LRoma3,
          Ctl::L21,   Ctl::L22,    Ctl::LSaikoM, Ctl::LSaikoD}) {
        QWidget* w = placed_.at(c);
        if (w->isVisible()) {
            hiddenByEditor_.push_back(w);
            w->hide();
        }
    }
    if (!editorFitted_) fitEditorCaptions();
    for (QWidget* w :
         std::initializer_list<QWidget*>{comb2_, rg6_, rg7_, eMname_, bMonDel_, bFinp_})
        w->show();

    editor.enter(content);
    followKindLetterCase(editor.kind());
    showEditorKindAndUnit();
    sg3_->show();
    sg3_->raise();
    comb2_->setFocus(Qt::OtherFocusReason);
}

void TForm1::leaveEditor() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{sg3_, comb2_, rg6_, rg7_, eMname_, bMonDel_, bFinp_})
        w->hide();
    for (QWidget* w : hiddenByEditor_) w->show();
    hiddenByEditor_.clear();
    // A course chosen meanwhile (a deleted problem, a file switch) decides the
    // romaji captions, not what they showed before.
    l5_->setVisible(state_.kanaMode);
    l6_->setVisible(state_.kanaMode);
    clearKeyHint();
    core_->session->setInputMode(InputMode::Idle);
    if (bStart_->isVisible()) {
        bStart_->setFocus(Qt::OtherFocusReason);
    } else if (bStop_->isVisible()) {
        bStop_->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::storeAndLeave() {
    ProblemEditor& editor = *core_->editor;
    const int slot = editor.slot();
    const StoreResult result = core_->problems.storeProblem(
        slot, editor.storedText(), editor.confirmedName(), editor.kind(), editor.unit());
    if (result == StoreResult::Failed) {
        // What was typed stays in the grid, so that the user can try again.
        errorBox(toQt(sjisText(UserText::StoreFailed)));
        sg3_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (result == StoreResult::StoredInNewFile) {
        for (int s = 0; s < kProblemSlots; ++s)
            comb1_->setItemText(kFirstProblemCourse + s, toQt(core_->problems.head(s).name));
    } else {
        comb1_->setItemText(kFirstProblemCourse + slot, toQt(core_->problems.head(slot).name));
    }
    if (state_.courseIndex == kFirstProblemCourse + slot) {
        // The course's problem may have changed its kind: its kana mode follows
        // now, or a romaji problem would be matched as plain letters.
        setKanaMode(editor.kind() == kKindRomaji);
    }
    informationBox(toQt(sjisText(UserText::ProblemStoredMessage)));
    leaveEditor();
}

// ---------------------------------------------------------------- slots, name, kind, unit

void TForm1::fillSlotList() {
    comb2_->clear();
    for (const ProblemHead& head : core_->problems.table()) comb2_->addItem(toQt(head.name));
    comb2_->setCurrentIndex(core_->editor->slot());
}

ProblemEditor::SlotContent TForm1::loadEditorSlot(int slot) {
    // A failed load leaves the table entry and the loaded text as they were.
    core_->problems.loadSlot(slot);
    const ProblemHead& head = core_->problems.head(slot);
    ProblemEditor::SlotContent content;
    content.name = head.name;
    content.kind = head.kind;
    content.unit = head.unit;
    content.rows = core_->problems.loadedText();
    return content;
}

void TForm1::followKindLetterCase(int kind) {
    const int letterCase = letterCaseForKind(kind, state_.letterCase);
    if (letterCase == state_.letterCase) return;
    rg4Buttons_->button(letterCase)->setChecked(true);
    RG4Click(letterCase);
}

void TForm1::showEditorKindAndUnit() {
    ProblemEditor& editor = *core_->editor;
    editor.setSuppressed(true);
    if (QAbstractButton* b = rg6Buttons_->button(editor.kind())) b->setChecked(true);
    if (QAbstractButton* b = rg7Buttons_->button(editor.unit())) b->setChecked(true);
    editor.setSuppressed(false);
}

void TForm1::Comb2Change(int index) {
    if (index < 0) {
        index = 0;
        comb2_->setCurrentIndex(0);
    }
    const ProblemEditor::SlotContent content = loadEditorSlot(index);
    ProblemEditor& editor = *core_->editor;
    editor.chooseSlot(index, content);
    comb2_->setItemText(index, toQt(content.name));
    eMname_->setText(toQt(content.name));
    editor.setSuppressed(true);
    followKindLetterCase(editor.kind());
    showEditorKindAndUnit();
}

void TForm1::Comb2Enter() { showKeyHint(EditorControl::SlotList); }

void TForm1::Comb2Exit() {
    clearKeyHint();
    core_->editor->slotListLeft();
    showEditorKindAndUnit();
}

void TForm1::EMnameEnter() {
    showKeyHint(EditorControl::NameField);
    // After the click that brought the focus has placed the cursor.
    QTimer::singleShot(0, eMname_, [this] {
        if (eMname_->hasFocus()) eMname_->selectAll();
    });
}

void TForm1::EMnameExit() {
    clearKeyHint();
    // A name not confirmed with Enter is dropped.
    eMname_->setText(toQt(core_->editor->confirmedName()));
    closeInputMethod();
}

void TForm1::EMnameKeyPress() {
    ProblemEditor& editor = *core_->editor;
    editor.confirmName(toSjis(eMname_->text()));
    const QString name = toQt(editor.confirmedName());
    eMname_->setText(name);
    comb2_->setItemText(editor.slot(), name);
    sg3_->setFocus(Qt::OtherFocusReason);
}

void TForm1::RG6Click(int index) {
    if (core_->editor->kindClicked(index)) sg3_->setFocus(Qt::OtherFocusReason);
}

void TForm1::RG7Click(int index) {
    if (core_->editor->unitClicked(index)) sg3_->setFocus(Qt::OtherFocusReason);
}

void TForm1::showKeyHint(EditorControl control) { showKeyHintText(toQt(keyHintFor(control))); }

// The hints are longer than the message line was drawn for: the label takes
// the width its text needs, from the unit group's left as far as the window
// allows, and a smaller font only where even that is too narrow.
void TForm1::showKeyHintText(const QString& text) {
    QLabel* msg = labels_.at(Label::Message);
    if (savedHintLeft_ < 0) savedHintLeft_ = msg->x();
    msg->setText(text);
    const int room = panel1_->width() - 8;
    const int width = std::min(std::max(captionWidth(msg), layout_[Ctl::LMsg].box.width), room);
    const int left = std::clamp(rg7_->x(), 4, 4 + room - width);
    msg->setGeometry(left, msg->y(), width, msg->height());
    shrinkToFit(msg);
}

void TForm1::clearKeyHint() {
    QLabel* msg = labels_.at(Label::Message);
    if (savedHintLeft_ < 0) return;
    msg->clear();
    const PlacedControl& design = layout_[Ctl::LMsg];
    msg->setGeometry(savedHintLeft_, msg->y(), design.box.width, msg->height());
    QFont f = msg->font();
    f.setPixelSize(pointsToPixels(design.fontSize));
    msg->setFont(f);
    savedHintLeft_ = -1;
}

void TForm1::closeInputMethod() {
    if (QInputMethod* im = QGuiApplication::inputMethod()) {
        im->reset();
        im->hide();
    }
}

// ---------------------------------------------------------------- the grid

void TForm1::SG3KeyDown(int virtualKey) {
    switch (core_->editor->keyDown(virtualKey)) {
        case EditorKeyAction::None:
            break;
        case EditorKeyAction::Leave:
            leaveEditor();
            break;
        case EditorKeyAction::StoreAndLeave:
            storeAndLeave();
            break;
        case EditorKeyAction::EndCommand:
            endCommand(false);
            break;
    }
}

void TForm1::SG3KeyPress(unsigned char key) { core_->editor->keyPress(key); }

void TForm1::SG3SelectCell(int column, int row) { core_->editor->selectCell(column, row); }

void TForm1::SG3Enter() {
    showKeyHint(EditorControl::Grid);
    core_->editor->gridFocused();
    closeInputMethod();
}

void TForm1::SG3Exit() { clearKeyHint(); }

void TForm1::SG3DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                         const CellState& state) {
    const WindowLayout& L = layout_;
    if (state.fixed) {
        drawCellText(painter, kHeaderFont, QPoint(rect.left() + 2, rect.top() + L.textOffset2),
                     sg3_->cellText(column, row));
        return;
    }
    if (state.focused) setStatusPanel(0, toQt(editorCursorText(column, row)));
    const ProblemEditor& editor = *core_->editor;
    const ProblemEditor::CellLook look = editor.cellLook(column, row);
    painter.fillRect(rect, fromBgr(look.background));
    painter.setPen(fromBgr(look.textColour));
    const int font =
        (look.voicedKanaFont ? kCellFont2 : kCellFont1) + (L.screenWidth < 1024 ? 1 : 0);
    drawCellText(
        painter, font,
        QPoint(rect.left(), rect.top() + L.textOffset1 - editor.textRaise(state_.letterCase)),
        sg3_->cellText(column, row));
}

// ---------------------------------------------------------------- keys and focus

bool TForm1::EditorControlKeyDown(QObject* control, int virtualKey) {
    switch (virtualKey) {
        case vk::kEscape:
            leaveEditor();
            return true;
        case vk::kF1:
            endCommand(false);
            return true;
        case vk::kEnter:
            if (control == comb2_) {
                eMname_->setFocus(Qt::OtherFocusReason);
                return true;
            }
            if (control == eMname_) {
                EMnameKeyPress();
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

bool TForm1::editorEventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == sg3_) {
        if (type == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(event);
            const WinKey key = translateKey(*k);
            SG3KeyDown(key.virtualKey);
            if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
                // Tab leaves the grid for the next control, as in every editor control.
                focusNextPrevChild(k->key() == Qt::Key_Tab &&
                                   !(k->modifiers() & Qt::ShiftModifier));
                return true;
            }
            // Esc and F10 may have closed the editor.
            if (sg3_->isVisible() && !sg3_->moveByKey(k->key(), k->modifiers()) && key.byte)
                SG3KeyPress(*key.byte);
            return true;
        }
        if (type == QEvent::ShortcutOverride) {
            auto* k = static_cast<QKeyEvent*>(event);
            if (!(k->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) event->accept();
            return false;
        }
        if (type == QEvent::FocusIn) SG3Enter();
        if (type == QEvent::FocusOut) SG3Exit();
        return false;
    }
    if (type == QEvent::KeyPress) {
        const WinKey key = translateKey(*static_cast<QKeyEvent*>(event));
        return EditorControlKeyDown(watched, key.virtualKey);
    }
    // The slot list's own drop-down takes the focus for a moment; that is not
    // leaving the list.
    const auto popup = [event] {
        return static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
    };
    if (type == QEvent::FocusIn && !popup()) {
        if (watched == comb2_) Comb2Enter();
        if (watched == eMname_) EMnameEnter();
    }
    if (type == QEvent::FocusOut && !popup()) {
        if (watched == comb2_) Comb2Exit();
        if (watched == eMname_) EMnameExit();
    }
    return false;
}

// ---------------------------------------------------------------- problem files

QString TForm1::chooseFile(const char* name, std::string_view filter) {
    QFileDialog dialog(this, QString(),
                       QString::fromStdString(core_->startup.dataFolder().string()),
                       qtNameFilter(filter));
    dialog.setObjectName(QLatin1String(name));
    // Qt's own dialog: the same on every desktop, and reachable by tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    fitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void TForm1::FileSakuClick() {
    QInputDialog box(this);
    box.setObjectName("InputBox");
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(toQt(sjisText(UserText::NewFileCaption)));
    box.setLabelText(toQt(sjisText(UserText::NewFilePrompt)));
    box.setTextValue(QString());
    if (auto* edit = box.findChild<QLineEdit*>()) edit->setMaxLength(kNewFileNameMaxLength);
    std::optional<std::string> input;
    if (box.exec() == QDialog::Accepted) input = box.textValue().toStdString();
    const NewFileDecision decision = decideNewProblemFile(
        input ? std::optional<std::string_view>(*input) : std::nullopt, somethingExistsAt);
    switch (decision.step) {
        case NewFileStep::Stop:
            return;
        case NewFileStep::AlreadyExists:
            errorBox(toQt(sjisText(UserText::FileExists)));
            return;
        case NewFileStep::Write:
            if (writeNewProblemFile(std::filesystem::path(decision.path))) {
                informationBox(toQt(sjisText(UserText::FileCreated)));
            } else {
                errorBox(toQt(sjisText(UserText::FileNotCreated)));
            }
            return;
    }
}

void TForm1::FileHenClick() {
    const QString chosen = chooseFile("OpenDialog1", sjisText(UserText::ProblemFileFilter));
    if (chosen.isEmpty()) return;
    const std::string path = chosen.toStdString();
    // Switching to a file the next start could not find again would lose it.
    if (!settingsFormOfProblemFileName(path)) {
        errorBox(toQt(sjisText(UserText::UnstorableFileNameMessage)));
        return;
    }
    switch (core_->problems.readProblemFile(std::filesystem::path(path))) {
        case ProblemFileCheck::Unreadable:
            return;
        case ProblemFileCheck::Rejected:
            errorBox(toQt(sjisText(UserText::NotProblemFile)));
            return;
        case ProblemFileCheck::Accepted:
            break;
    }
    core_->problems.setPath(path);
    const bool courseChanged =
        applyProblemFileSwitch(state_, *core_->editor, path, sg3_->isVisible());
    fillCourseList();
    if (courseChanged) Comb1Change(0);
    if (sg3_->isVisible()) {
        // The romaji captions wait for the editor to close.
        l5_->hide();
        l6_->hide();
    }
    fillSlotList();
    // The switch holds for this run all the same; the next start would not know it.
    if (!writeProblemFileName(core_->startup.settingsFile(), path)) {
        errorBox(toQt(sjisText(UserText::SwitchNotSavedMessage)));
        return;
    }
    informationBox(toQt(sjisText(UserText::FileSwitched)));
}

void TForm1::BMonDelClick() {
    if (!askYesNo(toQt(sjisText(UserText::ConfirmDelete)), false)) {
        sg3_->setFocus(Qt::OtherFocusReason);
        return;
    }
    ProblemEditor& editor = *core_->editor;
    const int slot = editor.slot();
    const StoreResult result =
        core_->problems.clearProblem(slot, editor.confirmedName(), editor.kind(), editor.unit());
    if (result == StoreResult::Failed) return;
    if (result == StoreResult::StoredInNewFile) {
        for (int s = 0; s < kProblemSlots; ++s)
            comb1_->setItemText(kFirstProblemCourse + s, toQt(core_->problems.head(s).name));
    }
    if (applyProblemDeleted(state_, slot)) Comb1Change(0);
    // Every row, not only up to the first empty one: nothing of the deleted
    // problem stays on screen.
    editor.emptyAfterDelete();
    sg3_->setFocus(Qt::OtherFocusReason);
}

void TForm1::BFinpClick() {
    if (!sg3_->isVisible()) return;
    const auto finish = [this] {
        std::error_code ignored;
        std::filesystem::current_path(core_->startup.dataFolder(), ignored);
        sg3_->setFocus(Qt::OtherFocusReason);
    };
    const QString chosen = chooseFile("OpenDialog2", sjisText(UserText::ImportFileFilter));
    if (chosen.isEmpty()) {
        finish();
        return;
    }
    const ImportFile file = readImportFile(std::filesystem::path(chosen.toStdString()));
    const ImportResult result =
        file.status == ImportFileStatus::Read
            ? parseImportText(core_->startup.tables(), core_->editor->kind(), file.bytes)
            : ImportResult{ImportOutcome::NotText, {}};
    if (result.outcome == ImportOutcome::Empty) {
        errorBox(toQt(sjisText(UserText::ImportEmpty)));
        return;
    }
    // A failure leaves the grid as it was and the focus in it, as an import does.
    if (file.status == ImportFileStatus::Unreadable) {
        errorBox(toQt(sjisText(UserText::ImportUnreadable)));
    } else if (result.outcome == ImportOutcome::NotText) {
        errorBox(toQt(sjisText(UserText::ImportNotText)));
    } else {
        core_->editor->fillFromImport(result.characters);
    }
    finish();
}

}  // namespace hayate::gui
