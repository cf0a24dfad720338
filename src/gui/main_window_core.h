// The core objects the main window drives, shared by the window's source
// files (main window, records screens, problem editor).
#pragma once

#include <future>
#include <memory>

#include "app/startup.h"
#include "exercise/exercise_session.h"
#include "exercise/random_source.h"
#include "gui/grid_widget.h"
#include "gui/main_window.h"
#include "gui/sjis_qt.h"
#include "journal/exercise_logger.h"
#include "journal/journal.h"
#include "problems/problem_editor.h"
#include "problems/problem_file.h"
#include "problems/problem_text.h"
#include "records/record_completion.h"

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

struct TForm1::Core {
    Core(SharedState& state, StartupOptions options) : startup(state, std::move(options)) {}
    StartupSequence startup;
    ProblemFile problems;
    Mt19937Source random;
    std::unique_ptr<ProblemPractice> practice;
    std::unique_ptr<RecordCompletion> completion;
    std::unique_ptr<ExerciseSession> session;
    std::unique_ptr<journal::Journal> journal;
    std::unique_ptr<journal::ExerciseLogger> logger;
    bool journalOpenTried = false;
    // The open under way on its thread; after the journal, so that the core
    // waits for it before the journal goes.
    std::future<journal::Journal::Result> journalOpening;
    std::unique_ptr<EditorGridAdapter> editorView;
    std::unique_ptr<ProblemEditor> editor;
};

}  // namespace hayate::gui
