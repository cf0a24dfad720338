// The records screens: the best records of every course or the history of
// the current one in SG2, in the practice grid's place until the user
// confirms; and the deletion of records.
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>

#include "app/layout.h"
#include "exercise/practice_text.h"

namespace hayate {
class ExerciseDisplay;
class KanaRecords;
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
    // The records of kana-input results; null: none can be shown.
    void setKanaRecords(KanaRecords* records) { kanaRecords_ = records; }

    void applyLayout(const WindowLayout& layout, int gridTop);

    // `kana`: the courses whose kana-input records are shown. False when
    // those cannot be read: their rows are left empty.
    bool fillBest(const QStringList& courseNames, const std::array<bool, kCourseCount>& kana = {});
    // False when the history file (or the kana-input history) cannot be read.
    bool fillHistory(int course, bool kana = false);
    // In the place of `covered` (the practice grid), with the focus, until
    // the user confirms.
    void showUntilConfirmed(QWidget* covered);

    // Asks twice, then deletes the setting or the whole course.
    void deleteRecords(int course, int setting, const Messages& messages, bool kana = false);

  private:
    void setSettingTitles();
    // The steps of a deletion: false where one failed.
    bool deleteSetting(int course, int setting);
    bool deleteCourse(int course);
    bool clearKanaRecords(int course, int setting, bool wholeCourse);
    void SG2DrawCell(QPainter& painter, int column, int row, const QRect& rect);

    RecordStore* records_ = nullptr;
    KanaRecords* kanaRecords_ = nullptr;
    ExerciseDisplay& labels_;
    const WindowLayout* layout_ = nullptr;
    GridWidget* sg2_ = nullptr;
};

}  // namespace hayate::gui
