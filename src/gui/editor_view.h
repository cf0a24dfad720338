// The problem editor screen: the slot list, name field, kind and unit
// groups, delete and import buttons in the top panel, and the editor grid
// SG3. It owns the problem editor; what concerns the practice screen (course
// names, the current course) it tells its host.
#pragma once

#include <QWidget>
#include <map>
#include <memory>

#include "app/layout.h"
#include "exercise/shared_state.h"
#include "gui/cell_text.h"
#include "problems/problem_editor.h"

class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

#include "gui/reading_preview.h"
#include "reading/reading_service.h"

namespace hayate {
class CharTables;
class ProblemFile;
}  // namespace hayate

namespace hayate::gui {

class EditorHost;
class GridWidget;
class EditorGridAdapter;
struct CellState;

class EditorView : public QWidget {
    Q_OBJECT
  public:
    EditorView(CharTables& tables, ProblemFile& problems, SharedState& state, EditorHost& host,
               QWidget* parent);
    ~EditorView() override;

    ProblemEditor& editor() { return *editor_; }
    // Open: the grid shows (from the end of entering to leaving).
    bool gridVisible() const;
    void focusGrid();

    // Places and fits the controls; a key hint showing stays.
    void applyLayout(const WindowLayout& layout, const QRect& area);
    void keepCursorInSight();
    // Shows the screen for the editor's slot, the focus in the slot list.
    void enter();
    void leave();
    void fillSlotList();
    // 問題 › テキストから作成: pasted text into the grid, read as the romaji kind.
    void createFromText();
    // How the readings' preview is confirmed; modally by default.
    void setPreviewConfirm(PreviewConfirm confirm) { previewConfirm_ = std::move(confirm); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void fitControls();
    void storeAndLeave();
    ProblemEditor::SlotContent loadSlot(int slot);
    void followKindLetterCase(int kind);
    void showKindAndUnit();
    void Comb2Change(int index);
    void EMnameEnter();
    void EMnameExit();
    void EMnameConfirm();
    void SG3KeyDown(int virtualKey);
    void SG3Enter();
    void SG3DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                     const CellState& state);
    bool controlKeyDown(QObject* control, int virtualKey);
    void showKeyHint(EditorControl control);
    void showKeyHintText(const QString& text);
    void clearKeyHint();
    void BMonDelClick();
    void BFinpClick();
    // False for an empty text, which leaves the folder and the focus as they are.
    bool importText(std::string_view bytes);

    CharTables& tables_;
    ProblemFile& problems_;
    SharedState& state_;
    EditorHost& host_;
    std::unique_ptr<EditorGridAdapter> gridView_;
    std::unique_ptr<ProblemEditor> editor_;
    ReadingService readings_;
    PreviewConfirm previewConfirm_;
    const WindowLayout* layout_ = nullptr;
    QRect area_;
    CellText cellText_;
    int hintHomeLeft_ = 0;  // where the key hint label rests, as fitted

    QFrame* panel1_ = nullptr;
    QComboBox* comb2_ = nullptr;
    QLineEdit* eMname_ = nullptr;
    QPushButton* bMonDel_ = nullptr;
    QPushButton* bFinp_ = nullptr;
    QGroupBox* rg6_ = nullptr;
    QGroupBox* rg7_ = nullptr;
    QButtonGroup* rg6Buttons_ = nullptr;
    QButtonGroup* rg7Buttons_ = nullptr;
    QLabel* lMsg_ = nullptr;
    GridWidget* sg3_ = nullptr;
    std::map<Ctl, QWidget*> placed_;
};

}  // namespace hayate::gui
