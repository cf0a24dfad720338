// The problem editor's screen swapped in for the practice screen, and the
// problem file commands of the menu, which concern both screens.
#include <QInputDialog>
#include <QLineEdit>
#include <filesystem>

#include "gui/editor_view.h"
#include "gui/file_choice.h"
#include "gui/main_window_core.h"
#include "gui/practice_view.h"
#include "text/user_texts.h"
#include "problems/problem_file_commands.h"

namespace hayate::gui {

EditorView& TForm1::editorView() {
    if (!editor_) {
        editor_ = new EditorView(core_->startup.tables(), core_->problems, state_, *this,
                                 centralWidget());
        editor_->editor().setExtendedRomaji(state_.romajiExtended == 1);
        editor_->editor().setKanaInput(state_.inputMethod == InputMethod::Kana);
        editor_->applyLayout(layout_, viewArea_);
    }
    return *editor_;
}

bool TForm1::editorGridVisible() const { return editor_ && editor_->gridVisible(); }

std::filesystem::path TForm1::dataFolder() const { return core_->startup.dataFolder(); }

void TForm1::MonSakuClick() {
    ExerciseSession& session = practice_->session();
    if (session.inputMode() != InputMode::Idle || editorGridVisible()) return;
    session.setInputMode(InputMode::Editor);
    EditorView& editor = editorView();
    practice_->hide();
    editor.enter();
}

void TForm1::MonTextClick() {
    if (!editorGridVisible()) {
        // The text needs a problem number to go under, which the editor asks first.
        MonSakuClick();
        if (editor_ && editor_->isVisible())
            messages().information(qtText(UserText::OpenProblemFirstMessage));
        return;
    }
    editor_->createFromText();
}

void TForm1::leaveEditor() {
    editor_->leave();
    practice_->show();
    practice_->session().setInputMode(InputMode::Idle);
    practice_->focusStartOrStop();
}

void TForm1::problemNamesChanged(int slot) {
    if (slot >= 0) {
        practice_->showProblemName(slot);
        return;
    }
    for (int s = 0; s < kProblemSlots; ++s) practice_->showProblemName(s);
}

void TForm1::problemStored(int slot, int kind) {
    // The course's problem may have changed its kind: its kana mode follows
    // now, or a romaji problem would be matched as plain letters.
    if (state_.courseIndex == kFirstProblemCourse + slot)
        practice_->setKanaMode(kind == kKindRomaji);
}

void TForm1::problemDeleted(int slot) {
    if (applyProblemDeleted(state_, slot)) practice_->chooseCourse(0);
}

void TForm1::FileSakuClick() {
    QInputDialog box(this);
    box.setObjectName("InputBox");
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(qtText(UserText::NewFileCaption));
    box.setLabelText(qtText(UserText::NewFilePrompt));
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
            messages_.error(qtText(UserText::FileExists));
            return;
        case NewFileStep::Write:
            if (writeNewProblemFile(std::filesystem::path(decision.path))) {
                messages_.information(qtText(UserText::FileCreated));
            } else {
                messages_.error(qtText(UserText::FileNotCreated));
            }
            return;
    }
}

void TForm1::FileHenClick() {
    const QString chosen =
        chooseFile(this, "OpenDialog1", sjisText(UserText::ProblemFileFilter), dataFolder());
    if (chosen.isEmpty()) return;
    const std::string path = chosen.toStdString();
    // Switching to a file the next start could not find again would lose it.
    if (!settingsFormOfProblemFileName(path)) {
        messages_.error(qtText(UserText::UnstorableFileNameMessage));
        return;
    }
    switch (core_->problems.readProblemFile(std::filesystem::path(path))) {
        case ProblemFileCheck::Unreadable:
            return;
        case ProblemFileCheck::Rejected:
            messages_.error(qtText(UserText::NotProblemFile));
            return;
        case ProblemFileCheck::Accepted:
            break;
    }
    core_->problems.setPath(path);
    EditorView& editor = editorView();
    const bool courseChanged =
        applyProblemFileSwitch(state_, editor.editor(), path, editor.gridVisible());
    practice_->fillCourseList();
    if (courseChanged) practice_->chooseCourse(0);
    editor.fillSlotList();
    // The switch holds for this run all the same; the next start would not know it.
    if (!writeProblemFileName(core_->startup.settingsFile(), path)) {
        messages_.error(qtText(UserText::SwitchNotSavedMessage));
        return;
    }
    messages_.information(qtText(UserText::FileSwitched));
}

}  // namespace hayate::gui
