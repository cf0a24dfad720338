// The best records and history of results typed on the kana layout. They
// never mix with the romaji ones of the record files, whose bytes stay as
// they are; whatever keeps them (the exercise journal) implements this.
#pragma once

#include <cstdint>
#include <optional>

#include "records/record_format.h"

namespace hayate {

class KanaRecords {
  public:
    virtual ~KanaRecords() = default;

    // The course's records, or nullopt when they cannot be read now (no
    // journal open): then no kana result may be taken for a record.
    virtual std::optional<CourseBest> readBest(int course) = 0;
    virtual std::optional<CourseHistory> readHistory(int course) = 0;

    enum class RaiseResult {
        Raised,     // the score beat the stored best; best and history are stored
        NotHigher,  // the stored best is equal or higher (another copy meanwhile)
        Failed,     // nothing stored
    };
    // Stores (score, date) as the best of the course and setting and puts it
    // first in the setting's history, in one step, only when it beats the
    // stored best.
    virtual RaiseResult raiseBest(int course, int setting, std::int32_t score,
                                  std::int32_t date) = 0;

    // Clears the bests and history of one setting of the course, or of all
    // six when `setting` is nullopt. False when nothing could be cleared.
    virtual bool clear(int course, std::optional<int> setting) = 0;
};

}  // namespace hayate
