// How an exercise ended. The values are kept in the journal's files.
#pragma once

namespace hayate {

enum class ExerciseEnd {
    TimeLimit = 0,  // the clock ran out
    LastCell = 1,   // the last cell was typed
    Stopped = 2,    // Esc, the stop button or a restart, without a result
};

}  // namespace hayate
