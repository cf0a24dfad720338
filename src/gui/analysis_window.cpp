#include "gui/analysis_window.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <filesystem>

#include "gui/keyboard_heatmap.h"
#include "gui/qt_japanese.h"
#include "gui/sjis_qt.h"
#include "journal/jis_keys.h"
#include "records/record_format.h"
#include "records/record_store.h"
#include "text/jis_kana_layout.h"
#include "text/user_texts.h"

namespace hayate::gui {

namespace {

constexpr int kWeakestRows = 10;

// A stored score in characters per minute: the timed settings store the
// characters typed within the limit, the untimed ones the speed itself.
double scoreAsSpeed(int setting, int score) {
    return setting / 2 == 0 ? score * 2.0 : static_cast<double>(score);
}

// Noon of a yyyymmdd date number, so that the point sits in the middle of its day.
QDateTime dateNumberTime(std::int32_t date) {
    const QDate d(date / 10000, date / 100 % 100, date % 100);
    return QDateTime(d, QTime(12, 0));
}

QString keyLabel(char c) {
    if (c == ' ') return QStringLiteral(u"空白");
    // A key of the kana layout, by the kana it typed.
    if (const std::string& kana = kanaOfByte(static_cast<unsigned char>(c)); !kana.empty())
        return toQt(kana);
    if (c == '\\') return QStringLiteral(u"￥");
    return QString(QChar::fromLatin1(c).toUpper());
}

QString characterLabel(const std::string& sjis) {
    const QString text = toQt(sjis);
    return text.trimmed().isEmpty() ? QStringLiteral(u"空白") : text;
}

QStringList legendsOf(const jis::Key& key) {
    if (!key.name.empty()) return {toQt(key.name)};
    QStringList legends;
    const bool letter = (key.base >= 'a' && key.base <= 'z');
    if (letter) {
        legends << QString(QChar::fromLatin1(key.base).toUpper());
    } else {
        if (key.shifted) legends << keyLabel(key.shifted);
        if (key.base) legends << keyLabel(key.base);
    }
    if (!key.kana.empty()) legends << toQt(key.kana);
    return legends;
}

// A line of news that takes the room the row leaves it, never more: a long
// export path is cut in the middle and shown whole in the tooltip, so the
// window keeps the width of its screen.
class ElidedLabel : public QLabel {
  public:
    using QLabel::QLabel;
    void setFullText(const QString& text) {
        full_ = text;
        setToolTip(text);
        elide();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        elide();
    }

  private:
    void elide() {
        setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, contentsRect().width()));
    }
    QString full_;
};

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignRight) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

}  // namespace

AnalysisWindow::AnalysisWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("TAnalysis");
    // The main window waits while the screen is open, so that it never hides
    // an exercise; Esc closes it like the other screens.
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);
    setWindowTitle(QStringLiteral(u"分析"));
    build();
}

void AnalysisWindow::build() {
    period_ = new QComboBox(this);
    period_->setObjectName("CombPeriod");
    period_->addItems(
        {QStringLiteral(u"7日間"), QStringLiteral(u"30日間"), QStringLiteral(u"全期間")});
    period_->setCurrentIndex(1);
    course_ = new QComboBox(this);
    course_->setObjectName("CombCourse");
    input_ = new QComboBox(this);
    input_->setObjectName("CombInput");
    input_->addItems({toQt(sjisText(UserText::AllInputMethods)),
                      toQt(inputMethodStatusText(InputMethod::Romaji)),
                      toQt(inputMethodStatusText(InputMethod::Kana))});
    export_ = new QPushButton(QStringLiteral(u"CSV出力"), this);
    export_->setObjectName("BExport");
    weak_ = new QPushButton(QStringLiteral(u"弱点練習"), this);
    weak_->setObjectName("BWeak");
    close_ = new QPushButton(QStringLiteral(u"閉じる"), this);
    close_->setObjectName("BClose");
    // Enter must not export or start anything by surprise.
    for (QPushButton* b : {export_, weak_, close_}) b->setAutoDefault(false);
    summary_ = new ElidedLabel(this);
    summary_->setObjectName("LSummary");
    summary_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    const QString unavailable = qtText(UserText::AnalysisJournalUnavailable);
    summary_->setMinimumWidth(summary_->fontMetrics().horizontalAdvance(unavailable) + 4);

    keyMap_ = new KeyboardHeatmap(this);
    keyInfo_ = new QLabel(this);
    keyInfo_->setObjectName("LKeyInfo");
    keyInfo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    keyInfo_->setWordWrap(true);
    keyInfo_->setMinimumWidth(190);
    keyInfo_->setFrameShape(QFrame::StyledPanel);

    auto* chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chartView_ = new QChartView(chart, this);
    chartView_->setObjectName("ChartSpeed");
    chartView_->setRenderHint(QPainter::Antialiasing);

    weakest_ = new QTableWidget(kWeakestRows, 4, this);
    weakest_->setObjectName("SGWeak");
    weakest_->setHorizontalHeaderLabels({QStringLiteral(u"文字"), QStringLiteral(u"ミス率"),
                                         QStringLiteral(u"平均時間"), QStringLiteral(u"出現回数")});
    weakest_->verticalHeader()->setVisible(false);
    weakest_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    weakest_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    weakest_->setSelectionMode(QAbstractItemView::NoSelection);
    weakest_->setFocusPolicy(Qt::NoFocus);
    weakest_->setMinimumWidth(300);

    auto* filters = new QHBoxLayout;
    auto caption = [this](const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        return label;
    };
    filters->addWidget(caption(QStringLiteral(u"期間"), "LPeriod"));
    filters->addWidget(period_);
    filters->addSpacing(12);
    filters->addWidget(caption(QStringLiteral(u"コース"), "LCourse"));
    filters->addWidget(course_);
    filters->addSpacing(12);
    filters->addWidget(summary_, 1);
    filters->addWidget(export_);
    filters->addWidget(weak_);
    filters->addWidget(close_);

    // The input method beside the keyboard, where its presses show, so that
    // the row of filters keeps the width of the smallest screens.
    auto* input = new QHBoxLayout;
    input->addWidget(caption(toQt(sjisText(UserText::InputMethodCaption)), "LInput"));
    input->addWidget(input_, 1);
    auto* side = new QVBoxLayout;
    side->addLayout(input);
    side->addWidget(keyInfo_, 1);
    auto* keys = new QHBoxLayout;
    keys->addWidget(keyMap_, 1);
    keys->addLayout(side);

    auto* lower = new QHBoxLayout;
    lower->addWidget(chartView_, 1);
    auto* table = new QVBoxLayout;
    table->addWidget(caption(QStringLiteral(u"弱点の文字（ミス率の高い順）"), "LWeak"));
    table->addWidget(weakest_, 1);
    lower->addLayout(table);

    auto* all = new QVBoxLayout(this);
    all->addLayout(filters);
    all->addLayout(keys, 5);
    all->addLayout(lower, 6);

    connect(period_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(course_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(input_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(keyMap_, &KeyboardHeatmap::keyPointed, this, [this](int id) { showKey(id); });
    connect(export_, &QPushButton::clicked, this, [this] { exportCsv(); });
    connect(weak_, &QPushButton::clicked, this, [this] { weakSpotPractice(); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
}

void AnalysisWindow::open(Source source) {
    source_ = std::move(source);
    {
        const QSignalBlocker block(course_);
        course_->clear();
        course_->addItems(source_.courseNames);
        course_->setCurrentIndex(source_.course);
    }
    {
        const QSignalBlocker block(input_);
        input_->setCurrentIndex(source_.inputMethod == InputMethod::Kana ? 2 : 1);
    }
    // The screen fits the display it opens on, whatever the main window's size.
    QRect area = source_.area;
    if (area.isEmpty())
        if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen())
            area = screen->availableGeometry();
    if (!area.isEmpty()) {
        resize(std::min(1180, area.width() - 16), std::min(760, area.height() - 40));
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    export_->setEnabled(source_.journal != nullptr);
    refresh();
    show();
    raise();
    activateWindow();
}

journal::Filter AnalysisWindow::filter() const {
    journal::Filter f;
    static constexpr journal::Period kPeriods[] = {journal::Period::Days7, journal::Period::Days30,
                                                   journal::Period::All};
    f.since =
        journal::periodStart(kPeriods[std::clamp(period_->currentIndex(), 0, 2)], source_.now);
    if (course_->currentIndex() >= 0) f.courseIndex = course_->currentIndex();
    if (input_->currentIndex() == 1) f.inputMethod = InputMethod::Romaji;
    if (input_->currentIndex() == 2) f.inputMethod = InputMethod::Kana;
    return f;
}

journal::Filter AnalysisWindow::chartFilter() const {
    journal::Filter f = filter();
    f.settingIndex = source_.setting;
    // Only finished, ordinary exercises compare with the best record.
    f.includeStopped = false;
    f.includeWeakSpot = false;
    return f;
}

void AnalysisWindow::refresh() {
    fill();
    if (!source_.journal) return;
    const journal::Journal::Result read = source_.journal->takeReadResult();
    if (read.ok()) return;
    // A damaged journal was set aside part way: what was read before it
    // must not stand beside the new, empty journal.
    if (read.status == journal::Journal::Status::Corrupt) {
        fill();
        source_.journal->takeReadResult();
    }
    setSummary(toQt(read.message));
}

void AnalysisWindow::fill() {
    if (source_.journal) {
        const int count = source_.journal->exerciseCount(filter());
        setSummary(qtText(UserText::AnalysisExerciseCount).arg(count));
    } else {
        setSummary(qtText(UserText::AnalysisJournalUnavailable));
    }
    fillKeyMap();
    fillChart();
    fillWeakest();
}

void AnalysisWindow::setSummary(const QString& text) {
    static_cast<ElidedLabel*>(summary_)->setFullText(text);
}

void AnalysisWindow::fillKeyMap() {
    keyStats_.clear();
    if (source_.journal) keyStats_ = source_.journal->keyStats(filter());
    std::vector<HeatKey> heat;
    heat.reserve(jis::keys().size());
    for (const jis::Key& key : jis::keys()) {
        HeatKey h;
        h.id = key.id;
        h.units = QRectF(key.x, key.row, key.width, key.height);
        h.legends = legendsOf(key);
        heat.push_back(std::move(h));
    }
    for (const journal::KeyStat& s : keyStats_) {
        if (s.keyId < 0 || s.keyId >= static_cast<int>(heat.size())) continue;
        HeatKey& h = heat[static_cast<std::size_t>(s.keyId)];
        h.seen = s.presses + s.misses;
        h.missed = s.misses;
    }
    keyMap_->setKeys(std::move(heat));
    showKey(keyMap_->selectedKey());
}

QString AnalysisWindow::keyDetails(int keyId) const {
    const jis::Key* key = jis::keyById(keyId);
    if (!key) return qtText(UserText::AnalysisPointAtKey);
    QString text = qtText(UserText::AnalysisKeyHeading).arg(legendsOf(*key).join(QLatin1Char(' ')));
    const auto it = std::find_if(keyStats_.begin(), keyStats_.end(),
                                 [keyId](const journal::KeyStat& s) { return s.keyId == keyId; });
    if (it == keyStats_.end() || it->presses + it->misses == 0)
        return text + qtText(UserText::AnalysisKeyNotSeen);
    text += qtText(UserText::AnalysisKeyCounts)
                .arg(it->presses)
                .arg(it->misses)
                .arg(it->missRate() * 100.0, 0, 'f', 1);
    for (const journal::MissDetail& d : it->details)
        text += qtText(UserText::AnalysisKeyMistake)
                    .arg(characterLabel(d.character), keyLabel(d.wrongKey))
                    .arg(d.count);
    return text;
}

void AnalysisWindow::showKey(int keyId) { keyInfo_->setText(keyDetails(keyId)); }

void AnalysisWindow::fillChart() {
    QChart* chart = chartView_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    const int course = course_->currentIndex();
    const int setting = source_.setting;
    chart->setTitle(
        QStringLiteral(u"%1　%2").arg(course_->currentText(), toQt(settingTitle(setting))));

    auto* speed = new QLineSeries;
    speed->setName(QStringLiteral(u"入力速度（文字／分）"));
    auto* accuracy = new QLineSeries;
    accuracy->setName(QStringLiteral(u"正確さ（％）"));
    QDateTime first;
    QDateTime last;
    double top = 0;
    auto extend = [&](const QDateTime& t, double v) {
        if (!first.isValid() || t < first) first = t;
        if (!last.isValid() || t > last) last = t;
        top = std::max(top, v);
    };
    if (source_.journal) {
        const std::vector<journal::ExerciseSummary> rows =
            source_.journal->exercises(chartFilter());
        QList<QPointF> speeds;
        QList<QPointF> accuracies;
        speeds.reserve(static_cast<qsizetype>(rows.size()));
        accuracies.reserve(static_cast<qsizetype>(rows.size()));
        for (const journal::ExerciseSummary& e : rows) {
            const QDateTime t = QDateTime::fromSecsSinceEpoch(e.startedAt);
            const double cpm = e.charactersPerMinute();
            speeds.append({static_cast<double>(t.toMSecsSinceEpoch()), cpm});
            accuracies.append({static_cast<double>(t.toMSecsSinceEpoch()), e.accuracy() * 100.0});
            extend(t, cpm);
        }
        speed->replace(speeds);
        accuracy->replace(accuracies);
        // A line of one point draws nothing: a first exercise shows as a dot.
        for (QLineSeries* line : {speed, accuracy}) {
            line->setPointsVisible(line->count() == 1);
            line->setMarkerSize(4.5);
        }
    }

    // The records' view: the best line and the days it was raised, from the
    // journal for kana input, from the record files otherwise.
    auto* improvements = new QScatterSeries;
    improvements->setName(QStringLiteral(u"記録更新"));
    improvements->setMarkerSize(9);
    double best = 0;
    // Both ways of typing together have no records of their own to draw.
    const std::optional<InputMethod> method = filter().inputMethod;
    const bool kana = method == InputMethod::Kana;
    if (method && (kana ? source_.journal != nullptr : source_.records != nullptr) && course >= 0) {
        const auto s = static_cast<std::size_t>(setting);
        std::int32_t score = 0;
        std::int32_t date = 0;
        std::optional<CourseHistory> history;
        if (kana) {
            if (const std::optional<CourseBest> row = source_.journal->kanaBest(course)) {
                score = row->score[s];
                date = row->date[s];
            }
            history = source_.journal->kanaHistory(course);
        } else {
            score = source_.records->bestScore(course, setting);
            date = source_.records->bestDate(course, setting);
            history = source_.records->readHistory(course);
        }
        if (score > 0 && date != 0) best = scoreAsSpeed(setting, score);
        if (history) {
            for (int k = 0; k < kHistoryLength; ++k) {
                const std::int32_t date = history->date[s][static_cast<std::size_t>(k)];
                if (date == 0) continue;
                const QDateTime t = dateNumberTime(date);
                if (!t.isValid()) continue;
                const double v =
                    scoreAsSpeed(setting, history->score[s][static_cast<std::size_t>(k)]);
                improvements->append(static_cast<double>(t.toMSecsSinceEpoch()), v);
                extend(t, v);
            }
        }
    }
    if (!first.isValid()) {
        first = QDateTime::fromSecsSinceEpoch(source_.now).addDays(-7);
        last = QDateTime::fromSecsSinceEpoch(source_.now);
    }
    // Room at both ends, so that the first and last points are not cut in half.
    const qint64 pad = std::max<qint64>(first.secsTo(last) / 50, 1800);
    first = first.addSecs(-pad);
    last = last.addSecs(pad);
    auto* bestLine = new QLineSeries;
    bestLine->setName(QStringLiteral(u"最高記録"));
    if (best > 0) {
        bestLine->append(static_cast<double>(first.toMSecsSinceEpoch()), best);
        bestLine->append(static_cast<double>(last.toMSecsSinceEpoch()), best);
        top = std::max(top, best);
    }
    QPen dashed(QColor(0, 128, 128));
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(2);
    bestLine->setPen(dashed);
    speed->setColor(QColor(0, 0, 255));
    accuracy->setColor(QColor(0, 160, 0));
    improvements->setColor(QColor(255, 0, 0));

    auto* x = new QDateTimeAxis;
    // Points within two days would give every tick the same date: the
    // times of day tell them apart.
    const qint64 span = first.secsTo(last);
    x->setFormat(span > 300 * 86400 ? QStringLiteral("yy/MM")
                 : span < 2 * 86400 ? QStringLiteral("MM/dd hh:mm")
                                    : QStringLiteral("MM/dd"));
    x->setRange(first, last);
    x->setTickCount(span < 2 * 86400 ? 4 : 6);
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral(u"文字／分"));
    y->setRange(0, top > 0 ? top * 1.1 : 100);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%d"));
    auto* yAccuracy = new QValueAxis;
    yAccuracy->setTitleText(QStringLiteral(u"％"));
    yAccuracy->setRange(0, 100);
    yAccuracy->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    chart->addAxis(yAccuracy, Qt::AlignRight);
    for (QAbstractSeries* series :
         std::initializer_list<QAbstractSeries*>{speed, accuracy, bestLine, improvements}) {
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(series == accuracy ? yAccuracy : y);
    }
}

void AnalysisWindow::fillWeakest() {
    std::vector<journal::CharStat> rows;
    if (source_.journal) rows = source_.journal->weakestCharacters(filter(), kWeakestRows);
    weakest_->clearContents();
    for (int r = 0; r < static_cast<int>(rows.size()) && r < kWeakestRows; ++r) {
        const journal::CharStat& s = rows[static_cast<std::size_t>(r)];
        weakest_->setItem(r, 0, cell(characterLabel(s.character), Qt::AlignCenter));
        weakest_->setItem(r, 1, cell(QString::number(s.missRate() * 100.0, 'f', 1) + u'%'));
        weakest_->setItem(
            r, 2, cell(QString::number(s.meanMs / 1000.0, 'f', 2) + qtText(UserText::Seconds)));
        weakest_->setItem(r, 3, cell(QString::number(s.seen)));
    }
}

void AnalysisWindow::exportCsv() {
    if (!source_.journal) return;
    const std::filesystem::path journalPath(source_.journal->path());
    const QString suggested =
        QString::fromStdString((journalPath.parent_path() / journalPath.stem()).string() + ".csv");
    QFileDialog dialog(this, QStringLiteral(u"CSV出力"), suggested, QStringLiteral(u"CSV (*.csv)"));
    dialog.setObjectName("SaveDialog1");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(suggested);
    fitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string target = dialog.selectedFiles().first().toStdString();
    // The whole journal, whatever the filters: an export is a copy to keep.
    const journal::Journal::Result result = source_.journal->exportCsv(target, journal::Filter{});
    if (result.ok()) {
        setSummary(qtText(UserText::AnalysisExported).arg(QString::fromStdString(target)));
        return;
    }
    // A damaged journal was set aside: the screen shows the new one.
    if (result.status == journal::Journal::Status::Corrupt) refresh();
    const bool nothing = result.status == journal::Journal::Status::Empty;
    QMessageBox box(
        nothing ? QMessageBox::Information : QMessageBox::Warning, windowTitle(),
        result.message.empty() ? qtText(UserText::AnalysisNotExported) : toQt(result.message),
        QMessageBox::Ok, this);
    box.setObjectName(nothing ? "ExportEmpty" : "ExportFailed");
    box.exec();
}

void AnalysisWindow::weakSpotPractice() {
    if (!source_.startWeakSpotPractice) return;
    // The main window takes the keys only once this screen no longer blocks
    // it; with too little data the screen comes back after the message.
    hide();
    if (!source_.startWeakSpotPractice()) show();
}

}  // namespace hayate::gui
