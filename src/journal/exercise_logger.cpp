#include "journal/exercise_logger.h"

#include <ctime>

namespace hayate::journal {

ExerciseLogger::ExerciseLogger(Journal& journal, ExerciseSession& session,
                               RecordCompletion& completion, const SharedState& state, Hooks hooks)
    : journal_(journal),
      session_(session),
      completion_(completion),
      state_(state),
      hooks_(std::move(hooks)) {}

void ExerciseLogger::exerciseStarted() {
    atStart_ = state_;
    startedAt_ = hooks_.now ? hooks_.now() : static_cast<std::int64_t>(std::time(nullptr));
    weakSpot_ = session_.weakSpotExercise();
    completion_.setKeepRecords(!weakSpot_);
}

ExerciseEntry ExerciseLogger::entryFor(ExerciseEnd end) const {
    ExerciseEntry e;
    e.startedAt = startedAt_;
    e.courseIndex = session_.matcher().mode().courseIndex;
    if (e.courseIndex >= 5) {
        e.problemSlot = e.courseIndex - 5;
        if (hooks_.problemName) e.problemName = hooks_.problemName(e.problemSlot);
    }
    // The record is filed under the time limit in force at the end; the
    // journal's score and newBest must speak of the same setting.
    e.timeLimitIndex = state_.timeLimitIndex;
    e.spacing = atStart_.spacing;
    e.letterCase = atStart_.letterCase;  // as a user problem's kind set it at the start
    const KeystrokeMatcher::Mode& mode = session_.matcher().mode();
    e.romajiMode = mode.kanaMode;
    e.extendedRomaji = mode.kanaMode && mode.extendedRomaji;
    e.inputMethod = session_.keys().inputMethod;
    e.end = end;
    e.kind = weakSpot_ ? PracticeKind::WeakSpot : PracticeKind::Normal;
    e.characters = session_.charactersTyped();
    e.misses = session_.missCount();
    e.keystrokes = session_.keystrokeCount();
    e.elapsedMs = session_.elapsedMilliseconds();
    if (e.end != ExerciseEnd::Stopped) {
        e.score = completion_.lastResult().score;
        e.newBest = completion_.lastResult().newBest;
    }

    const PracticeGrid& grid = session_.grid();
    const ExerciseCapture& capture = session_.matcher().capture();
    e.cells.reserve(capture.cells().size() + 1);
    for (const CapturedCell& c : capture.cells()) {
        e.cells.push_back({c.cellIndex, grid.cell(c.cellIndex).text, c.typed, c.wrongKeys,
                           c.expectedKeys, c.msSincePrevious, true});
    }
    const CapturedCell& pending = capture.pending();
    const int at = session_.cellPosition();
    if ((!pending.typed.empty() || !pending.wrongKeys.empty()) && PracticeGrid::isCellIndex(at)) {
        e.cells.push_back({at, grid.cell(at).text, pending.typed, pending.wrongKeys,
                           pending.expectedKeys, 0, false});
    }
    return e;
}

void ExerciseLogger::journalOpened(const Journal::Result& result) {
    if (result.ok()) return;
    // The exercises that then fail to be written have been told of already.
    noticeShown_ = true;
    if (hooks_.notice) hooks_.notice(result.message);
}

void ExerciseLogger::exerciseEnded(ExerciseEnd end) {
    completion_.setKeepRecords(true);
    if (hooks_.ensureOpen) hooks_.ensureOpen();
    ExerciseEntry entry = entryFor(end);
    // A start and an Esc without a key in between is no exercise.
    if (entry.end == ExerciseEnd::Stopped && entry.cells.empty() && entry.misses == 0) return;
    last_ = journal_.record(entry);
    if (last_.ok()) {
        noticeShown_ = false;
    } else if (!noticeShown_ && hooks_.notice && last_.status != Journal::Status::NotOpen) {
        // A journal that never opened was reported when it failed to open.
        noticeShown_ = true;
        hooks_.notice(last_.message);
    }
}

}  // namespace hayate::journal
