// Writes every exercise into the journal when it has ended: after the result
// and the record update, or after a stop. A failing journal costs one notice,
// never the exercise or its records.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "exercise/exercise_session.h"
#include "exercise/shared_state.h"
#include "journal/journal.h"
#include "records/record_completion.h"

namespace hayate::journal {

class ExerciseLogger final : public ExerciseObserver {
  public:
    struct Hooks {
        std::function<std::int64_t()> now;                 // seconds since 1970
        std::function<std::string(int slot)> problemName;  // Shift-JIS; may be unset
        std::function<void(const std::string&)> notice;    // the status bar; may be unset
        // Opens the journal if that has not been tried yet; may be unset.
        std::function<void()> ensureOpen;
    };

    ExerciseLogger(Journal& journal, ExerciseSession& session, RecordCompletion& completion,
                   const SharedState& state, Hooks hooks);

    void exerciseStarted() override;
    void exerciseEnded(ExerciseEnd end) override;
    // What opening the journal gave: a failure is noticed here, once for
    // this and the exercises it keeps from being written.
    void journalOpened(const Journal::Result& result);

    // What exerciseEnded writes for the exercise that has just ended.
    ExerciseEntry entryFor(ExerciseEnd end) const;
    const Journal::Result& lastResult() const { return last_; }

  private:
    Journal& journal_;
    ExerciseSession& session_;
    RecordCompletion& completion_;
    const SharedState& state_;
    Hooks hooks_;

    SharedState atStart_;  // the settings the exercise ran with
    std::int64_t startedAt_ = 0;
    bool weakSpot_ = false;
    bool noticeShown_ = false;  // one notice until the journal works again
    Journal::Result last_;
};

}  // namespace hayate::journal
