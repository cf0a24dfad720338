// The records screens: the best records of every course or the history of
// the current one in SG2, in the practice grid's place until the user
// confirms; and the deletion of records.
#pragma once

#include <QStringList>
#include <QWidget>

#include "app/layout.h"

namespace hayate {
class ExerciseDisplay;
class RecordStore;
}  // namespace hayate

namespace hayate::gui {

class GridWidget;
class Messages;
struct CellState;

class RecordsView : public QWidget {
    Q_OBJECT
  public:
    // `labels` shows the best record of the current course and setting.
    RecordsView(ExerciseDisplay& labels, QWidget* parent);
    // Once the start-up has read the record files.
    void setRecords(RecordStore& records) { records_ = &records; }

    void applyLayout(const WindowLayout& layout, int gridTop);

    void fillBest(const QStringList& courseNames);
    // False when the history file cannot be read.
    bool fillHistory(int course);
    // In the place of `covered` (the practice grid), with the focus, until
    // the user confirms.
    void showUntilConfirmed(QWidget* covered);

    // Asks twice, then deletes the setting or the whole course.
    void deleteRecords(int course, int setting, const Messages& messages);

  private:
    void setSettingTitles();
    void SG2DrawCell(QPainter& painter, int column, int row, const QRect& rect);

    RecordStore* records_ = nullptr;
    ExerciseDisplay& labels_;
    const WindowLayout* layout_ = nullptr;
    GridWidget* sg2_ = nullptr;
};

}  // namespace hayate::gui
