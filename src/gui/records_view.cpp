#include "gui/records_view.h"

#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

#include "app/screen_fit.h"
#include "exercise/exercise_ports.h"
#include "gui/faces.h"
#include "gui/grid_widget.h"
#include "gui/messages.h"
#include "gui/sjis_qt.h"
#include "records/record_completion.h"
#include "records/record_format.h"
#include "records/record_store.h"

namespace hayate::gui {

RecordsView::RecordsView(ExerciseDisplay& labels, QWidget* parent)
    : QWidget(parent), labels_(labels) {
    setObjectName("RecordsView");
    sg2_ = new GridWidget(7, 16, this);
    sg2_->setObjectName("SG2");
    sg2_->setFocusPolicy(Qt::NoFocus);
    sg2_->setDrawCell([this](QPainter& p, int c, int r, const QRect& rect, CellState) {
        SG2DrawCell(p, c, r, rect);
    });
    hide();
}

void RecordsView::applyLayout(const WindowLayout& L, int gridTop) {
    layout_ = &L;
    setGeometry(L.recordsGrid.left, gridTop, L.recordsWidth, L.recordsGrid.height);
    sg2_->setGeometry(0, 0, L.recordsWidth, L.recordsGrid.height);
    for (int c = 0; c < 7; ++c)
        sg2_->setColumnWidth(c, L.recordsColumnWidths[static_cast<std::size_t>(c)]);
    for (int r = 0; r < 16; ++r) sg2_->setRowHeight(r, L.recordsRowHeight);
    QFont font = face(Face::Gothic);
    font.setPixelSize(pointsToPixels(L.recordsFontSize));
    sg2_->setFont(font);
}

void RecordsView::setSettingTitles() {
    for (int s = 0; s < kSettingCount; ++s) sg2_->setCellText(s + 1, 0, toQt(settingTitle(s)));
}

bool RecordsView::fillBest(const QStringList& courseNames,
                           const std::array<bool, kCourseCount>& kana) {
    std::array<std::optional<CourseBest>, kCourseCount> kanaBest;
    bool complete = true;
    for (int course = 0; course < kCourseCount; ++course) {
        const auto i = static_cast<std::size_t>(course);
        if (!kana[i]) continue;
        if (kanaRecords_) kanaBest[i] = kanaRecords_->readBest(course);
        // Unreadable kana records leave their rows empty, not the whole table.
        if (!kanaBest[i]) {
            kanaBest[i] = CourseBest{};
            complete = false;
        }
    }
    for (int c = 0; c < 7; ++c)
        sg2_->setColumnWidth(c, layout_->recordsColumnWidths[static_cast<std::size_t>(c)]);
    sg2_->setCellText(0, 0, QStringLiteral(u"コース名"));
    setSettingTitles();
    for (int course = 0; course < kCourseCount; ++course) {
        sg2_->setCellText(0, course + 1, courseNames.value(course));
        const std::optional<CourseBest>& k = kanaBest[static_cast<std::size_t>(course)];
        for (int s = 0; s < kSettingCount; ++s) {
            const auto si = static_cast<std::size_t>(s);
            const std::int32_t date = k ? k->date[si] : records_->bestDate(course, s);
            const std::int32_t score = k ? k->score[si] : records_->bestScore(course, s);
            // The date decides: a score without a date is no record.
            sg2_->setCellText(s + 1, course + 1,
                              date != 0 ? toQt(recordCellText(score, date)) : QString());
        }
    }
    return complete;
}

bool RecordsView::fillHistory(int course, bool kana) {
    std::optional<CourseHistory> history;
    if (!kana)
        history = records_->readHistory(course);
    else if (kanaRecords_)
        history = kanaRecords_->readHistory(course);
    if (!history) return false;
    const int w = static_cast<int>((sg2_->width() - 2) / 6.0 + 0.5);
    sg2_->setColumnWidth(0, 2);
    for (int c = 1; c < 7; ++c) sg2_->setColumnWidth(c, w);
    sg2_->setCellText(0, 0, QString());
    setSettingTitles();
    for (int k = 0; k < kHistoryLength; ++k) {
        sg2_->setCellText(0, k + 1, QString());
        for (int s = 0; s < kSettingCount; ++s) {
            const auto si = static_cast<std::size_t>(s);
            const auto ki = static_cast<std::size_t>(k);
            const std::int32_t date = history->date[si][ki];
            sg2_->setCellText(
                s + 1, k + 1,
                date != 0 ? toQt(recordCellText(history->score[si][ki], date)) : QString());
        }
    }
    return true;
}

void RecordsView::showUntilConfirmed(QWidget* covered) {
    show();
    raise();
    sg2_->setFocus(Qt::OtherFocusReason);
    covered->hide();
    QMessageBox box(QMessageBox::Information, window()->windowTitle(), qtText(UserText::ConfirmOk),
                    QMessageBox::Yes, window());
    box.setObjectName("RecordsConfirm");
    box.button(QMessageBox::Yes)->setText(qtText(UserText::QuestionYes));
    box.adjustSize();
    box.move(50, 50);
    box.exec();
    hide();
    covered->show();
}

void RecordsView::SG2DrawCell(QPainter& painter, int column, int row, const QRect& rect) {
    painter.drawText(
        QPoint(rect.left() + 2, rect.top() + layout_->textOffset1 + painter.fontMetrics().ascent()),
        sg2_->cellText(column, row));
}

void RecordsView::deleteRecords(int course, int setting, const Messages& messages, bool kana) {
    if (!messages.ask(qtText(UserText::DeleteCourseRecordsQuestion), false)) return;
    const bool wholeCourse = messages.ask(qtText(UserText::DeleteAllCourseRecordsQuestion), false);
    // A failing step ends the deletion there, silently; what was done stays done.
    const bool done = kana          ? clearKanaRecords(course, setting, wholeCourse)
                      : wholeCourse ? deleteCourse(course)
                                    : deleteSetting(course, setting);
    if (!done) return;
    messages.information(wholeCourse ? qtText(UserText::AllCourseRecordsDeleted)
                                     : qtText(UserText::CourseSettingRecordsDeleted));
}

bool RecordsView::deleteSetting(int course, int setting) {
    const auto si = static_cast<std::size_t>(setting);
    records_->setBest(course, setting, 0, 0);
    if (!records_->modifyBest(course, [si](CourseBest& b) {
            b.score[si] = 0;
            b.date[si] = 0;
        }))
        return false;
    labels_.setLabelText(Label::BestScore, std::string());
    labels_.setLabelText(Label::BestDate, std::string());
    sg2_->setCellText(setting + 1, course + 1, QString());
    return records_->modifyHistory(course,
                                   [setting](CourseHistory& h) { h.clearSetting(setting); });
}

bool RecordsView::deleteCourse(int course) {
    for (int s = 0; s < kSettingCount; ++s) records_->setBest(course, s, 0, 0);
    if (!records_->writeBest(course, CourseBest{})) return false;
    labels_.setLabelText(Label::BestScore, std::string());
    labels_.setLabelText(Label::BestDate, std::string());
    for (int s = 0; s < kSettingCount; ++s) sg2_->setCellText(s + 1, course + 1, QString());
    return records_->modifyHistory(course, [](CourseHistory& h) { h = CourseHistory{}; });
}

bool RecordsView::clearKanaRecords(int course, int setting, bool wholeCourse) {
    // Bests and history go together, in one step.
    if (!kanaRecords_ ||
        !kanaRecords_->clear(course, wholeCourse ? std::nullopt : std::optional<int>(setting)))
        return false;
    labels_.setLabelText(Label::BestScore, std::string());
    labels_.setLabelText(Label::BestDate, std::string());
    for (int s = 0; s < kSettingCount; ++s)
        if (wholeCourse || s == setting) sg2_->setCellText(s + 1, course + 1, QString());
    return true;
}

}  // namespace hayate::gui
