// The records screens of the main window: the best records of all courses and
// the history of the current course in SG2, and the deletion of records.
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

#include "gui/main_window_core.h"
#include "records/record_format.h"
#include "records/record_store.h"

namespace hayate::gui {

namespace {

void setSettingTitles(GridWidget* grid) {
    for (int s = 0; s < kSettingCount; ++s) grid->setCellText(s + 1, 0, toQt(settingTitle(s)));
}

}  // namespace

void TForm1::SeiDspClick() {
    if (core_->session->inputMode() != InputMode::Idle) return;
    for (int c = 0; c < 7; ++c)
        sg2_->setColumnWidth(c, layout_.recordsColumnWidths[static_cast<std::size_t>(c)]);
    sg2_->setCellText(0, 0, QStringLiteral(u"コース名"));
    setSettingTitles(sg2_);
    const RecordStore& records = core_->startup.records();
    for (int course = 0; course < kCourseCount; ++course) {
        sg2_->setCellText(0, course + 1, comb1_->itemText(course));
        for (int s = 0; s < kSettingCount; ++s) {
            const std::int32_t date = records.bestDate(course, s);
            // The date decides: a score without a date is no record.
            sg2_->setCellText(
                s + 1, course + 1,
                date != 0 ? toQt(recordCellText(records.bestScore(course, s), date)) : QString());
        }
    }
    showRecordsGrid();
}

void TForm1::SeiUpdClick() {
    if (core_->session->inputMode() != InputMode::Idle) return;
    const std::optional<CourseHistory> history =
        core_->startup.records().readHistory(state_.courseIndex);
    if (!history) return;
    const int w = static_cast<int>((sg2_->width() - 2) / 6.0 + 0.5);
    sg2_->setColumnWidth(0, 2);
    for (int c = 1; c < 7; ++c) sg2_->setColumnWidth(c, w);
    sg2_->setCellText(0, 0, QString());
    setSettingTitles(sg2_);
    for (int k = 0; k < kHistoryLength; ++k) {
        sg2_->setCellText(0, k + 1, QString());
        for (int s = 0; s < kSettingCount; ++s) {
            const std::int32_t date =
                history->date[static_cast<std::size_t>(s)][static_cast<std::size_t>(k)];
            const std::int32_t score =
                history->score[static_cast<std::size_t>(s)][static_cast<std::size_t>(k)];
            sg2_->setCellText(s + 1, k + 1,
                              date != 0 ? toQt(recordCellText(score, date)) : QString());
        }
    }
    showRecordsGrid();
}

void TForm1::showRecordsGrid() {
    sg2_->show();
    sg2_->raise();
    sg2_->setFocus(Qt::OtherFocusReason);
    sg1_->hide();

    QMessageBox box(QMessageBox::Information, windowTitle(), toQt(sjisText(UserText::ConfirmOk)), QMessageBox::Yes,
                    this);
    box.setObjectName("RecordsConfirm");
    box.button(QMessageBox::Yes)->setText(QStringLiteral(u"はい(&Y)"));
    box.adjustSize();
    box.move(50, 50);
    box.exec();

    sg2_->hide();
    sg1_->show();
    if (bStart_->isVisible()) {
        bStart_->setFocus(Qt::OtherFocusReason);
    } else if (bStop_->isVisible()) {
        bStop_->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::SG2DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                         const CellState&) {
    painter.drawText(
        QPoint(rect.left() + 2, rect.top() + layout_.textOffset1 + painter.fontMetrics().ascent()),
        sg2_->cellText(column, row));
}

void TForm1::SeiDelClick() {
    if (!askYesNo(QStringLiteral(u"現在のコースの成績を削除しますか"), false)) return;
    const bool wholeCourse =
        askYesNo(QStringLiteral(u"現在のコースの全ての成績を削除しますか"), false);
    RecordStore& records = core_->startup.records();
    const int course = state_.courseIndex;
    const int setting = state_.settingIndex();
    // A failing step ends the deletion there; what was done stays done.
    if (!wholeCourse) {
        records.setBest(course, setting, 0, 0);
        if (!records.modifyBest(course, [setting](CourseBest& b) {
                b.score[static_cast<std::size_t>(setting)] = 0;
                b.date[static_cast<std::size_t>(setting)] = 0;
            }))
            return;
        setLabelText(Label::BestScore, std::string());
        setLabelText(Label::BestDate, std::string());
        sg2_->setCellText(setting + 1, course + 1, QString());
        if (!records.modifyHistory(course,
                                   [setting](CourseHistory& h) { h.clearSetting(setting); }))
            return;
        informationBox(QStringLiteral(u"現在のコースの現在の設定の成績を削除しました"));
        return;
    }
    for (int s = 0; s < kSettingCount; ++s) records.setBest(course, s, 0, 0);
    if (!records.writeBest(course, CourseBest{})) return;
    setLabelText(Label::BestScore, std::string());
    setLabelText(Label::BestDate, std::string());
    for (int s = 0; s < kSettingCount; ++s) sg2_->setCellText(s + 1, course + 1, QString());
    if (!records.modifyHistory(course, [](CourseHistory& h) { h = CourseHistory{}; })) return;
    informationBox(QStringLiteral(u"現在のコースの全ての成績を削除しました"));
}

}  // namespace hayate::gui
