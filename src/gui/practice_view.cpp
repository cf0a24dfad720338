#include "gui/practice_view.h"

#include <QCursor>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "exercise/exercise_stats.h"
#include "exercise/input_method.h"
#include "exercise/practice_grid.h"
#include "gui/caption_fit.h"
#include "gui/controls.h"
#include "gui/focus_combo_box.h"
#include "gui/grid_widget.h"
#include "gui/kana_keys.h"
#include "gui/messages.h"
#include "gui/sjis_qt.h"
#include "gui/view_host.h"
#include "problems/problem_file.h"
#include "problems/problem_text.h"
#include "records/record_completion.h"
#include "records/record_store.h"

namespace hayate::gui {

namespace {

const char16_t* const kCourseNames[] = {u"アルファベット", u"数字（テンキー不可）",
                                        u"アルファベット＋数字", u"ローマ字",
                                        u"キータッチ２０００"};

}  // namespace

PracticeView::PracticeView(SharedState& state, ViewHost& host, QWidget* parent)
    : QWidget(parent), state_(state), host_(host) {
    setObjectName("PracticeView");
    createControls();
}

void PracticeView::createControls() {
    panel1_ = new QFrame(this);
    panel1_->setObjectName("Panel1");
    panel2_ = new QFrame(panel1_);
    panel2_->setObjectName("Panel2");
    panel2_->setFrameShape(QFrame::StyledPanel);
    panel2_->setFrameShadow(QFrame::Sunken);
    placed_[Ctl::Panel2] = panel2_;

    comb1_ = new FocusComboBox(panel1_);
    comb1_->setObjectName("Comb1");
    comb1_->setMaxVisibleItems(15);
    comb1_->installEventFilter(this);
    placed_[Ctl::Comb1] = comb1_;

    auto button = [this](const char* name, const QString& text, Ctl where) {
        auto* b = new QPushButton(text, panel1_);
        b->setObjectName(name);
        b->setAutoDefault(true);  // Enter presses the focused button
        b->installEventFilter(this);
        placed_[where] = b;
        return b;
    };
    bStart_ = button("BStart", QStringLiteral(u"F10開始"), Ctl::BStart);
    bStop_ = button("BStop", QStringLiteral(u"ESC 中止"), Ctl::BStop);
    bEnd_ = button("BEnd", QStringLiteral(u"F1終了"), Ctl::BEnd);
    bStop_->hide();
    using Button = ExerciseSession::Button;
    connect(bStart_, &QPushButton::clicked, this,
            [this] { act(session_->buttonPressed(Button::Start)); });
    connect(bStop_, &QPushButton::clicked, this,
            [this] { act(session_->buttonPressed(Button::Stop)); });
    connect(bEnd_, &QPushButton::clicked, this,
            [this] { act(session_->buttonPressed(Button::End)); });
    connect(comb1_, &QComboBox::activated, this, [this](int i) { chooseCourse(i); });

    struct Caption {
        const char* name;
        QString text;
        Ctl where;
    };
    const Caption captions[] = {
        {"L1", qtText(UserText::TimeLimitCaption), Ctl::L1},
        {"L11", QStringLiteral(u"入力文字数"), Ctl::L11},
        {"L12", QStringLiteral(u"経過時間"), Ctl::L12},
        {"L2", QStringLiteral(u"入力速度"), Ctl::L2},
        {"L13", QStringLiteral(u"文字／分"), Ctl::L13},
        {"L4", QStringLiteral(u"ミス回数"), Ctl::L4},
        {"L5", qtText(UserText::RomajiHintCaption), Ctl::L5},
        {"L6", QStringLiteral(u"打鍵数"), Ctl::L6},
        {"L21", QStringLiteral(u"最高入力文字数"), Ctl::L21},
        {"L22", QStringLiteral(u"達成日"), Ctl::L22},
    };
    for (const Caption& c : captions) placed_[c.where] = makeLabel(c.name, c.text, panel1_);
    l5_ = static_cast<QLabel*>(placed_[Ctl::L5]);
    l6_ = static_cast<QLabel*>(placed_[Ctl::L6]);

    struct Value {
        const char* name;
        Label label;
        Ctl where;
        const char* text;
    };
    const Value values[] = {
        {"LEtime", Label::TimeLimit, Ctl::LEtime, "   30"},
        {"LMoji", Label::CharactersTyped, Ctl::LMoji, "    0"},
        {"LTime", Label::ElapsedTime, Ctl::LTime, "    0"},
        {"LYmoji", Label::Speed, Ctl::LYmoji, "    0"},
        {"LMiss", Label::MissCount, Ctl::LMiss, "    0"},
        {"LDaken", Label::KeystrokeSpeed, Ctl::LDaken, ""},
        {"LRoma1", Label::RomajiHint1, Ctl::LRoma1, ""},
        {"LRoma2", Label::RomajiHint2, Ctl::LRoma2, ""},
        {"LRoma3", Label::RomajiHintRest, Ctl::LRoma3, ""},
        {"LSaikoM", Label::BestScore, Ctl::LSaikoM, ""},
        {"LSaikoD", Label::BestDate, Ctl::LSaikoD, ""},
        {"LMsg", Label::Message, Ctl::LMsg, ""},
    };
    for (const Value& v : values) {
        QLabel* l = makeLabel(v.name, QString::fromLatin1(v.text), panel1_);
        labels_[v.label] = l;
        placed_[v.where] = l;
    }
    for (Label teal : {Label::BestScore, Label::BestDate}) setLabelColour(teal, colour::kTeal);
    labels_[Label::BestScore]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labels_[Label::Message]->setAlignment(Qt::AlignCenter);
    setLabelColour(Label::Message, colour::kMaroon);
    for (Label roma : {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest})
        setLabelColour(roma, colour::kBlue);

    sg1_ = new GridWidget(41, 51, this);
    sg1_->setObjectName("SG1");
    sg1_->setShowGridLines(false);  // 40 columns fill the width exactly
    sg1_->setAttribute(Qt::WA_InputMethodEnabled, false);
    sg1_->installEventFilter(this);
    sg1_->setDrawCell([this](QPainter& p, int c, int r, const QRect& rect, CellState s) {
        SG1DrawCell(p, c, r, rect, s);
    });
    sg1_->setBlankCell(
        [this](int c, int r) {
            return session_ && sg1_->cellText(c, r).isEmpty() &&
                   session_->grid().at(c, r).colour != colour::kRed;
        },
        Qt::white);

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(1000);
    // The clock asks for each tick; a coarse timer would fire up to 5 % early.
    timer1_->setSingleShot(true);
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, [this] { session_->clockTick(); });
}

void PracticeView::createSession(CharTables& tables, ProblemFile& problems, RandomSource& random,
                                 RecordStore& records, ResultDialog& results) {
    problems_ = &problems;
    records_ = &records;
    practice_ = std::make_unique<ProblemPractice>(problems, tables, random);
    completion_ = std::make_unique<RecordCompletion>(records, state_, *this, results);
    session_ = std::make_unique<ExerciseSession>(state_, tables, random, practice_.get(), *this,
                                                 *this, *this, *completion_);
    sg1_->setCellText(0, 0, QStringLiteral("No"));
    for (int c = 1; c <= 40; ++c) sg1_->setCellText(c, 0, QString::asprintf("%2d", c));
    for (int r = 1; r <= 50; ++r) sg1_->setCellText(0, r, QString::asprintf("%2d", r));
    PracticeGrid& grid = session_->grid();
    for (int i = 0; i < PracticeGrid::kCells; ++i) grid.cell(i).colour = colour::kNone;
}

// ---------------------------------------------------------------- layout

void PracticeView::applyLayout(const WindowLayout& L, const QRect& area) {
    layout_ = &L;
    setGeometry(area);
    panel1_->setGeometry(0, 0, area.width(), L.panel1Height);
    for (auto& [ctl, widget] : placed_) placeControl(L[ctl], widget);
    for (QLabel* l : {labels_[Label::BestScore], labels_[Label::BestDate]}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    panel2_->lower();

    const Box& g = L.practiceGrid;
    // The grid fills the view below the top panel.
    placeCellGrid(sg1_, QRect(g.left, area.height() - g.height, g.width, g.height), L.practice,
                  L.cellFontSize1);
    cellText_.reset(L);
}

void PracticeView::fitCaptions(const WindowLayout& L) {
    CaptionRow top;
    top.parentWidth = L.client.width;
    for (Ctl c : {Ctl::Comb1,   Ctl::BStart, Ctl::BEnd,   Ctl::L21,    Ctl::LSaikoM, Ctl::L22,
                  Ctl::LSaikoD, Ctl::L1,     Ctl::LEtime, Ctl::L11,    Ctl::LMoji,   Ctl::L12,
                  Ctl::LTime,   Ctl::L2,     Ctl::LYmoji, Ctl::L13,    Ctl::L4,      Ctl::LMiss,
                  Ctl::L5,      Ctl::LRoma1, Ctl::LRoma2, Ctl::LRoma3, Ctl::L6,      Ctl::LDaken})
        top.controls.push_back(placed_.at(c));
    gui::fitCaptions(top);
    // The stop button takes the start button's place.
    bStop_->setGeometry(bStart_->geometry());
    bStop_->setFont(bStart_->font());
    shrinkToFit(bStop_);
}

void PracticeView::keepCursorInSight() {
    sg1_->setCurrentCell(sg1_->currentColumn(), sg1_->currentRow());
}

// ---------------------------------------------------------------- courses

void PracticeView::fillCourseList() {
    comb1_->clear();
    for (const char16_t* name : kCourseNames) comb1_->addItem(QString::fromUtf16(name));
    for (const ProblemHead& head : problems_->table()) comb1_->addItem(toQt(head.name));
    comb1_->setCurrentIndex(state_.courseIndex);
    setKanaMode(state_.kanaMode);
}

void PracticeView::showProblemName(int slot) {
    comb1_->setItemText(kFirstProblemCourse + slot, toQt(problems_->head(slot).name));
}

QStringList PracticeView::courseNames() const {
    QStringList names;
    for (int i = 0; i < comb1_->count(); ++i) names << comb1_->itemText(i);
    return names;
}

void PracticeView::chooseCourse(int index) {
    if (index < 0) {
        index = 0;
        comb1_->setCurrentIndex(0);
    }
    bool kana = index == kCourseRomaji;
    if (index >= kFirstProblemCourse) {
        const int slot = index - kFirstProblemCourse;
        if (problems_->head(slot).count == 0) {
            host_.messages().error(qtText(UserText::NoProblemMessage));
            comb1_->setCurrentIndex(state_.courseIndex);
            return;
        }
        problems_->loadSlot(slot);  // a failed load keeps the table's entry
        const int kind = problems_->head(slot).kind;
        int letterCase = state_.letterCase;
        adoptProblemKind(kind, letterCase, state_.caseMode);
        if (letterCase != state_.letterCase) host_.chooseLetterCase(letterCase);
        kana = kind == kKindRomaji;
    }
    state_.courseIndex = index;
    comb1_->setCurrentIndex(index);
    setKanaMode(kana);
    refreshBestLabels();
}

void PracticeView::setKanaMode(bool on) {
    state_.kanaMode = on;
    l5_->setVisible(on);
    l6_->setVisible(on);
    for (Label l :
         {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest, Label::KeystrokeSpeed})
        labels_[l]->clear();
}

void PracticeView::refreshBestLabels() {
    if (!session_) return;
    // The kana cells typed on the kana layout have records of their own.
    completion_->refreshBestLabels(state_.courseIndex, state_.settingIndex(),
                                   state_.courseInputMethod());
}

void PracticeView::showTimeLimit() {
    setLabelText(Label::TimeLimit, timeLimitLabelText(state_.timeLimitIndex));
}

// ---------------------------------------------------------------- acting on the session

void PracticeView::act(const ExerciseSession::KeyResult& result) {
    if (result.start) afterStart(*result.start);
    switch (result.action) {
        case ExerciseSession::KeyAction::RunEndCommand:
            host_.endCommand(true);
            break;
        case ExerciseSession::KeyAction::FocusCourseList:
            comb1_->setFocus(Qt::OtherFocusReason);
            break;
        case ExerciseSession::KeyAction::FocusStartButton:
            focusButton(true);
            break;
        case ExerciseSession::KeyAction::FocusStopButton:
            focusButton(false);
            break;
        case ExerciseSession::KeyAction::PlatformDefault:
        case ExerciseSession::KeyAction::Consumed:
            break;
    }
}

void PracticeView::afterStart(const ExerciseSession::StartResult& result) {
    using Outcome = ExerciseSession::StartResult::Outcome;
    switch (result.outcome) {
        case Outcome::Started:
            syncPracticeTexts();
            l5_->setText(toQt(hintCaptionText(session_->keys().inputMethod)));
            if (result.letterCaseChanged) host_.showLetterCase();
            break;
        case Outcome::ProblemRefused:
        case Outcome::NoProblemSource:
            host_.messages().error(toQt(practice_->refusalMessage()));
            break;
        case Outcome::SpaceSuppressed:
            break;
    }
}

void PracticeView::syncPracticeTexts() {
    const PracticeGrid& grid = session_->grid();
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        sg1_->setCellText(PracticeGrid::columnOf(i), PracticeGrid::rowOf(i),
                          toQt(grid.cell(i).text));
    }
}

void PracticeView::focusButton(bool start) {
    (start ? bStart_ : bStop_)->setFocus(Qt::OtherFocusReason);
}

void PracticeView::focusStartOrStop() {
    if (bStart_->isVisible()) {
        focusButton(true);
    } else if (bStop_->isVisible()) {
        focusButton(false);
    }
}

void PracticeView::redrawCursorCell() {
    sg1_->redrawCell(sg1_->currentColumn(), sg1_->currentRow());
}

QWidget* PracticeView::grid() const { return sg1_; }

// ---------------------------------------------------------------- display port

QLabel* PracticeView::labelFor(Label label) const {
    auto it = labels_.find(label);
    return it == labels_.end() ? nullptr : it->second;
}

void PracticeView::setLabelText(Label label, const std::string& text) {
    if (QLabel* l = labelFor(label)) l->setText(toQt(text));
}

void PracticeView::setLabelColour(Label label, Colour colour) {
    if (QLabel* l = labelFor(label)) setTextColour(l, colour);
}

void PracticeView::setLabelFont(Label label, bool bold, bool underline) {
    if (QLabel* l = labelFor(label)) {
        QFont f = l->font();
        f.setBold(bold);
        f.setUnderline(underline);
        l->setFont(f);
    }
}

void PracticeView::redrawCell(int column, int row) { sg1_->redrawCell(column, row); }
void PracticeView::setCurrentCell(int column, int row) { sg1_->setCurrentCell(column, row); }
void PracticeView::scrollGridToTop() { sg1_->setTopRow(1); }
void PracticeView::setGridEnabled(bool enabled) { sg1_->setEnabled(enabled); }

void PracticeView::focusGrid() {
    sg1_->setEnabled(true);
    sg1_->setFocus(Qt::OtherFocusReason);
}

void PracticeView::showStartButton(bool startVisible) {
    bStart_->setVisible(startVisible);
    bStop_->setVisible(!startVisible);
}

void PracticeView::focusStartButton() { focusButton(true); }

void PracticeView::movePointerToStopButton() {
    if (!pointerMoves_) return;
    QCursor::setPos(bStop_->mapToGlobal(bStop_->rect().center()));
}

std::uint32_t PracticeView::tickCount() {
    if (tickOverride_) return tickOverride_->tickCount();
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void PracticeView::setRunning(bool running) {
    if (running) {
        timer1_->start(1000);
    } else {
        timer1_->stop();
    }
}

void PracticeView::fireIn(int milliseconds) { timer1_->start(std::max(milliseconds, 1)); }

// ---------------------------------------------------------------- drawing

void PracticeView::SG1DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                               const CellState& state) {
    const WindowLayout& L = *layout_;
    if (state.fixed && !state.focused) {
        cellText_.draw(painter, CellText::kHeader,
                       QPoint(rect.left() + 2, rect.top() + L.textOffset2),
                       sg1_->cellText(column, row));
        return;
    }
    QColor background = Qt::white;
    if (state.focused) {
        host_.setStatusPanel(0, QString::asprintf("%3d : %3d ", column, row));
        background = state_.cursorColour == 0 ? QColor(255, 255, 0) : QColor(255, 255, 255);
    }
    const PracticeCell& cell = session_->grid().at(column, row);
    bool voiced = false;
    int lift = 0;
    if (state_.kanaMode) {
        // が..ぽ in Shift-JIS order are drawn a size smaller.
        const std::string& t = cell.text;
        voiced = t >= std::string("\x82\xAA") && t <= std::string("\x82\xDB");
    } else if (state_.letterCase == 1) {
        lift = 2;
    }
    QColor pen = Qt::black;
    if (cell.colour == colour::kBlue) {
        pen = Qt::blue;
    } else if (cell.colour == colour::kRed) {
        background = Qt::red;
    }
    painter.fillRect(rect, background);
    painter.setPen(pen);
    cellText_.draw(painter, cellText_.fontFor(voiced),
                   QPoint(rect.left(), rect.top() + L.textOffset1 - lift),
                   sg1_->cellText(column, row));
}

// ---------------------------------------------------------------- events

void PracticeView::SG1Exit() {
    // While an exercise runs, clicks and Tab cannot take the keyboard away.
    // Taking the focus back while Qt is still moving it away would fight
    // Qt's own focus change; it comes back right after.
    if (session_->keyGateClosed() && session_->gridEnabled()) {
        QTimer::singleShot(0, this, [this] {
            if (sg1_->isEnabled() && session_->keyGateClosed()) focusGrid();
        });
        return;
    }
    session_->gridFocusLost();
}

bool PracticeView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const std::optional<WinKey> key = pressedKey(event);
    if (watched == sg1_) {
        if (key) {
            session_->gridKey(key->virtualKey, key->byte,
                              jisKeyOf(*static_cast<QKeyEvent*>(event)));
            return true;
        }
        if (claimPlainKeys(event)) return false;
        if (type == QEvent::FocusIn) {
            session_->gridFocusGained();
            closeInputMethod();
        }
        if (type == QEvent::FocusOut) SG1Exit();
        return false;
    }
    if (watched == bStart_ || watched == bStop_ || watched == bEnd_) {
        if (key) {
            using Button = ExerciseSession::Button;
            const Button which = watched == bStart_  ? Button::Start
                                 : watched == bStop_ ? Button::Stop
                                                     : Button::End;
            const ExerciseSession::KeyResult result =
                session_->buttonKeyDown(which, key->virtualKey);
            act(result);
            if (result.action != ExerciseSession::KeyAction::PlatformDefault) return true;
        }
        if (type == QEvent::FocusIn && watched == bStart_) session_->startButtonFocusGained();
        return false;
    }
    if (watched == comb1_ && key) {
        const ExerciseSession::KeyResult result = session_->courseListKeyDown(key->virtualKey);
        act(result);
        return result.action != ExerciseSession::KeyAction::PlatformDefault;
    }
    return QWidget::eventFilter(watched, event);
}

// Here, where the core objects it owns are complete types.
PracticeView::~PracticeView() = default;

}  // namespace hayate::gui
