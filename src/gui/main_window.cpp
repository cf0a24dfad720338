#include "gui/main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <stdexcept>

#include "exercise/exercise_stats.h"
#include "exercise/practice_text.h"
#include "gui/about_box.h"
#include "gui/controls.h"
#include "gui/editor_view.h"
#include "gui/faces.h"
#include "gui/help_window.h"
#include "gui/main_window_core.h"
#include "gui/ok_dialog.h"
#include "gui/options_panel.h"
#include "gui/practice_view.h"
#include "gui/records_view.h"
#include "gui/status_bar.h"
#include "gui/window_system.h"

namespace hayate::gui {

namespace {

// Font sizes of the layout are points of a 96-dpi screen; the window is laid
// out in pixels, so the fonts are too.
int px(int points) { return (points * 96 + 36) / 72; }

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
    QFont::insertSubstitutions(faceName(Face::Mincho), mincho);
    QFont::insertSubstitutions(faceName(Face::Gothic), gothic);
    QFont::insertSubstitutions(faceName(Face::PGothic), pgothic);
}

QIcon programIcon() {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1E, 0x4E, 0x9C));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    QFont f = face(Face::Gothic);
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
    setWindowTitle(qtText(UserText::WindowTitle));
    QFont mainFont = face(Face::Mincho);
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
    sBar1_->addPanels();
}

TForm1::~TForm1() {
    // An open still under way posts its end to this window: it must do so
    // while the window is whole, so that the posted event goes with it.
    if (core_->journalOpening.valid()) core_->journalOpening.wait();
    delete okDlg_;
    delete aboutBox_;
    // The views' core objects use the start-up's tables and records, and the
    // logger watches the session: all of them go before the core.
    delete editor_;
    delete records_;
    core_->logger.reset();
    delete practice_;
}

// ---------------------------------------------------------------- controls

void TForm1::createControls() {
    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    setCentralWidget(central);

    pLine_ = new QFrame(central);
    pLine_->setObjectName("PLine");
    pLine_->setFrameShape(QFrame::HLine);
    pLine_->setFrameShadow(QFrame::Sunken);

    practice_ = new PracticeView(state_, *this, central);
    practice_->setPointerMoves(!compositorPlaces_);
    records_ = new RecordsView(*practice_, central);

    optionsPanel_ = new OptionsPanel(central);
    connect(optionsPanel_, &OptionsPanel::timeLimitChosen, this, &TForm1::RG1Click);
    connect(optionsPanel_, &OptionsPanel::spacingChosen, this, &TForm1::RG2Click);
    connect(optionsPanel_, &OptionsPanel::cursorColourChosen, this, &TForm1::RG3Click);
    connect(optionsPanel_, &OptionsPanel::letterCaseChosen, this, &TForm1::RG4Click);

    sBar1_ = new StatusBar(this);
    setStatusBar(sBar1_);
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
    createInputMethodMenu(env);
    QMenu* records = bar->addMenu(QStringLiteral(u"成績(&S)"));
    records->setObjectName("Seiseki");
    item(records, "SeiDsp", QStringLiteral(u"表示(&H)"), &TForm1::SeiDspClick);
    item(records, "SeiUpd", QStringLiteral(u"履歴(&R)"), &TForm1::SeiUpdClick);
    item(records, "SeiDel", QStringLiteral(u"削除(&D)"), &TForm1::SeiDelClick);
    item(records, "SeiBun", QStringLiteral(u"分析(&A)"), &TForm1::SeiBunClick);
    QMenu* problems = bar->addMenu(QStringLiteral(u"問題(&M)"));
    problems->setObjectName("Mondai");
    item(problems, "MonSaku", QStringLiteral(u"問題作成(&S)"), &TForm1::MonSakuClick);
    item(problems, "MonText", QStringLiteral(u"テキストから作成(&T)"), &TForm1::MonTextClick);
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
    if (!core_->startup.create(*practice_)) {
        messages_.error(qtText(UserText::CreateFailedMessage));
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
        practice_->createSession(core_->startup.tables(), core_->problems, core_->random,
                                 core_->startup.records(), *this);
        records_->setRecords(core_->startup.records());
        practice_->fillCourseList();
        showTimeLimit();
        sBar1_->showToday(QString::fromStdString(today_));
        sBar1_->showVersion();
        practice_->refreshBestLabels();
        // After the labels: kana-input bests come once the journal has opened.
        createJournal();
        fitControlCaptions();
        watchScreen();
        practice_->setGridEnabled(false);
        practice_->focusButton(true);
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
        messages_.error(toQt(core_->startup.showFailedMessage()));
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TForm1::showNotices() {
    QStringList texts;
    for (const std::string& notice : core_->startup.notices()) texts << toQt(notice);
    messages_.error(texts.join(QStringLiteral("\n\n")));
}

void TForm1::applySettingsToControls() {
    practice_->setLabelText(Label::Message, std::string());
    optionsPanel_->showSettings(state_);
    setStatusPanel(2, toQt(spacingStatusText(state_.spacing)));
    sBar1_->showLetterCase(state_.letterCase);
    sBar1_->showCursorColour(state_.cursorColour);
    showRomajiMode();
}

void TForm1::showTimeLimit() {
    practice_->showTimeLimit();
    setStatusPanel(1, toQt(timeLimitStatusText(state_.timeLimitIndex)));
}

// ---------------------------------------------------------------- ports

QString TForm1::statusPanelText(int panel) const { return sBar1_->panelText(panel); }

void TForm1::setStatusPanel(int panel, const QString& text) { sBar1_->setPanel(panel, text); }

void TForm1::setTickSourceForTesting(TickSource* ticks) {
    practice_->setTickSourceForTesting(ticks);
}

QTimer* TForm1::timer1() const { return practice_->timer(); }

void TForm1::showResultAndWait(bool newRecord) {
    okDialog()->showAndWait(qtText(newRecord ? UserText::NewRecord : UserText::Finished),
                            toQColor(newRecord ? kNewRecordColour : kFinishedColour),
                            qtText(UserText::ConfirmOk));
}

void TForm1::showSaveFailure(const std::string& message) { messages_.error(toQt(message)); }

bool TForm1::askToSave(std::string_view question) { return messages_.ask(toQt(question), false); }

void TForm1::confirmSaved(std::string_view message) { messages_.information(toQt(message)); }

void TForm1::reportNotSaved(std::string_view message) { messages_.error(toQt(message)); }

void TForm1::endCommand(bool guarded) {
    bool guard = guarded && practice_->session().takeSpaceKeyGuard();
    const auto ask = [this](std::string_view question) {
        return messages_.ask(toQt(question), true);
    };
    if (endCommandCloses(guard, ask)) close();
}

// ---------------------------------------------------------------- settings

void TForm1::applySelection(const ExerciseSession::SelectionResult& result) {
    setStatusPanel(result.statusPanel, toQt(result.statusText));
    switch (result.focus) {
        case ExerciseSession::Focus::EditorGrid:
            editor_->focusGrid();
            break;
        case ExerciseSession::Focus::StartButton:
            practice_->focusButton(true);
            break;
        case ExerciseSession::Focus::StopButton:
            practice_->focusButton(false);
            break;
    }
    practice_->refreshBestLabels();
}

void TForm1::RG1Click(int index) {
    applySelection(practice_->session().selectTimeLimit(index, editorGridVisible()));
}

void TForm1::RG2Click(int index) {
    applySelection(practice_->session().selectSpacing(index, editorGridVisible()));
}

void TForm1::RG3Click(int index) {
    state_.cursorColour = index;
    sBar1_->showCursorColour(index);
    focusAfterSetting();
    practice_->redrawCursorCell();
}

void TForm1::RG4Click(int index) {
    state_.letterCase = index;
    sBar1_->showLetterCase(index);
    focusAfterSetting();
}

void TForm1::chooseLetterCase(int letterCase) {
    optionsPanel_->showLetterCase(letterCase);
    RG4Click(letterCase);
}

void TForm1::showLetterCase() {
    optionsPanel_->showLetterCase(state_.letterCase);
    sBar1_->showLetterCase(state_.letterCase);
}

void TForm1::focusAfterSetting() {
    if (editorGridVisible()) {
        editor_->focusGrid();
    } else {
        practice_->focusStartOrStop();
    }
}

void TForm1::HozonClick() { saveSettings(core_->startup.settingsFile(), state_, *this); }

void TForm1::SyuryoClick() { endCommand(false); }

// ---------------------------------------------------------------- records screens

bool TForm1::kanaRecordsOf(int course) const {
    if (state_.inputMethod != InputMethod::Kana) return false;
    if (course == state_.courseIndex) return state_.kanaMode;
    if (course == kCourseRomaji) return true;
    const int slot = course - kFirstProblemCourse;
    const auto& table = core_->problems.table();
    return slot >= 0 && static_cast<std::size_t>(slot) < table.size() &&
           table[static_cast<std::size_t>(slot)].kind == kKindRomaji;
}

void TForm1::SeiDspClick() {
    if (practice_->session().inputMode() != InputMode::Idle) return;
    std::array<bool, kCourseCount> kana{};
    for (int course = 0; course < kCourseCount; ++course)
        kana[static_cast<std::size_t>(course)] = kanaRecordsOf(course);
    if (!records_->fillBest(practice_->courseNames(), kana))
        journalNotice(std::string(sjisText(UserText::AnalysisJournalUnavailable)));
    records_->showUntilConfirmed(practice_->grid());
    practice_->focusStartOrStop();
}

void TForm1::SeiUpdClick() {
    if (practice_->session().inputMode() != InputMode::Idle) return;
    const bool kana = kanaRecordsOf(state_.courseIndex);
    if (!records_->fillHistory(state_.courseIndex, kana)) {
        // A history file that cannot be read shows nothing, as it always has.
        if (kana) messages_.information(qtText(UserText::AnalysisJournalUnavailable));
        return;
    }
    records_->showUntilConfirmed(practice_->grid());
    practice_->focusStartOrStop();
}

void TForm1::SeiDelClick() {
    records_->deleteRecords(state_.courseIndex, state_.settingIndex(), messages_,
                            kanaRecordsOf(state_.courseIndex));
}

// ---------------------------------------------------------------- help and small windows

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

void TForm1::closeEvent(QCloseEvent* event) {
    if (okDlg_) okDlg_->hide();
    if (aboutBox_) aboutBox_->hide();
    QMainWindow::closeEvent(event);
}

}  // namespace hayate::gui
