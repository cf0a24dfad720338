// The practice screen: the top panel with the course list, start, stop and
// end buttons, counters, romaji hint and best record, and the practice grid
// SG1 below it. It owns the exercise session and is its display, clock and
// timer.
#pragma once

#include <QStringList>
#include <QWidget>
#include <map>
#include <memory>

#include "app/layout.h"
#include "exercise/exercise_ports.h"
#include "exercise/exercise_session.h"
#include "gui/cell_text.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace hayate {
class CharTables;
class ProblemFile;
class ProblemPractice;
class RandomSource;
class RecordCompletion;
class RecordStore;
class ResultDialog;
}  // namespace hayate

namespace hayate::gui {

class GridWidget;
class ViewHost;
struct CellState;

class PracticeView : public QWidget,
                     public ExerciseDisplay,
                     public TickSource,
                     public ExerciseTimer {
    Q_OBJECT
  public:
    PracticeView(SharedState& state, ViewHost& host, QWidget* parent);
    ~PracticeView() override;

    // Once the start-up has read the files.
    void createSession(CharTables& tables, ProblemFile& problems, RandomSource& random,
                       RecordStore& records, ResultDialog& results);
    bool hasSession() const { return session_ != nullptr; }
    ExerciseSession& session() { return *session_; }
    RecordCompletion& completion() { return *completion_; }

    void applyLayout(const WindowLayout& layout, const QRect& area);
    void fitCaptions(const WindowLayout& layout);
    // The cursor cell in sight again after a new layout.
    void keepCursorInSight();

    // The built-in courses and the problems' names, the current course chosen.
    void fillCourseList();
    void showProblemName(int slot);
    QStringList courseNames() const;
    // The course selection, as choosing in the course list makes it.
    void chooseCourse(int index);
    void setKanaMode(bool on);
    void refreshBestLabels();
    void showTimeLimit();

    void act(const ExerciseSession::KeyResult& result);
    void focusButton(bool start);
    // The start button if it shows, else the stop button if it shows.
    void focusStartOrStop();
    void redrawCursorCell();
    // The records screens take its place for a while.
    QWidget* grid() const;

    void setTickSourceForTesting(TickSource* ticks) { tickOverride_ = ticks; }
    QTimer* timer() const { return timer1_; }

    // ExerciseDisplay
    void setLabelText(Label label, const std::string& text) override;
    void setLabelColour(Label label, Colour colour) override;
    void setLabelFont(Label label, bool bold, bool underline) override;
    void redrawCell(int column, int row) override;
    void setCurrentCell(int column, int row) override;
    void scrollGridToTop() override;
    void setGridEnabled(bool enabled) override;
    void focusGrid() override;
    void showStartButton(bool startVisible) override;
    void focusStartButton() override;
    void movePointerToStopButton() override;
    // TickSource
    std::uint32_t tickCount() override;
    // ExerciseTimer
    void setRunning(bool running) override;
    void fireIn(int milliseconds) override;

    // The pointer stays where it is where the compositor places windows.
    void setPointerMoves(bool moves) { pointerMoves_ = moves; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void afterStart(const ExerciseSession::StartResult& result);
    void syncPracticeTexts();
    void SG1DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                     const CellState& state);
    void SG1Exit();
    QLabel* labelFor(Label label) const;

    SharedState& state_;
    ViewHost& host_;
    ProblemFile* problems_ = nullptr;
    RecordStore* records_ = nullptr;
    std::unique_ptr<ProblemPractice> practice_;
    std::unique_ptr<RecordCompletion> completion_;
    std::unique_ptr<ExerciseSession> session_;
    const WindowLayout* layout_ = nullptr;
    CellText cellText_;
    TickSource* tickOverride_ = nullptr;
    bool pointerMoves_ = true;

    QFrame* panel1_ = nullptr;
    QFrame* panel2_ = nullptr;
    QComboBox* comb1_ = nullptr;
    QPushButton* bStart_ = nullptr;
    QPushButton* bStop_ = nullptr;
    QPushButton* bEnd_ = nullptr;
    QLabel* l5_ = nullptr;
    QLabel* l6_ = nullptr;
    GridWidget* sg1_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::map<Ctl, QWidget*> placed_;  // controls the layout moves
    std::map<Label, QLabel*> labels_;
};

}  // namespace hayate::gui
