// TForm1: the main window as a shell. It holds the menus, the status bar,
// the settings panel and the views (practice, records, problem editor), and
// wires them: a view asks the window for what lies outside it.
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <filesystem>
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
#include "gui/messages.h"
#include "gui/view_host.h"
#include "records/record_completion.h"

class QAction;
class QFrame;
class QMenu;
class QTimer;

namespace hayate::journal {
class Journal;
}

namespace hayate::gui {

class AnalysisWindow;
class EditorView;
class HelpWindow;
class OptionsPanel;
class PracticeView;
class RecordsView;
class StatusBar;
class TAboutBox;
class TOKDlg;

// Install before the first window: the fonts the window asks for, mapped to
// installed Japanese fonts.
void installFontSubstitutes();
QIcon programIcon();

class TForm1 : public QMainWindow, public ResultDialog, public SettingsDialogs, public EditorHost {
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
    void setTickSourceForTesting(TickSource* ticks);
    QTimer* timer1() const;
    bool firstShowFailed() const { return firstShowFailed_; }

    // ResultDialog
    void showResultAndWait(bool newRecord) override;
    void showSaveFailure(const std::string& message) override;
    // SettingsDialogs
    bool askToSave(std::string_view question) override;
    void confirmSaved(std::string_view message) override;
    void reportNotSaved(std::string_view message) override;
    // ViewHost
    const Messages& messages() const override { return messages_; }
    void setStatusPanel(int panel, const QString& text) override;
    void endCommand(bool guarded) override;
    void chooseLetterCase(int letterCase) override;
    void showLetterCase() override;
    // EditorHost
    void leaveEditor() override;
    void problemNamesChanged(int slot) override;
    void problemStored(int slot, int kind) override;
    void problemDeleted(int slot) override;
    std::filesystem::path dataFolder() const override;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Construction.
    void createControls();
    void createMenus();

    // Start-up steps.
    void FormCreate();
    void FormShow();
    // The start-up's notices in one message box.
    void showNotices();
    // Screen fit (main_window_layout.cpp).
    void applyLayout();
    ScreenArea screenArea() const;
    void fitControlCaptions();
    void watchScreen();
    void followScreen();
    void applySettingsToControls();

    // The editor view, made when first needed.
    EditorView& editorView();
    bool editorGridVisible() const;

    // Handlers, named after control and event.
    void RG1Click(int index);
    void RG2Click(int index);
    void RG3Click(int index);
    void RG4Click(int index);
    void HozonClick();
    void SyuryoClick();
    void HelpContentsClick();
    void HelpKeywordClick();
    HelpWindow* helpWindow();
    void HomePageClick();
    void AboutClick();
    // Records screens.
    void SeiDspClick();
    void SeiUpdClick();
    void SeiDelClick();
    // Whether the course's records shown are those of kana-input results:
    // in かな mode, for the courses whose cells are kana.
    bool kanaRecordsOf(int course) const;
    // Analysis screen (main_window_analysis.cpp).
    void SeiBunClick();
    // Romaji input mode, standard or extended (romaji_mode.cpp).
    void createRomajiModeMenu(QMenu* env);
    void createInputMethodMenu(QMenu* env);
    void RomaClick(int mode);
    void NyuryokuClick(int method);
    void showRomajiMode();
    // Problem editor and problem files (main_window_problems.cpp).
    void MonSakuClick();
    void MonTextClick();
    void FileHenClick();
    void FileSakuClick();

    // The exercise journal (main_window_journal.cpp).
    static constexpr int kJournalOpenDelayMs = 200;
    void createJournal();
    void openJournal();
    void finishJournalOpen();
    void journalNotice(const std::string& message);

    // Shared steps.
    void focusAfterSetting();
    void applySelection(const ExerciseSession::SelectionResult& result);
    void showTimeLimit();

    struct Core;
    std::unique_ptr<Core> core_;
    Options options_;
    SharedState state_;
    WindowLayout layout_;
    // Where the views stand: below the thin line, down to the settings panel.
    QRect viewArea_;
    Messages messages_{this};
    // Where the compositor places the window (Wayland), it is maximised and
    // laid out for the size it was given; until then that size is empty.
    bool compositorPlaces_ = false;
    QSize compositorSize_;
    bool shown_ = false;
    bool firstShowFailed_ = false;
    std::string today_;  // yyyymmdd

    TOKDlg* okDlg_ = nullptr;
    AnalysisWindow* analysis_ = nullptr;  // made when first opened
    TAboutBox* aboutBox_ = nullptr;

    QFrame* pLine_ = nullptr;
    PracticeView* practice_ = nullptr;
    RecordsView* records_ = nullptr;
    OptionsPanel* optionsPanel_ = nullptr;
    EditorView* editor_ = nullptr;
    StatusBar* sBar1_ = nullptr;
    std::array<QAction*, 2> romaActions_{};  // 標準, 拡張
    std::array<QAction*, 2> inputActions_{};  // ローマ字, かな
};

}  // namespace hayate::gui
