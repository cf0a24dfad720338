#include "records/record_completion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "exercise/exercise_stats.h"
#include "exercise/practice_grid.h"

namespace hayate {

namespace {

constexpr int kNoTimeLimitIndex = 2;

template <typename T>
std::int32_t clampToInt32(T value) {
    constexpr T lo = std::numeric_limits<std::int32_t>::min();
    constexpr T hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < lo ? lo : value > hi ? hi : value);
}

CourseBest bestRow(const RecordStore& store, int course) {
    CourseBest row;
    for (int s = 0; s < kSettingCount; ++s) {
        row.score[static_cast<std::size_t>(s)] = store.bestScore(course, s);
        row.date[static_cast<std::size_t>(s)] = store.bestDate(course, s);
    }
    return row;
}

// Half up, as every shown or stored real result.
std::int32_t rounded(double value) { return clampToInt32(std::floor(value + 0.5)); }

}  // namespace

RecordCompletion::RecordCompletion(RecordStore& store, SharedState& state, ExerciseDisplay& display,
                                   ResultDialog& dialog)
    : store_(store), state_(state), display_(display), dialog_(dialog) {}

void RecordCompletion::completeExercise(ExerciseEnd kind, ExerciseControl& exercise) {
    const bool noLimit = state_.timeLimitIndex == kNoTimeLimitIndex;
    const int limitSeconds = timeLimitSecondsFor(state_.timeLimitIndex);

    if (kind == ExerciseEnd::TimeLimit) {
        // The tick has shown the time already; the count stands as typed.
        exercise.stopExercise();
        const std::int32_t typed = exercise.charactersTyped();
        display_.setLabelText(Label::Speed, formatCount(rounded(typed * 60.0 / limitSeconds)));
        finish(typed, exercise);
        return;
    }

    exercise.stopClock();
    // The exercise guarantees at least 1 ms; a divisor of 0 must not slip through anyway.
    const long long elapsed = std::max(exercise.elapsedMilliseconds(), 1);
    // The text ended before the limit, so the count is scaled up to the whole limit.
    const std::int32_t typed =
        noLimit ? PracticeGrid::kCells
                : clampToInt32(static_cast<long long>(exercise.charactersTyped()) * limitSeconds *
                               1000 / elapsed);
    display_.setLabelText(Label::CharactersTyped, formatCount(typed));
    const int seconds = static_cast<int>(elapsed / 1000);
    display_.setLabelText(Label::ElapsedTime, elapsedText(seconds * 1000));
    if (exercise.keys().kanaMode) {
        const std::int32_t keySpeed = rounded(exercise.keystrokeCount() * 60000.0 / elapsed);
        display_.setLabelText(Label::KeystrokeSpeed, keystrokeSpeedText(keySpeed));
    }
    exercise.stopExercise();
    // Under one second the speed is taken over one second, not divided by zero.
    const std::int32_t speed = noLimit ? rounded(typed * 60.0 / std::max(seconds, 1))
                                       : rounded(typed * 60.0 / limitSeconds);
    display_.setLabelText(Label::Speed, formatCount(speed));
    finish(noLimit ? speed : typed, exercise);
}

void RecordCompletion::finish(std::int32_t score, ExerciseControl& exercise) {
    // Course and spacing are those of the text typed; the time limit is the one
    // the exercise ended under. All are fixed before the wait.
    const ExerciseKeys keys = exercise.keys();
    const int course = keys.courseIndex;
    const int setting = state_.timeLimitIndex * 2 + keys.spacing;
    last_ = {score, false};
    // The record files hold romaji results only: a kana-input result never
    // competes with them, nor is stored in them.
    if (keys.inputMethod == InputMethod::Kana)
        finishKana(score, keepRecords_ && isCourseIndex(course) && isSettingIndex(setting), course,
                   setting);
    else
        finishRomaji(score, course, setting);
    // The way of typing may have been switched while the exercise ran: the
    // labels follow the way in force now.
    if (const InputMethod now = state_.courseInputMethod(); now != keys.inputMethod)
        refreshBestLabels(state_.courseIndex, state_.settingIndex(), now);
    exercise.focusStartButton();
}

void RecordCompletion::finishRomaji(std::int32_t score, int course, int setting) {
    const bool validKeys = keepRecords_ && isCourseIndex(course) && isSettingIndex(setting);
    // A second copy on another display may share the record files: the best
    // to beat is the one the file holds now, not the one read at start-up.
    if (validKeys) {
        const CourseBest before = bestRow(store_, course);
        if (const auto now = store_.reloadBest(course); now && !(*now == before)) {
            store_.refreshBestLabels(display_, course, setting);
        }
    }
    dialog_.showResultAndWait(validKeys && score > store_.bestScore(course, setting));
    if (validKeys && score > store_.bestScore(course, setting)) {
        const UpdateResult update = updateRecords(course, setting, score);
        last_.newBest = update == UpdateResult::Saved || update == UpdateResult::HistoryNotSaved;
        switch (update) {
            case UpdateResult::Saved:
                break;
            case UpdateResult::BestNotSaved:
                dialog_.showSaveFailure(std::string(sjisText(UserText::BestNotSavedMessage)));
                break;
            case UpdateResult::HistoryNotSaved:
                dialog_.showSaveFailure(std::string(sjisText(UserText::HistoryNotSavedMessage)));
                break;
            case UpdateResult::NotHigher:
                dialog_.showSaveFailure(std::string(sjisText(UserText::BeatenMeanwhileMessage)));
                break;
        }
    }
}

void RecordCompletion::finishKana(std::int32_t score, bool keep, int course, int setting) {
    // Read now, as the romaji best is: another copy may have raised it.
    std::optional<CourseBest> best;
    if (keep && kanaRecords_) best = kanaRecords_->readBest(course);
    const auto s = static_cast<std::size_t>(setting);
    if (best) showBestLabels(display_, best->score[s], best->date[s]);
    // Records that cannot be read give a plain end, never a record that was not kept.
    const bool newRecord = best && score > best->score[s];
    dialog_.showResultAndWait(newRecord);
    if (!newRecord) return;
    const std::int32_t today = store_.todayDateNumber();
    switch (kanaRecords_->raiseBest(course, setting, score, today)) {
        case KanaRecords::RaiseResult::Raised:
            last_.newBest = true;
            showBestLabels(display_, score, today);
            break;
        case KanaRecords::RaiseResult::NotHigher:
            refreshBestLabels(course, setting, InputMethod::Kana);
            dialog_.showSaveFailure(std::string(sjisText(UserText::BeatenMeanwhileMessage)));
            break;
        case KanaRecords::RaiseResult::Failed:
            dialog_.showSaveFailure(std::string(sjisText(UserText::BestNotSavedMessage)));
            break;
    }
}

void RecordCompletion::refreshBestLabels(int course, int setting, InputMethod method) {
    if (method == InputMethod::Romaji) {
        store_.refreshBestLabels(display_, course, setting);
        return;
    }
    std::optional<CourseBest> best;
    if (kanaRecords_ && isCourseIndex(course) && isSettingIndex(setting))
        best = kanaRecords_->readBest(course);
    const auto s = static_cast<std::size_t>(setting);
    showBestLabels(display_, best ? best->score[s] : 0, best ? best->date[s] : 0);
}

UpdateResult RecordCompletion::updateRecords(int course, int setting, std::int32_t score) {
    if (!isCourseIndex(course) || !isSettingIndex(setting)) return UpdateResult::BestNotSaved;
    const std::int32_t today = store_.todayDateNumber();
    // Compared with the file in the same replacement that writes it, so that a
    // best another copy stored meanwhile is never overwritten by a lower one.
    switch (store_.raiseBest(course, setting, score, today)) {
        case RecordStore::RaiseResult::Failed:
            return UpdateResult::BestNotSaved;
        case RecordStore::RaiseResult::NotHigher:
            store_.refreshBestLabels(display_, course, setting);
            return UpdateResult::NotHigher;
        case RecordStore::RaiseResult::Raised:
            break;
    }
    display_.setLabelText(Label::BestScore, std::to_string(score));
    display_.setLabelText(Label::BestDate, longDateText(today));
    if (!store_.modifyHistory(
            course, [&](CourseHistory& record) { record.addBest(setting, score, today); })) {
        return UpdateResult::HistoryNotSaved;
    }
    return UpdateResult::Saved;
}

}  // namespace hayate
