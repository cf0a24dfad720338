// The kana records as the completion and the records screens see them: the
// journal's, reached through `journal`, which gives the open journal (waiting
// for an open under way) or null when there is none.
#pragma once

#include <functional>

#include "journal/journal.h"
#include "records/kana_records.h"

namespace hayate::journal {

class JournalKanaRecords final : public KanaRecords {
  public:
    explicit JournalKanaRecords(std::function<Journal*()> journal) : journal_(std::move(journal)) {}

    std::optional<CourseBest> readBest(int course) override;
    std::optional<CourseHistory> readHistory(int course) override;
    RaiseResult raiseBest(int course, int setting, std::int32_t score, std::int32_t date) override;
    bool clear(int course, std::optional<int> setting) override;

  private:
    Journal* open() const;
    std::function<Journal*()> journal_;
};

}  // namespace hayate::journal
