#include "gui/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStaticText>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "app/settings.h"
#include "app/startup.h"
#include "exercise/exercise_session.h"
#include "exercise/practice_grid.h"
#include "exercise/practice_text.h"
#include "exercise/random_source.h"
#include "gui/about_box.h"
#include "gui/cell_font.h"
#include "gui/faces.h"
#include "gui/focus_combo_box.h"
#include "gui/grid_widget.h"
#include "gui/help_window.h"
#include "gui/key_mapping.h"
#include "gui/main_window_core.h"
#include "gui/ok_dialog.h"
#include "gui/sjis_qt.h"
#include "gui/window_system.h"
#include "problems/problem_file.h"
#include "problems/problem_text.h"
#include "records/record_store.h"
#include "text/char_tables.h"
#include "text/nstr2.h"
#include "text/width_conversion.h"
#include "platform/version.h"

namespace hayate::gui {

namespace {

const char16_t* const kCourseNames[] = {u"アルファベット", u"数字（テンキー不可）",
                                        u"アルファベット＋数字", u"ローマ字",
                                        u"キータッチ２０００"};

// The program's messages carry CR LF line breaks; Qt breaks lines on LF alone.
QString display(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// Font sizes of the layout are points of a 96-dpi screen; the window is laid
// out in pixels, so the fonts are too.
int px(int points) { return (points * 96 + 36) / 72; }

QColor fromBgr(Colour c) { return QColor(c.red, c.green, c.blue); }

const QColor kTeal(0, 128, 128);

}  // namespace

void installFontSubstitutes() {
    static bool done = false;
    if (done) return;
    done = true;
    // IPA Mincho's 1 reads as an l on the buttons ("F1終了"); IPAex Mincho
    // tells them apart and keeps full-width characters full width, as the
    // requested face does, and IPA P Mincho at least tells them apart. Noto
    // Serif CJK would too, but its tall line box shrinks every label, and
    // opening its two faces costs milliseconds of every start.
    const QStringList mincho{QStringLiteral("IPAexMincho"), QStringLiteral("IPAPMincho"),
                             QStringLiteral("IPAMincho"), QStringLiteral(u"IPA明朝"),
                             QStringLiteral("Droid Sans Fallback")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral(u"IPAゴシック"),
                             QStringLiteral("Noto Sans Mono CJK JP"),
                             QStringLiteral("Droid Sans Fallback")};
    const QStringList pgothic{QStringLiteral("IPAPGothic"), QStringLiteral(u"IPA Pゴシック"),
                              QStringLiteral("Noto Sans CJK JP"),
                              QStringLiteral("Droid Sans Fallback")};
    QFont::insertSubstitutions(QStringLiteral(u"ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral(u"ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral(u"ＭＳ Ｐゴシック"), pgothic);
}

QIcon programIcon() {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1E, 0x4E, 0x9C));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    QFont f = face(QStringLiteral(u"ＭＳ ゴシック"));
    f.setPixelSize(44);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 64, 64), Qt::AlignCenter, QStringLiteral(u"疾"));
    return QIcon(pm);
}

namespace {

StartupOptions startupOptions(const TForm1::Options& o) {
    StartupOptions s;
    s.executable =
        o.executablePath.empty()
            ? std::filesystem::path(QCoreApplication::applicationFilePath().toStdString())
            : o.executablePath;
    s.arguments = o.arguments;
    if (!o.dataFolder.empty()) {
        const std::filesystem::path folder = o.dataFolder;
        s.chooseDataFolder = [folder](const std::filesystem::path&) { return folder; };
    }
    return s;
}

}  // namespace

TForm1::TForm1(Options options)
    : core_(std::make_unique<Core>(state_, startupOptions(options))), options_(std::move(options)) {
    if (options_.randomSeed) core_->random = Mt19937Source(*options_.randomSeed);
    compositorPlaces_ = options_.compositorPlaces.value_or(compositorPlacesWindows());
    installFontSubstitutes();
    setObjectName("Form1");
    setWindowTitle(QStringLiteral(u"ハヤテウチ"));
    QFont mainFont = face(QStringLiteral(u"ＭＳ 明朝"));
    mainFont.setPixelSize(px(12));
    setFont(mainFont);
    setAttribute(Qt::WA_DeleteOnClose, false);

    createControls();
    createMenus();
    FormCreate();
    // Laid out for its screen before it is first shown: showing then sizes
    // every control once, in its final font, and the window opens at its
    // final size. The show lays it out again, which changes nothing.
    if (!firstShowFailed_) applyLayout();
    // Into the status bar once they have their font: every insertion
    // measures every panel again.
    for (std::size_t i = 0; i < statusPanels_.size(); ++i)
        sBar1_->addWidget(statusPanels_[i], i == 5 ? 1 : 0);
}

TForm1::~TForm1() {
    delete okDlg_;
    delete aboutBox_;
}

// ---------------------------------------------------------------- controls

QLabel* TForm1::makeLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Opaque, so that a changed figure repaints the label alone and not the
    // panel behind it.
    label->setAutoFillBackground(true);
    return label;
}

QGroupBox* TForm1::makeRadioGroup(const char* name, const QString& caption,
                                  const QStringList& items, QButtonGroup** group, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(8, caption.isEmpty() ? 4 : 2, 8, 4);
    *group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        (*group)->addButton(radio, i);
        row->addWidget(radio);
    }
    return box;
}

void TForm1::createControls() {
    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    setCentralWidget(central);

    pLine_ = new QFrame(central);
    pLine_->setObjectName("PLine");
    pLine_->setFrameShape(QFrame::HLine);
    pLine_->setFrameShadow(QFrame::Sunken);

    panel1_ = new QFrame(central);
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
    comb2_ = new QComboBox(panel1_);
    comb2_->setObjectName("Comb2");
    comb2_->setMaxVisibleItems(10);
    comb2_->hide();
    placed_[Ctl::Comb2] = comb2_;

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
    bMonDel_ = button("BMonDel", QStringLiteral(u"問題削除"), Ctl::BMonDel);
    bFinp_ = button("BFinp", QStringLiteral(u"ファイルから取り込み"), Ctl::BFinp);
    bStop_->hide();
    bMonDel_->hide();
    bFinp_->hide();
    connect(bStart_, &QPushButton::clicked, this, [this] { BStartClick(); });
    connect(bStop_, &QPushButton::clicked, this, [this] { BStopClick(); });
    connect(bEnd_, &QPushButton::clicked, this, [this] { BEndClick(); });

    struct Caption {
        const char* name;
        const char16_t* text;
        Ctl where;
    };
    const Caption captions[] = {
        {"L1", u"制限時間", Ctl::L1},         {"L11", u"入力文字数", Ctl::L11},
        {"L12", u"経過時間", Ctl::L12},       {"L2", u"入力速度", Ctl::L2},
        {"L13", u"文字／分", Ctl::L13},       {"L4", u"ミス回数", Ctl::L4},
        {"L5", u"ローマ字＝", Ctl::L5},       {"L6", u"打鍵数", Ctl::L6},
        {"L21", u"最高入力文字数", Ctl::L21}, {"L22", u"達成日", Ctl::L22},
    };
    for (const Caption& c : captions)
        placed_[c.where] = makeLabel(c.name, QString::fromUtf16(c.text), panel1_);
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
    for (Label roma : {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest}) setLabelColour(roma, colour::kBlue);

    rg6_ = makeRadioGroup(
        "RG6", QString(),
        {QStringLiteral(u"英大文字・数字・記号"), QStringLiteral(u"ローマ字"),
         QStringLiteral(u"英小文字・数字・記号"), QStringLiteral(u"英大小混在・数字・記号")},
        &rg6Buttons_, panel1_);
    rg7_ = makeRadioGroup(
        "RG7", QString(),
        {QStringLiteral(u"１文字単位"), QStringLiteral(u"単語・文"), QStringLiteral(u"そのまま")},
        &rg7Buttons_, panel1_);
    rg6_->hide();
    rg7_->hide();
    placed_[Ctl::RG6] = rg6_;
    placed_[Ctl::RG7] = rg7_;

    sg1_ = new GridWidget(41, 51, central);
    sg1_->setObjectName("SG1");
    sg1_->setShowGridLines(false);  // 40 columns fill the width exactly
    sg1_->setAttribute(Qt::WA_InputMethodEnabled, false);
    sg1_->installEventFilter(this);
    sg1_->setDrawCell([this](QPainter& p, int c, int r, const QRect& rect, CellState s) {
        SG1DrawCell(p, c, r, rect, s);
    });
    sg1_->setBlankCell(
        [this](int c, int r) {
            return core_->session && sg1_->cellText(c, r).isEmpty() &&
                   core_->session->grid().at(c, r).colour != colour::kRed;
        },
        Qt::white);
    sg2_ = new GridWidget(7, 16, central);
    sg2_->setObjectName("SG2");
    sg2_->setFocusPolicy(Qt::NoFocus);
    sg2_->setDrawCell([this](QPainter& p, int c, int r, const QRect& rect, CellState s) {
        SG2DrawCell(p, c, r, rect, s);
    });
    sg2_->hide();
    sg3_ = new GridWidget(41, 51, central);
    sg3_->setObjectName("SG3");
    sg3_->setShowGridLines(false);
    sg3_->hide();

    panel3_ = new QFrame(central);
    panel3_->setObjectName("Panel3");
    rg1_ = makeRadioGroup(
        "RG1", QString(),
        {QStringLiteral(u"３０秒"), QStringLiteral(u"６０秒"), QStringLiteral(u"無制限")},
        &rg1Buttons_, panel3_);
    rg2_ =
        makeRadioGroup("RG2", QString(), {QStringLiteral(u"空白有り"), QStringLiteral(u"空白無し")},
                       &rg2Buttons_, panel3_);
    rg4_ =
        makeRadioGroup("RG4", QString(), {QStringLiteral(u"英大文字"), QStringLiteral(u"英小文字")},
                       &rg4Buttons_, panel3_);
    rg3_ =
        makeRadioGroup("RG3", QStringLiteral(u"入力カーソル色"),
                       {QStringLiteral(u"黄色"), QStringLiteral(u"無色")}, &rg3Buttons_, panel3_);
    placed_[Ctl::RG1] = rg1_;
    placed_[Ctl::RG2] = rg2_;
    placed_[Ctl::RG4] = rg4_;
    placed_[Ctl::RG3] = rg3_;
    connect(rg1Buttons_, &QButtonGroup::idClicked, this, [this](int i) { RG1Click(i); });
    connect(rg2Buttons_, &QButtonGroup::idClicked, this, [this](int i) { RG2Click(i); });
    connect(rg3Buttons_, &QButtonGroup::idClicked, this, [this](int i) { RG3Click(i); });
    connect(rg4Buttons_, &QButtonGroup::idClicked, this, [this](int i) { RG4Click(i); });
    connect(comb1_, &QComboBox::activated, this, [this](int i) { Comb1Change(i); });

    sBar1_ = new QStatusBar(this);
    sBar1_->setObjectName("SBar1");
    sBar1_->setSizeGripEnabled(false);
    setStatusBar(sBar1_);
    for (int i = 0; i < 7; ++i) {
        auto* panel = new QLabel(sBar1_);
        panel->setObjectName(QStringLiteral("SBar1Panel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAutoFillBackground(true);
        panel->setTextFormat(Qt::PlainText);
        panel->setAlignment((i >= 5 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        panel->setFont(face(QStringLiteral(u"ＭＳ ゴシック")));
        statusPanels_[static_cast<std::size_t>(i)] = panel;
    }
    statusPanels_[0]->setText(QStringLiteral("  1 :  1 "));

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(1000);
    // The clock asks for each tick; a coarse timer would fire up to 5 % early.
    timer1_->setSingleShot(true);
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TForm1::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    auto item = [this](QMenu* menu, const char* name, const QString& text, void (TForm1::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        if (slot) connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* env = bar->addMenu(QStringLiteral(u"環境(&K)"));
    env->setObjectName("Kankyo");
    item(env, "Hozon", QStringLiteral(u"保存(&H)"), &TForm1::HozonClick);
    item(env, "Syuryo", QStringLiteral(u"終了(&X)"), &TForm1::SyuryoClick);
    createRomajiModeMenu(env);
    QMenu* records = bar->addMenu(QStringLiteral(u"成績(&S)"));
    records->setObjectName("Seiseki");
    item(records, "SeiDsp", QStringLiteral(u"表示(&H)"), &TForm1::SeiDspClick);
    item(records, "SeiUpd", QStringLiteral(u"履歴(&R)"), &TForm1::SeiUpdClick);
    item(records, "SeiDel", QStringLiteral(u"削除(&D)"), &TForm1::SeiDelClick);
    item(records, "SeiBun", QStringLiteral(u"分析(&A)"), &TForm1::SeiBunClick);
    QMenu* problems = bar->addMenu(QStringLiteral(u"問題(&M)"));
    problems->setObjectName("Mondai");
    item(problems, "MonSaku", QStringLiteral(u"問題作成(&S)"), &TForm1::MonSakuClick);
    item(problems, "FileHen", QStringLiteral(u"ﾌｧｲﾙ変更(&H)"), &TForm1::FileHenClick);
    item(problems, "FileSaku", QStringLiteral(u"ﾌｧｲﾙ作成(&C)"), &TForm1::FileSakuClick);
    QMenu* help = bar->addMenu(QStringLiteral(u"ヘルプ(&H)"));
    help->setObjectName("Help");
    item(help, "HelpCon", QStringLiteral(u"ﾊﾔﾃｳﾁとは(&R)"), &TForm1::HelpContentsClick);
    item(help, "HelpKey", QStringLiteral(u"ｷｰﾜｰﾄﾞで検索(&K)"), &TForm1::HelpKeywordClick);
#ifdef HAYATE_HOMEPAGE_URL
    item(help, "HomePage", QStringLiteral(u"ホームページ(&H)"), &TForm1::HomePageClick);
#endif
    item(help, "About", QStringLiteral(u"ﾊﾞｰｼﾞｮﾝ情報(&A)"), &TForm1::AboutClick);
}

// ---------------------------------------------------------------- start-up

void TForm1::FormCreate() {
    if (!core_->startup.create(*this)) {
        errorBox(toQt(sjisText(UserText::CreateFailedMessage)));
        firstShowFailed_ = true;
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    today_ = std::to_string(core_->startup.todayDateNumber());
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TForm1::FormShow() {
    if (firstShowFailed_) return;  // the creation step failed; the window closes
    try {
        if (const auto& title = core_->startup.titleOverride()) {
            setWindowTitle(QString::fromStdString(*title));
        }
        applyLayout();
        QApplication::setApplicationDisplayName(QString());
        QApplication::setApplicationName(windowTitle());
        applySettingsToControls();
        if (!core_->startup.firstShow(core_->problems)) throw std::runtime_error("first show");
        createCore();
        fillCourseList();
        setTimeLimitTexts();
        prepareGrids();
        const QString date = QString::fromStdString(today_);
        setStatusPanel(
            5, QStringLiteral(u"今日の日付 %1/%2/%3 ")
                   .arg(date.left(date.size() - 4), date.mid(date.size() - 4, 2), date.right(2)));
        setStatusPanel(6, QStringLiteral("Ver.") + QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())) + QStringLiteral("  "));
        refreshBestLabels();
        fitControlCaptions();
        watchScreen();
        sg1_->setEnabled(false);
        bStart_->setFocus(Qt::OtherFocusReason);
        // The journal opens once the first frame is on screen, so start-up
        // waits for nothing; whatever needs it sooner opens it then.
        QTimer::singleShot(kJournalOpenDelayMs, this, &TForm1::openJournal);
        // Its glyph needs a font engine of its own; the first frame does not
        // wait for it.
        QTimer::singleShot(kJournalOpenDelayMs, this, [this] { setWindowIcon(programIcon()); });
        // Once the window is up, so that the message has the window behind it.
        if (!core_->startup.notices().empty()) QTimer::singleShot(0, this, &TForm1::showNotices);
    } catch (...) {
        firstShowFailed_ = true;
        errorBox(toQt(core_->startup.showFailedMessage()));
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TForm1::showNotices() {
    QStringList texts;
    for (const std::string& notice : core_->startup.notices()) texts << toQt(notice);
    errorBox(texts.join(QStringLiteral("\n\n")));
}

void TForm1::applySettingsToControls() {
    labels_[Label::Message]->clear();
    rg1Buttons_->button(state_.timeLimitIndex)->setChecked(true);
    rg2Buttons_->button(state_.spacing)->setChecked(true);
    rg3Buttons_->button(state_.cursorColour)->setChecked(true);
    rg4Buttons_->button(state_.letterCase)->setChecked(true);
    setStatusPanel(2,
                   state_.spacing == 1 ? QStringLiteral(u"空白無し") : QStringLiteral(u"空白有り"));
    setStatusPanel(
        3, state_.letterCase == 1 ? QStringLiteral(u"英小文字") : QStringLiteral(u"英大文字"));
    setStatusPanel(4, state_.cursorColour == 1 ? QStringLiteral(u"入力カーソル 無色")
                                               : QStringLiteral(u"入力カーソル 黄色"));
    showRomajiMode();
}

void TForm1::fillCourseList() {
    comb1_->clear();
    for (const char16_t* name : kCourseNames) comb1_->addItem(QString::fromUtf16(name));
    for (const ProblemHead& head : core_->problems.table()) comb1_->addItem(toQt(head.name));
    comb1_->setCurrentIndex(state_.courseIndex);
    setKanaMode(state_.kanaMode);
}

void TForm1::prepareGrids() {
    for (GridWidget* g : {sg1_, sg3_}) {
        g->setCellText(0, 0, QStringLiteral("No"));
        for (int c = 1; c <= 40; ++c) g->setCellText(c, 0, QString::asprintf("%2d", c));
        for (int r = 1; r <= 50; ++r) g->setCellText(0, r, QString::asprintf("%2d", r));
    }
    PracticeGrid& grid = core_->session->grid();
    for (int i = 0; i < PracticeGrid::kCells; ++i) grid.cell(i).colour = colour::kNone;
}

// ---------------------------------------------------------------- display port

QLabel* TForm1::labelFor(Label label) const {
    auto it = labels_.find(label);
    return it == labels_.end() ? nullptr : it->second;
}

void TForm1::setLabelText(Label label, const std::string& text) {
    if (QLabel* l = labelFor(label)) l->setText(toQt(text));
}

void TForm1::setLabelColour(Label label, Colour colour) {
    if (QLabel* l = labelFor(label)) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, fromBgr(colour));
        l->setPalette(p);
    }
}

void TForm1::setLabelFont(Label label, bool bold, bool underline) {
    if (QLabel* l = labelFor(label)) {
        QFont f = l->font();
        f.setBold(bold);
        f.setUnderline(underline);
        l->setFont(f);
    }
}

void TForm1::redrawCell(int column, int row) { sg1_->redrawCell(column, row); }
void TForm1::setCurrentCell(int column, int row) { sg1_->setCurrentCell(column, row); }
void TForm1::scrollGridToTop() { sg1_->setTopRow(1); }
void TForm1::setGridEnabled(bool enabled) { sg1_->setEnabled(enabled); }

void TForm1::focusGrid() {
    sg1_->setEnabled(true);
    if (!inFocusOut_) {
        sg1_->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Taking the focus back while Qt is still moving it away would fight
    // Qt's own focus change; do it right after.
    QTimer::singleShot(0, this, [this] {
        if (sg1_->isEnabled() && core_->session->keyGateClosed())
            sg1_->setFocus(Qt::OtherFocusReason);
    });
}

void TForm1::showStartButton(bool startVisible) {
    bStart_->setVisible(startVisible);
    bStop_->setVisible(!startVisible);
}

void TForm1::focusStartButton() { bStart_->setFocus(Qt::OtherFocusReason); }

void TForm1::movePointerToStopButton() {
    if (compositorPlaces_) return;
    QCursor::setPos(bStop_->mapToGlobal(bStop_->rect().center()));
}

std::uint32_t TForm1::tickCount() {
    if (tickOverride_) return tickOverride_->tickCount();
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void TForm1::setRunning(bool running) {
    if (running) {
        timer1_->start(1000);
    } else {
        timer1_->stop();
    }
}

void TForm1::fireIn(int milliseconds) { timer1_->start(std::max(milliseconds, 1)); }

QString TForm1::statusPanelText(int panel) const {
    return statusPanels_.at(static_cast<std::size_t>(panel))->text();
}

void TForm1::setStatusPanel(int panel, const QString& text) {
    QLabel* l = statusPanels_.at(static_cast<std::size_t>(panel));
    if (l->text() != text) l->setText(text);
}

// ---------------------------------------------------------------- drawing

void TForm1::SG1DrawCell(QPainter& painter, int column, int row, const QRect& rect,
                         const CellState& state) {
    const WindowLayout& L = layout_;
    if (state.fixed && !state.focused) {
        drawCellText(painter, kHeaderFont, QPoint(rect.left() + 2, rect.top() + L.textOffset2),
                     sg1_->cellText(column, row));
        return;
    }
    QColor background = Qt::white;
    if (state.focused) {
        setStatusPanel(0, QString::asprintf("%3d : %3d ", column, row));
        background = state_.cursorColour == 0 ? QColor(255, 255, 0) : QColor(255, 255, 255);
    }
    const PracticeCell& cell = core_->session->grid().at(column, row);
    bool large = true;
    int lift = 0;
    if (state_.kanaMode) {
        // が..ぽ in Shift-JIS order are drawn a size smaller.
        const std::string& t = cell.text;
        if (t >= std::string("\x82\xAA") && t <= std::string("\x82\xDB")) large = false;
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
    const int font = (large ? kCellFont1 : kCellFont2) + (L.screenWidth < 1024 ? 1 : 0);
    drawCellText(painter, font, QPoint(rect.left(), rect.top() + L.textOffset1 - lift),
                 sg1_->cellText(column, row));
}

void TForm1::prepareCellFonts() {
    cellFontsReady_ = 0;
    for (auto& cache : cellTexts_) cache.clear();
}

// Each cell font is made when first drawn: before an exercise the grid shows
// only its numbers, and the cells' face need not delay the first frame.
void TForm1::ensureCellFont(int font) {
    if (cellFontsReady_ & (1 << font)) return;
    cellFontsReady_ |= 1 << font;
    const int sizes[] = {layout_.cellFontSize1, layout_.cellFontSize1, layout_.cellFontSize2,
                         layout_.cellFontSize2, layout_.cellFontSize3};
    const auto& columns = layout_.practice.columnWidths;
    const int narrowest = *std::min_element(columns.begin() + 1, columns.end());
    const auto k = static_cast<std::size_t>(font);
    const int pixels = cellFontPixels(sizes[k], narrowest);
    const bool header = font == kHeaderFont;
    const QFont wanted = header
                             ? headerFont(pixels)
                             : cellFont(pixels, font == kCellFont1 + 1 || font == kCellFont2 + 1);
    cellFonts_[k] = fitCellFontToRow(wanted, layout_.practice.rowHeights[1],
                                     header ? layout_.textOffset2 : layout_.textOffset1);
    cellFontRaise_[k] = emBoxRaise(cellFonts_[k]);
}

void TForm1::drawCellText(QPainter& painter, int font, const QPoint& at, const QString& text) {
    if (text.isEmpty()) return;
    ensureCellFont(font);
    // Laid-out texts are kept: a key repaints two cells, and laying a
    // character out again each time costs more than drawing it.
    auto& cache = cellTexts_[static_cast<std::size_t>(font)];
    auto it = cache.find(text);
    if (it == cache.end()) {
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.prepare(QTransform(), cellFonts_[static_cast<std::size_t>(font)]);
        it = cache.insert(text, st);
    }
    painter.setFont(cellFonts_[static_cast<std::size_t>(font)]);
    painter.drawStaticText(at - QPoint(0, cellFontRaise_[static_cast<std::size_t>(font)]), *it);
}

void TForm1::syncPracticeTexts() {
    const PracticeGrid& grid = core_->session->grid();
    for (int i = 0; i < PracticeGrid::kCells; ++i) {
        sg1_->setCellText(PracticeGrid::columnOf(i), PracticeGrid::rowOf(i),
                          toQt(grid.cell(i).text));
    }
}

// ---------------------------------------------------------------- handlers

void TForm1::createCore() {
    CharTables& tables = core_->startup.tables();
    core_->practice = std::make_unique<ProblemPractice>(core_->problems, tables, core_->random);
    core_->completion =
        std::make_unique<RecordCompletion>(core_->startup.records(), state_, *this, *this);
    core_->session =
        std::make_unique<ExerciseSession>(state_, tables, core_->random, core_->practice.get(),
                                          *this, *this, *this, *core_->completion);
    createJournal();
    createEditor();
}

void TForm1::refreshBestLabels() {
    if (core_->session) {
        core_->startup.records().refreshBestLabels(*this, state_.courseIndex,
                                                   state_.settingIndex());
    }
}

void TForm1::showResultAndWait(bool newRecord) {
    okDialog()->showAndWait(toQt(newRecord ? sjisText(UserText::NewRecord) : sjisText(UserText::Finished)),
                            fromBgr(newRecord ? kNewRecordColour : kFinishedColour),
                            toQt(sjisText(UserText::ConfirmOk)));
}

void TForm1::showSaveFailure(const std::string& message) { errorBox(toQt(message)); }

void TForm1::BStartClick() { act(core_->session->buttonPressed(ExerciseSession::Button::Start)); }

void TForm1::BStopClick() { act(core_->session->buttonPressed(ExerciseSession::Button::Stop)); }

void TForm1::BEndClick() { act(core_->session->buttonPressed(ExerciseSession::Button::End)); }

void TForm1::act(const ExerciseSession::KeyResult& result) {
    if (result.start) afterStart(*result.start);
    switch (result.action) {
        case ExerciseSession::KeyAction::RunEndCommand:
            endCommand(true);
            break;
        case ExerciseSession::KeyAction::FocusCourseList:
            comb1_->setFocus(Qt::OtherFocusReason);
            break;
        case ExerciseSession::KeyAction::FocusStartButton:
            bStart_->setFocus(Qt::OtherFocusReason);
            break;
        case ExerciseSession::KeyAction::FocusStopButton:
            bStop_->setFocus(Qt::OtherFocusReason);
            break;
        case ExerciseSession::KeyAction::PlatformDefault:
        case ExerciseSession::KeyAction::Consumed:
            break;
    }
}

void TForm1::afterStart(const ExerciseSession::StartResult& result) {
    using Outcome = ExerciseSession::StartResult::Outcome;
    switch (result.outcome) {
        case Outcome::Started:
            syncPracticeTexts();
            if (result.letterCaseChanged) {
                rg4Buttons_->button(state_.letterCase)->setChecked(true);
                showLetterCase();
            }
            break;
        case Outcome::ProblemRefused:
        case Outcome::NoProblemSource:
            errorBox(toQt(core_->practice->refusalMessage()));
            break;
        case Outcome::SpaceSuppressed:
            break;
    }
}

void TForm1::Comb1Change(int index) {
    if (index < 0) {
        index = 0;
        comb1_->setCurrentIndex(0);
    }
    bool kana = index == kCourseRomaji;
    if (index >= kFirstProblemCourse) {
        const int slot = index - kFirstProblemCourse;
        if (core_->problems.head(slot).count == 0) {
            errorBox(QStringLiteral(u"問題が作成されていません"));
            comb1_->setCurrentIndex(state_.courseIndex);
            return;
        }
        core_->problems.loadSlot(slot);  // a failed load keeps the table's entry
        const int kind = core_->problems.head(slot).kind;
        int letterCase = state_.letterCase;
        adoptProblemKind(kind, letterCase, state_.caseMode);
        if (letterCase != state_.letterCase) {
            rg4Buttons_->button(letterCase)->setChecked(true);
            RG4Click(letterCase);
        }
        kana = kind == kKindRomaji;
    }
    state_.courseIndex = index;
    comb1_->setCurrentIndex(index);
    setKanaMode(kana);
    refreshBestLabels();
}

void TForm1::setKanaMode(bool on) {
    state_.kanaMode = on;
    l5_->setVisible(on);
    l6_->setVisible(on);
    for (Label l : {Label::RomajiHint1, Label::RomajiHint2, Label::RomajiHintRest, Label::KeystrokeSpeed})
        labels_[l]->clear();
}

void TForm1::setTimeLimitTexts() {
    const int seconds = timeLimitSecondsFor(state_.timeLimitIndex);
    if (state_.timeLimitIndex == 2) {
        labels_[Label::TimeLimit]->setText(QStringLiteral(u"なし"));
        setStatusPanel(1, QStringLiteral(u"制限時間 なし"));
    } else {
        labels_[Label::TimeLimit]->setText(QString::asprintf("%5d", seconds));
        setStatusPanel(1, QStringLiteral(u"制限時間 %1秒").arg(seconds));
    }
}

void TForm1::applySelection(const ExerciseSession::SelectionResult& result) {
    setStatusPanel(result.statusPanel, toQt(result.statusText));
    switch (result.focus) {
        case ExerciseSession::Focus::EditorGrid:
            sg3_->setFocus(Qt::OtherFocusReason);
            break;
        case ExerciseSession::Focus::StartButton:
            bStart_->setFocus(Qt::OtherFocusReason);
            break;
        case ExerciseSession::Focus::StopButton:
            bStop_->setFocus(Qt::OtherFocusReason);
            break;
    }
    refreshBestLabels();
}

void TForm1::RG1Click(int index) {
    applySelection(core_->session->selectTimeLimit(index, sg3_->isVisible()));
}

void TForm1::RG2Click(int index) {
    applySelection(core_->session->selectSpacing(index, sg3_->isVisible()));
}

void TForm1::RG3Click(int index) {
    state_.cursorColour = index;
    setStatusPanel(4, index == 1 ? QStringLiteral(u"入力カーソル 無色")
                                 : QStringLiteral(u"入力カーソル 黄色"));
    focusAfterSetting();
    sg1_->redrawCell(sg1_->currentColumn(), sg1_->currentRow());
}

void TForm1::RG4Click(int index) {
    state_.letterCase = index;
    showLetterCase();
    focusAfterSetting();
}

void TForm1::showLetterCase() {
    setStatusPanel(
        3, state_.letterCase == 1 ? QStringLiteral(u"英小文字") : QStringLiteral(u"英大文字"));
}

void TForm1::focusAfterSetting() {
    if (sg3_->isVisible()) {
        sg3_->setFocus(Qt::OtherFocusReason);
    } else if (bStart_->isVisible()) {
        bStart_->setFocus(Qt::OtherFocusReason);
    } else if (bStop_->isVisible()) {
        bStop_->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::Timer1Timer() { core_->session->clockTick(); }

void TForm1::SG1KeyDown(int virtualKey) { core_->session->gridKeyDown(virtualKey); }

void TForm1::SG1KeyPress(unsigned char key) { core_->session->gridKeyPress(key); }

void TForm1::SG1Enter() {
    core_->session->gridFocusGained();
    // Keys must arrive as plain characters, not through the input method.
    if (QInputMethod* im = QGuiApplication::inputMethod()) {
        im->reset();
        im->hide();
    }
}

void TForm1::SG1Exit() {
    inFocusOut_ = true;
    core_->session->gridFocusLost();
    inFocusOut_ = false;
}

bool TForm1::ButtonKeyDown(QPushButton* button, int virtualKey) {
    const auto which = button == bStart_  ? ExerciseSession::Button::Start
                       : button == bStop_ ? ExerciseSession::Button::Stop
                                          : ExerciseSession::Button::End;
    const ExerciseSession::KeyResult result = core_->session->buttonKeyDown(which, virtualKey);
    act(result);
    return result.action != ExerciseSession::KeyAction::PlatformDefault;
}

bool TForm1::Comb1KeyDown(int virtualKey) {
    const ExerciseSession::KeyResult result = core_->session->courseListKeyDown(virtualKey);
    act(result);
    return result.action != ExerciseSession::KeyAction::PlatformDefault;
}

void TForm1::BStartEnter() { core_->session->startButtonFocusGained(); }

void TForm1::endCommand(bool guarded) {
    bool guard = guarded && core_->session->takeSpaceKeyGuard();
    const auto ask = [this](std::string_view question) { return askYesNo(toQt(question), true); };
    if (endCommandCloses(guard, ask)) close();
}

void TForm1::HozonClick() { saveSettings(core_->startup.settingsFile(), state_, *this); }

bool TForm1::askToSave(std::string_view question) { return askYesNo(toQt(question), false); }

void TForm1::confirmSaved(std::string_view message) { informationBox(toQt(message)); }

void TForm1::reportNotSaved(std::string_view message) { errorBox(toQt(message)); }

void TForm1::SyuryoClick() { endCommand(false); }

HelpWindow* TForm1::helpWindow() {
    // Made on first use and kept, so that its history survives closing it.
    auto* help = findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    return help ? help : new HelpWindow(this);
}

void TForm1::HelpContentsClick() { helpWindow()->showContents(); }

void TForm1::HelpKeywordClick() { helpWindow()->showKeywordIndex(); }

void TForm1::HomePageClick() {
#ifdef HAYATE_HOMEPAGE_URL
    QDesktopServices::openUrl(QUrl(QStringLiteral(HAYATE_HOMEPAGE_URL)));
#endif
}

void TForm1::AboutClick() { aboutBox()->open(); }

// The two small windows are made when first needed: their fonts are not
// loaded before the main window is on screen.
TOKDlg* TForm1::okDialog() {
    if (!okDlg_) okDlg_ = new TOKDlg(this);
    return okDlg_;
}

TAboutBox* TForm1::aboutBox() {
    if (!aboutBox_) aboutBox_ = new TAboutBox(this);
    return aboutBox_;
}

// ---------------------------------------------------------------- events

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == sg1_) {
        if (type == QEvent::KeyPress) {
            const WinKey key = translateKey(*static_cast<QKeyEvent*>(event));
            SG1KeyDown(key.virtualKey);
            if (key.byte) SG1KeyPress(*key.byte);
            return true;
        }
        if (type == QEvent::ShortcutOverride) {
            // Plain keys belong to the grid, not to menu shortcuts.
            auto* k = static_cast<QKeyEvent*>(event);
            if (!(k->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) event->accept();
            return false;
        }
        if (type == QEvent::FocusIn) SG1Enter();
        if (type == QEvent::FocusOut) SG1Exit();
        return false;
    }
    if (watched == bStart_ || watched == bStop_ || watched == bEnd_) {
        if (type == QEvent::KeyPress) {
            const WinKey key = translateKey(*static_cast<QKeyEvent*>(event));
            if (ButtonKeyDown(static_cast<QPushButton*>(watched), key.virtualKey)) return true;
        }
        if (type == QEvent::FocusIn && watched == bStart_) BStartEnter();
        return false;
    }
    if (watched == sg3_ || watched == comb2_ || watched == eMname_ || watched == bMonDel_ ||
        watched == bFinp_)
        return editorEventFilter(watched, event);
    if (watched == comb1_ && type == QEvent::KeyPress) {
        const WinKey key = translateKey(*static_cast<QKeyEvent*>(event));
        return Comb1KeyDown(key.virtualKey);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (okDlg_) okDlg_->hide();
    if (aboutBox_) aboutBox_->hide();
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------- messages

QPoint TForm1::messagePosition() const { return QPoint(layout_.messageX, layout_.messageY); }

void TForm1::informationBox(const QString& text) {
    QMessageBox box(QMessageBox::Information, windowTitle(), display(text), QMessageBox::Ok, this);
    box.adjustSize();
    box.move(messagePosition());
    box.exec();
}

void TForm1::errorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, windowTitle(), display(text), QMessageBox::Ok, this);
    box.adjustSize();
    box.move(messagePosition());
    box.exec();
}

bool TForm1::askYesNo(const QString& text, bool atMessagePosition) {
    QMessageBox box(QMessageBox::Information, windowTitle(), display(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName("Question");
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QStringLiteral(u"はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral(u"いいえ(&N)"));
    box.adjustSize();
    if (atMessagePosition) box.move(messagePosition());
    return box.exec() != QMessageBox::No;
}

}  // namespace hayate::gui
