// The end of an exercise: final statistics, the result question, and for a new
// best score the update of the best tables, both record files and the labels.
#pragma once

#include <cstdint>
#include <string>

#include "exercise/exercise_ports.h"
#include "exercise/practice_grid.h"
#include "exercise/shared_state.h"
#include "records/record_store.h"

namespace hayate {

// Shift-JIS texts of the result dialog, for the window that shows it.
// "記録更新です", in red
extern const std::string kNewRecordText;
// "終了しました", in black
extern const std::string kFinishedText;
// "確認ＯＫですか", the second line in both cases
extern const std::string kConfirmText;
constexpr Colour kNewRecordColour = colour::kRed;
constexpr Colour kFinishedColour = colour::kBlack;

// Told to the user when a new best could not be stored; both end the same way
// as the program's other messages, with the consequence on the second line.
// "記録の保存に失敗しました\r\n今回の記録は保存されていません"
extern const std::string kBestNotSavedMessage;
// "履歴の保存に失敗しました\r\n最高記録は保存されています"
extern const std::string kHistoryNotSavedMessage;
// Another copy of the program stored a better best while the result was shown.
// "記録は更新されませんでした\r\nより高い記録が別のウィンドウで保存されています"
extern const std::string kBeatenMeanwhileMessage;

// The window's side of the completion.
class ResultDialog {
  public:
    virtual ~ResultDialog() = default;
    // Shows the confirm dialog (line 1 kNewRecordText in red or kFinishedText in
    // black, line 2 kConfirmText) with the main window disabled, and returns
    // once the user has confirmed and the main window is enabled again.
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

    void completeExercise(EndKind kind, ExerciseControl& exercise) override;

    // Stores `score` as the new best of the course and setting, dated today.
    UpdateResult updateRecords(int course, int setting, std::int32_t score);

    // Off for weak-spot practice: the result is shown as a plain end and the
    // best tables, record files and labels stay as they are.
    void setKeepRecords(bool keep) { keepRecords_ = keep; }

    // What the last completion arrived at, for the exercise journal.
    struct LastResult {
        std::int32_t score = 0;
        bool newBest = false;  // and stored
    };
    const LastResult& lastResult() const { return last_; }

  private:
    void finish(std::int32_t score, ExerciseControl& exercise);

    RecordStore& store_;
    SharedState& state_;
    ExerciseDisplay& display_;
    ResultDialog& dialog_;
    bool keepRecords_ = true;
    LastResult last_;
};

}  // namespace hayate
