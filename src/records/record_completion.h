// The end of an exercise: final statistics, the result question, and for a new
// best score the update of the best tables, both record files and the labels.
#pragma once

#include <cstdint>
#include <string>

#include "exercise/exercise_ports.h"
#include "exercise/practice_grid.h"
#include "exercise/shared_state.h"
#include "records/kana_records.h"
#include "records/record_store.h"
#include "text/user_texts.h"

namespace hayate {

// The result dialog's first line: UserText::NewRecord in red, or
// UserText::Finished in black.
constexpr Colour kNewRecordColour = colour::kRed;
constexpr Colour kFinishedColour = colour::kBlack;

// The window's side of the completion.
class ResultDialog {
  public:
    virtual ~ResultDialog() = default;
    // Shows the confirm dialog (line 1 NewRecord in red or Finished in black,
    // line 2 ConfirmOk) with the main window disabled, and returns once the user has confirmed and
    // the main window is enabled again.
    virtual void showResultAndWait(bool newRecord) = 0;
    // An error box with one OK button at the message position.
    virtual void showSaveFailure(const std::string& message) = 0;
};

// What updateRecords managed to do.
enum class UpdateResult {
    Saved,
    BestNotSaved,     // nothing changed, in memory or on disk
    HistoryNotSaved,  // the best is stored; the history file is as it was
    NotHigher,        // the file holds an equal or higher best; the tables follow it
};

class RecordCompletion : public ExerciseCompletion {
  public:
    RecordCompletion(RecordStore& store, SharedState& state, ExerciseDisplay& display,
                     ResultDialog& dialog);

    void completeExercise(ExerciseEnd kind, ExerciseControl& exercise) override;

    // Stores `score` as the new best of the course and setting, dated today.
    UpdateResult updateRecords(int course, int setting, std::int32_t score);

    // Off for weak-spot practice: the result is shown as a plain end and the
    // best tables, record files and labels stay as they are.
    void setKeepRecords(bool keep) { keepRecords_ = keep; }

    // Results typed on the kana layout are judged against these records and
    // stored there, never in the best tables or the record files. Without
    // them (or when they cannot be read) such a result is a plain end.
    void setKanaRecords(KanaRecords* records) { kanaRecords_ = records; }
    // The best-record labels for the course and setting typed by `method`.
    void refreshBestLabels(int course, int setting, InputMethod method);

    // What the last completion arrived at, for the exercise journal.
    struct LastResult {
        std::int32_t score = 0;
        bool newBest = false;  // and stored
    };
    const LastResult& lastResult() const { return last_; }

  private:
    void finish(std::int32_t score, ExerciseControl& exercise);
    void finishKana(std::int32_t score, bool keep, int course, int setting);
    void finishRomaji(std::int32_t score, int course, int setting);

    RecordStore& store_;
    SharedState& state_;
    ExerciseDisplay& display_;
    ResultDialog& dialog_;
    bool keepRecords_ = true;
    KanaRecords* kanaRecords_ = nullptr;
    LastResult last_;
};

}  // namespace hayate
