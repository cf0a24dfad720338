// The exercise journal on the window's side: created with the core, opened
// on a thread of its own after the first show, its failures told once in the
// status bar; and the start of weak-spot practice.
#include <QDateTime>
#include <future>
#include <system_error>

#include "exercise/practice_text.h"
#include "gui/main_window_core.h"
#include "gui/practice_view.h"
#include "gui/records_view.h"
#include "gui/status_bar.h"
#include "journal/weak_spot.h"

namespace hayate::gui {

namespace {

// Long enough to be read; the panels come back afterwards.
constexpr int kNoticeMs = 15000;

}  // namespace

void TForm1::createJournal() {
    core_->journal = std::make_unique<journal::Journal>();
    journal::ExerciseLogger::Hooks hooks;
    hooks.now = [] { return static_cast<std::int64_t>(QDateTime::currentSecsSinceEpoch()); };
    hooks.problemName = [this](int slot) {
        const auto& table = core_->problems.table();
        return slot >= 0 && static_cast<std::size_t>(slot) < table.size()
                   ? table[static_cast<std::size_t>(slot)].name
                   : std::string();
    };
    hooks.notice = [this](const std::string& message) { journalNotice(message); };
    hooks.ensureOpen = [this] {
        openJournal();
        finishJournalOpen();
    };
    core_->logger = std::make_unique<journal::ExerciseLogger>(
        *core_->journal, practice_->session(), practice_->completion(), state_, std::move(hooks));
    practice_->session().setObserver(core_->logger.get());
    core_->kanaRecords =
        std::make_unique<journal::JournalKanaRecords>([this] { return journal(); });
    practice_->completion().setKanaRecords(core_->kanaRecords.get());
    records_->setKanaRecords(core_->kanaRecords.get());
}

void TForm1::openJournal() {
    if (!core_ || !core_->journal || core_->journalOpenTried) return;
    core_->journalOpenTried = true;
    std::filesystem::path path = core_->startup.bestRecordFile();
    path.replace_filename(journal::journalFileName(path.stem().string()));
    // Opening checks every page of the file (a second or two for 150 MB): the
    // window goes on meanwhile. Nothing on this thread touches the journal
    // until finishJournalOpen() has waited for the result.
    auto open = [this, j = core_->journal.get(), p = path.string()] {
        journal::Journal::Result result = j->open(p);
        QMetaObject::invokeMethod(this, &TForm1::finishJournalOpen, Qt::QueuedConnection);
        return result;
    };
    try {
        core_->journalOpening = std::async(std::launch::async, open);
    } catch (const std::system_error&) {
        // No thread to be had: the window waits for the open instead.
        core_->journalOpening = std::async(std::launch::deferred, open);
        finishJournalOpen();
    }
}

void TForm1::finishJournalOpen() {
    if (!core_ || !core_->journalOpening.valid()) return;
    const journal::Journal::Result result = core_->journalOpening.get();
    if (core_->logger)
        core_->logger->journalOpened(result);
    else if (!result.ok())
        journalNotice(result.message);
    // The labels of a kana-input course waited for the journal.
    if (state_.courseInputMethod() == InputMethod::Kana) practice_->refreshBestLabels();
}

void TForm1::journalNotice(const std::string& message) {
    sBar1_->showMessage(toQt(message), kNoticeMs);
}

journal::Journal* TForm1::journal() {
    openJournal();
    finishJournalOpen();
    if (!core_ || !core_->journal || !core_->journal->isOpen()) return nullptr;
    return core_->journal.get();
}

bool TForm1::startWeakSpotPractice() {
    if (!practice_->hasSession()) return false;
    ExerciseSession& session = practice_->session();
    if (session.inputMode() == InputMode::Editor || session.gridEnabled()) return false;
    const int course = state_.courseIndex;
    if (course >= kFirstProblemCourse) {
        messages_.information(qtText(UserText::WeakSpotCoursesMessage));
        return false;
    }
    journal::Journal* j = journal();
    journal::Filter filter;
    filter.courseIndex = course;
    // The weak spots of the way the course is typed now.
    filter.inputMethod = state_.courseInputMethod();
    filter.includeStopped = false;
    const int count = j ? j->exerciseCount(filter) : 0;
    filter.includeStopped = true;  // the keys of a stopped exercise tell as much
    const std::vector<journal::CharStat> stats = count >= journal::kWeakSpotMinimumExercises
                                                     ? j->charStats(filter)
                                                     : std::vector<journal::CharStat>{};
    // A journal that could not be read says so, rather than that it is too short.
    if (const journal::Journal::Result read = j ? j->takeReadResult() : journal::Journal::Result{};
        !read.ok()) {
        messages_.information(toQt(read.message));
        return false;
    }
    if (count < journal::kWeakSpotMinimumExercises) {
        messages_.information(qtText(UserText::WeakSpotTooFewMessage));
        return false;
    }
    const TextSettings settings{course, state_.spacing, state_.letterCase, state_.kanaMode};
    std::vector<std::string> characters;
    for (int g = 0; g < practiceDrawRange(course); ++g)
        characters.push_back(practiceCharacter(core_->startup.tables(), settings, g));
    session.setWeakSpotWeights(journal::weakSpotWeights(stats, characters));

    ExerciseSession::KeyResult result;
    result.action = ExerciseSession::KeyAction::Consumed;
    result.start = session.startExercise();
    practice_->act(result);
    return result.start->outcome == ExerciseSession::StartResult::Outcome::Started;
}

}  // namespace hayate::gui
