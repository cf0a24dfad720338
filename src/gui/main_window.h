// TForm1: the main window. It holds the controls and one thin handler per
// control event; the handlers translate Qt events and call the core.
#pragma once

#include <QFont>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStaticText>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/layout.h"
#include "app/settings.h"
#include "exercise/exercise_ports.h"
#include "exercise/exercise_session.h"
#include "exercise/shared_state.h"
#include "problems/problem_editor.h"
#include "records/record_completion.h"

class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QAction;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTimer;

namespace hayate::journal {
class Journal;
}

namespace hayate::gui {

class HelpWindow;

class GridWidget;
class TOKDlg;
class AnalysisWindow;
class TAboutBox;
struct CellState;

// Install before the first window: the fonts the window asks for, mapped to
// installed Japanese fonts.
void installFontSubstitutes();
QIcon programIcon();

class TForm1 : public QMainWindow,
               public ExerciseDisplay,
               public TickSource,
               public ExerciseTimer,
               public ResultDialog,
               public SettingsDialogs {
    Q_OBJECT
  public:
    struct Options {
        std::vector<std::string> arguments;  // after the program name; "[title]" sets the title
        int screenWidthOverride = 0;         // tests lay the window out for a given screen
        int screenHeightOverride = 0;
        // Where the data files live and the executable they are named after;
        // empty: the data folder the start-up chose and this program.
        std::filesystem::path dataFolder;
        std::filesystem::path executablePath;
        // Tests fix the practice texts; unset: a new text from the clock each time.
        std::optional<std::uint32_t> randomSeed;
        // Tests choose how the window is placed; unset: as the window system
        // does it (compositorPlacesWindows()).
        std::optional<bool> compositorPlaces;
    };
    explicit TForm1(Options options);
    explicit TForm1() : TForm1(Options{}) {}
    ~TForm1() override;

    TOKDlg* okDialog();
    TAboutBox* aboutBox();
    const WindowLayout& layout() const { return layout_; }
    QString statusPanelText(int panel) const;
    const SharedState& state() const { return state_; }
    // Lays the window out again for the screen it is on now (another
    // monitor, resolution or scaling); tests give a screen size of their own.
    void screenChanged(int widthOverride = 0, int heightOverride = 0);

    // The exercise journal (main_window_journal.cpp): null until it has
    // opened, shortly after the window first shows, and when it cannot open.
    journal::Journal* journal();
    // Weak-spot practice on the current built-in course. False, after a
    // message, when it cannot start (too few exercises in the journal, a user
    // problem, an exercise or the editor under way).
    bool startWeakSpotPractice();

    // Tests drive the clock by hand.
    void setTickSourceForTesting(TickSource* ticks) { tickOverride_ = ticks; }
    QTimer* timer1() const { return timer1_; }
    bool firstShowFailed() const { return firstShowFailed_; }

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
    // ResultDialog
    void showResultAndWait(bool newRecord) override;
    void showSaveFailure(const std::string& message) override;
    // SettingsDialogs
    bool askToSave(std::string_view question) override;
    void confirmSaved(std::string_view message) override;
    void reportNotSaved(std::string_view message) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Construction.
    void createControls();
    void createMenus();
    QLabel* makeLabel(const char* name, const QString& text, QWidget* parent);
    QGroupBox* makeRadioGroup(const char* name, const QString& caption, const QStringList& items,
                              QButtonGroup** group, QWidget* parent);

    // Start-up steps.
    void FormCreate();
    void FormShow();
    // The start-up's notices in one message box.
    void showNotices();
    void applyLayout();
    void placeControl(Ctl ctl, QWidget* widget);
    // Screen fit (main_window_layout.cpp).
    ScreenArea screenArea() const;
    void fitControlCaptions();
    void watchScreen();
    void followScreen();
    void applySettingsToControls();
    void fillCourseList();
    void prepareGrids();

    // Handlers, named after control and event.
    void BStartClick();
    void BStopClick();
    void BEndClick();
    void Comb1Change(int index);
    void RG1Click(int index);
    void RG2Click(int index);
    void RG3Click(int index);
    void RG4Click(int index);
    void Timer1Timer();
    void SG1DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                     const CellState& state);
    void SG1KeyDown(int virtualKey);
    void SG1KeyPress(unsigned char key);
    void SG1Enter();
    void SG1Exit();
    bool ButtonKeyDown(QPushButton* button, int virtualKey);
    bool Comb1KeyDown(int virtualKey);
    void BStartEnter();
    void HozonClick();
    void SyuryoClick();
    void HelpContentsClick();
    void HelpKeywordClick();
    HelpWindow* helpWindow();
    void HomePageClick();
    void AboutClick();

    // Records screens (main_window_records.cpp).
    void SeiDspClick();
    void SeiUpdClick();
    void SeiDelClick();
    void showRecordsGrid();
    void SG2DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                     const CellState& state);
    // Analysis screen (main_window_analysis.cpp).
    void SeiBunClick();

    // Romaji input mode, standard or extended (romaji_mode.cpp).
    void createRomajiModeMenu(QMenu* env);
    void RomaClick(int mode);
    void showRomajiMode();
    QString romajiBadge() const;  // the date panel's badge text, empty while hidden

    // Problem editor and problem files (main_window_editor.cpp).
    void MonSakuClick();
    void Comb2Change(int index);
    void Comb2Enter();
    void Comb2Exit();
    void EMnameEnter();
    void EMnameExit();
    void EMnameKeyPress();
    void RG6Click(int index);
    void RG7Click(int index);
    void SG3KeyDown(int virtualKey);
    void SG3KeyPress(unsigned char key);
    void SG3SelectCell(int column, int row);
    void SG3Enter();
    void SG3Exit();
    void SG3DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                     const CellState& state);
    bool EditorControlKeyDown(QObject* control, int virtualKey);
    bool editorEventFilter(QObject* watched, QEvent* event);
    void BMonDelClick();
    void BFinpClick();
    void FileHenClick();
    void FileSakuClick();
    void createEditor();
    // The editor's name field, made when the editor first opens: a line
    // edit lays out its empty text in the application's font as it is made,
    // a face the window never shows, and the start would wait for it.
    void createNameField();
    void fitEditorControls();
    // The editor's row, fitted when the editor opens rather than with every
    // layout: its controls stay hidden until then.
    void fitEditorCaptions();
    void storeAndLeave();
    void leaveEditor();
    void fillSlotList();
    ProblemEditor::SlotContent loadEditorSlot(int slot);
    void followKindLetterCase(int kind);
    void showEditorKindAndUnit();
    void showKeyHint(EditorControl control);
    void showKeyHintText(const QString& text);
    void clearKeyHint();
    void closeInputMethod();
    QString chooseFile(const char* name, std::string_view filter);

    // The exercise journal (main_window_journal.cpp).
    static constexpr int kJournalOpenDelayMs = 200;
    void createJournal();
    void openJournal();
    void finishJournalOpen();
    void journalNotice(const std::string& message);

    // Shared steps.
    void endCommand(bool guarded);
    void focusAfterSetting();
    void setKanaMode(bool on);
    void refreshBestLabels();
    void createCore();
    void act(const ExerciseSession::KeyResult& result);
    void afterStart(const ExerciseSession::StartResult& result);
    void applySelection(const ExerciseSession::SelectionResult& result);
    void showLetterCase();
    void setStatusPanel(int panel, const QString& text);
    void setTimeLimitTexts();
    QPoint messagePosition() const;
    void informationBox(const QString& text);
    void errorBox(const QString& text);
    bool askYesNo(const QString& text, bool atMessagePosition);
    QLabel* labelFor(Label label) const;
    void syncPracticeTexts();
    void prepareCellFonts();
    void ensureCellFont(int font);
    void drawCellText(QPainter& painter, int font, const QPoint& at, const QString& text);

    struct Core;
    std::unique_ptr<Core> core_;
    Options options_;
    SharedState state_;
    WindowLayout layout_;
    // Where the compositor places the window (Wayland), it is maximised and
    // laid out for the size it was given; until then that size is empty.
    bool compositorPlaces_ = false;
    QSize compositorSize_;
    bool shown_ = false;
    bool inFocusOut_ = false;
    bool firstShowFailed_ = false;
    std::string today_;  // yyyymmdd

    TickSource* tickOverride_ = nullptr;
    TOKDlg* okDlg_ = nullptr;
    AnalysisWindow* analysis_ = nullptr;  // made when first opened
    TAboutBox* aboutBox_ = nullptr;

    // Controls.
    QFrame* pLine_ = nullptr;
    QFrame* panel1_ = nullptr;
    QFrame* panel2_ = nullptr;
    QFrame* panel3_ = nullptr;
    QComboBox* comb1_ = nullptr;
    QComboBox* comb2_ = nullptr;
    QLineEdit* eMname_ = nullptr;
    QPushButton* bStart_ = nullptr;
    QPushButton* bStop_ = nullptr;
    QPushButton* bEnd_ = nullptr;
    QPushButton* bMonDel_ = nullptr;
    QPushButton* bFinp_ = nullptr;
    GridWidget* sg1_ = nullptr;
    GridWidget* sg2_ = nullptr;
    GridWidget* sg3_ = nullptr;
    QGroupBox* rg1_ = nullptr;
    QGroupBox* rg2_ = nullptr;
    QGroupBox* rg3_ = nullptr;
    QGroupBox* rg4_ = nullptr;
    QGroupBox* rg6_ = nullptr;
    QGroupBox* rg7_ = nullptr;
    QButtonGroup* rg1Buttons_ = nullptr;
    QButtonGroup* rg2Buttons_ = nullptr;
    QButtonGroup* rg3Buttons_ = nullptr;
    QButtonGroup* rg4Buttons_ = nullptr;
    QButtonGroup* rg6Buttons_ = nullptr;
    QButtonGroup* rg7Buttons_ = nullptr;
    QStatusBar* sBar1_ = nullptr;
    std::array<QLabel*, 7> statusPanels_{};
    std::array<QAction*, 2> romaActions_{};  // 標準, 拡張
    QLabel* romaPanel_ = nullptr;            // shown in the status bar in extended mode
    QTimer* timer1_ = nullptr;
    std::map<Ctl, QWidget*> placed_;  // controls the layout moves
    std::map<Label, QLabel*> labels_;
    // Cell fonts: size 1 plain and bold, size 2 plain and bold, headers.
    enum { kCellFont1 = 0, kCellFont2 = 2, kHeaderFont = 4, kCellFontCount = 5 };
    std::array<QFont, kCellFontCount> cellFonts_;
    std::array<int, kCellFontCount> cellFontRaise_{};
    int cellFontsReady_ = 0;  // bit per cell font
    std::array<QHash<QString, QStaticText>, kCellFontCount> cellTexts_;
    QLabel* l5_ = nullptr;
    QLabel* l6_ = nullptr;
    // Editor screen: the controls entering it hid, shown again on leaving;
    // where the key hint label stood before a hint moved it.
    std::vector<QWidget*> hiddenByEditor_;
    int savedHintLeft_ = -1;
    bool editorFitted_ = false;
};

}  // namespace hayate::gui
