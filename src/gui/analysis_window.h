// TAnalysis: the weak-spot analysis screen (成績 › 分析). It reads the
// exercise journal and the record files and shows where the misses come
// from: a heat map of the keyboard, the speed and accuracy over time with
// the best record and its history, and the ten weakest characters.
#pragma once

#include <QDialog>

#include "gui/analysis_screen.h"
#include "journal/journal.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace hayate {
class RecordStore;
}

namespace hayate::gui {

class KeyboardHeatmap;

class AnalysisWindow : public QDialog {
    Q_OBJECT
  public:
    using Source = AnalysisSource;

    explicit AnalysisWindow(QWidget* parent = nullptr);

    // Fills the screen from `source` with the course filter on its course.
    void open(Source source);
    // Reads the journal again for the filters chosen.
    void refresh();

    journal::Filter filter() const;       // period and course, for the key map and table
    journal::Filter chartFilter() const;  // the chart's: course and setting, finished exercises
    // The wrong keys and characters behind a key's misses, as the key list shows them.
    QString keyDetails(int keyId) const;

  private:
    void build();
    void fill();
    void fillKeyMap();
    void fillChart();
    void fillWeakest();
    void showKey(int keyId);
    void setSummary(const QString& text);
    void exportCsv();
    void weakSpotPractice();

    Source source_;
    std::vector<journal::KeyStat> keyStats_;

    QComboBox* period_ = nullptr;
    QComboBox* course_ = nullptr;
    QComboBox* input_ = nullptr;  // all, romaji, kana
    QPushButton* export_ = nullptr;
    QPushButton* weak_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* summary_ = nullptr;
    KeyboardHeatmap* keyMap_ = nullptr;
    QLabel* keyInfo_ = nullptr;
    QChartView* chartView_ = nullptr;
    QTableWidget* weakest_ = nullptr;
};

}  // namespace hayate::gui
