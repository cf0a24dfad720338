// The journal's queries: what the analysis screen and weak-spot practice
// read, and how a failed read is told.
#include <algorithm>
#include <map>

#include "journal/journal.h"
#include "journal/journal_sqlite.h"

namespace hayate::journal {

namespace {

// WHERE clause over the exercise table and its values, in order.
struct Where {
    std::string sql;
    std::vector<std::int64_t> values;
};

Where exerciseWhere(const Filter& f) {
    Where w{" WHERE 1", {}};
    if (f.courseIndex) {
        w.sql += " AND course = ?";
        w.values.push_back(*f.courseIndex);
    }
    if (f.settingIndex) {
        w.sql += " AND time_limit * 2 + spacing = ?";
        w.values.push_back(*f.settingIndex);
    }
    if (f.since > 0) {
        w.sql += " AND started_at >= ?";
        w.values.push_back(f.since);
    }
    if (!f.includeStopped) w.sql += " AND end_reason <> 2";
    if (!f.includeWeakSpot) w.sql += " AND kind = 0";
    if (f.inputMethod) {
        w.sql += " AND input_mode = ?";
        w.values.push_back(static_cast<int>(*f.inputMethod));
    }
    return w;
}

// The daily totals know course, day and input method only: the keys of
// every exercise, stopped or weak-spot, tell where the fingers go wrong.
Where dailyWhere(const Filter& f) {
    Where w{" WHERE 1", {}};
    if (f.courseIndex) {
        w.sql += " AND course = ?";
        w.values.push_back(*f.courseIndex);
    }
    if (f.since > 0) {
        w.sql += " AND day >= ?";
        w.values.push_back(localDay(f.since));
    }
    if (f.inputMethod) {
        w.sql += " AND input_mode = ?";
        w.values.push_back(static_cast<int>(*f.inputMethod));
    }
    return w;
}

Statement prepared(sqlite3* db, const std::string& sql, const Where& w) {
    Statement s(db, (sql + w.sql).c_str());
    if (s) {
        for (std::size_t i = 0; i < w.values.size(); ++i)
            s.bind(static_cast<int>(i) + 1, w.values[i]);
    }
    return s;
}

}  // namespace

// The readers below return the code of their last step, SQLITE_DONE when
// they read everything, with their statements finished.

// How many exercises `filter` takes; on the index, a count that does not
// depend on the table's pages.
int countExercises(sqlite3* db, const Filter& filter, bool onIndex, int& count) {
    Statement s = prepared(db,
                           onIndex ? "SELECT count(*) FROM exercise INDEXED BY exercise_course_time"
                                   : "SELECT count(*) FROM exercise",
                           exerciseWhere(filter));
    if (!s) return prepareError(db);
    const int rc = s.step();
    if (rc == SQLITE_ROW) count = s.int32(0);
    return rc == SQLITE_ROW ? SQLITE_DONE : rc;
}

int readExercises(sqlite3* db, const Filter& filter, std::vector<ExerciseSummary>& out) {
    Where w = exerciseWhere(filter);
    w.sql += " ORDER BY started_at, id";
    Statement s = prepared(
        db,
        "SELECT id, started_at, course, problem_slot, problem_name, time_limit,"
        " spacing, letter_case, romaji, end_reason, kind, characters, misses,"
        " keystrokes, elapsed_ms, score, new_best, extended_romaji, input_mode FROM exercise",
        w);
    if (!s) return prepareError(db);
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
        ExerciseSummary e;
        e.id = s.integer(0);
        e.startedAt = s.integer(1);
        e.courseIndex = s.int32(2);
        e.problemSlot = s.int32(3);
        e.problemName = s.blob(4);
        e.timeLimitIndex = s.int32(5);
        e.spacing = s.int32(6);
        e.letterCase = s.int32(7);
        e.romajiMode = s.int32(8) != 0;
        e.end = static_cast<ExerciseEnd>(s.int32(9));
        e.kind = static_cast<PracticeKind>(s.int32(10));
        e.characters = s.int32(11);
        e.misses = s.int32(12);
        e.keystrokes = s.int32(13);
        e.elapsedMs = s.int32(14);
        e.score = s.int32(15);
        e.newBest = s.int32(16) != 0;
        e.extendedRomaji = s.int32(17) != 0;
        e.inputMethod = s.int32(18) == 1 ? InputMethod::Kana : InputMethod::Romaji;
        out.push_back(std::move(e));
    }
    return rc;
}

namespace {

int readKeyStats(sqlite3* db, const Filter& filter, std::vector<KeyStat>& out) {
    const Where w = dailyWhere(filter);
    Statement keys = prepared(db, "SELECT key_id, sum(presses), sum(misses) FROM day_key",
                              Where{w.sql + " GROUP BY key_id ORDER BY key_id", w.values});
    if (!keys) return prepareError(db);
    std::map<int, std::size_t> at;
    int rc;
    while ((rc = keys.step()) == SQLITE_ROW) {
        at[keys.int32(0)] = out.size();
        out.push_back({keys.int32(0), keys.int32(1), keys.int32(2), {}});
    }
    if (rc != SQLITE_DONE) return rc;
    Statement details = prepared(
        db, "SELECT key_id, character, wrong_key, sum(count) AS n FROM day_miss",
        Where{w.sql + " GROUP BY key_id, character, wrong_key ORDER BY key_id, n DESC, character",
              w.values});
    if (!details) return prepareError(db);
    while ((rc = details.step()) == SQLITE_ROW) {
        const auto it = at.find(details.int32(0));
        if (it == at.end()) continue;
        out[it->second].details.push_back(
            {details.blob(1), static_cast<char>(details.int32(2)), details.int32(3)});
    }
    return rc;
}

int readCharStats(sqlite3* db, const Filter& filter, std::vector<CharStat>& out) {
    const Where w = dailyWhere(filter);
    Statement s = prepared(db,
                           "SELECT character, sum(seen), sum(missed_cells), sum(misses),"
                           " sum(total_ms) FROM day_char",
                           Where{w.sql + " GROUP BY character ORDER BY character", w.values});
    if (!s) return prepareError(db);
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
        CharStat c;
        c.character = s.blob(0);
        c.seen = s.int32(1);
        c.missedCells = s.int32(2);
        c.misses = s.int32(3);
        c.meanMs = c.seen > 0 ? static_cast<double>(s.integer(4)) / c.seen : 0.0;
        out.push_back(std::move(c));
    }
    return rc;
}

}  // namespace

int readCells(sqlite3* db, std::int64_t exerciseId, std::vector<CellEntry>& out) {
    Statement s(db,
                "SELECT cell_index, character, typed, wrong_keys, expected_keys, ms, completed"
                " FROM cell WHERE exercise_id = ? ORDER BY seq");
    if (!s) return prepareError(db);
    s.bind(1, exerciseId);
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
        CellEntry c;
        c.cellIndex = s.int32(0);
        c.character = s.blob(1);
        c.typed = s.blob(2);
        c.wrongKeys = s.blob(3);
        c.expectedKeys = s.blob(4);
        c.msSincePrevious = s.int32(5);
        c.completed = s.int32(6) != 0;
        out.push_back(std::move(c));
    }
    return rc;
}

int Journal::exerciseCount(const Filter& filter) {
    int count = 0;
    if (!impl_->db || !endRead(countExercises(impl_->db, filter, false, count))) return 0;
    return count;
}

std::vector<ExerciseSummary> Journal::exercises(const Filter& filter) {
    std::vector<ExerciseSummary> out;
    if (impl_->db && !endRead(readExercises(impl_->db, filter, out))) out.clear();
    return out;
}

std::vector<KeyStat> Journal::keyStats(const Filter& filter) {
    std::vector<KeyStat> out;
    if (impl_->db && !endRead(readKeyStats(impl_->db, filter, out))) out.clear();
    return out;
}

std::vector<CharStat> Journal::charStats(const Filter& filter) {
    std::vector<CharStat> out;
    if (impl_->db && !endRead(readCharStats(impl_->db, filter, out))) out.clear();
    return out;
}

std::vector<CharStat> Journal::weakestCharacters(const Filter& filter, int count) {
    std::vector<CharStat> all = charStats(filter);
    // The space is typed with the thumb between characters; it is no weak spot to practise.
    std::erase_if(all, [](const CharStat& c) { return c.seen == 0 || c.character == "\x81\x40"; });
    std::stable_sort(all.begin(), all.end(), [](const CharStat& a, const CharStat& b) {
        if (a.missRate() != b.missRate()) return a.missRate() > b.missRate();
        if (a.meanMs != b.meanMs) return a.meanMs > b.meanMs;
        return a.seen > b.seen;
    });
    if (count >= 0 && static_cast<int>(all.size()) > count)
        all.resize(static_cast<std::size_t>(count));
    return all;
}

std::vector<CellEntry> Journal::cells(std::int64_t exerciseId) {
    std::vector<CellEntry> out;
    if (impl_->db && !endRead(readCells(impl_->db, exerciseId, out))) out.clear();
    return out;
}

Journal::Result Journal::readFailure(int rc) {
    if (isCorruption(rc)) return startAgain();
    return withMessage(Status::Failed, UserText::JournalReadFailed);
}

bool Journal::endRead(int rc) {
    if (rc == SQLITE_DONE || rc == SQLITE_ROW || rc == SQLITE_OK) return true;
    const Result failure = readFailure(rc);
    // A damaged file set aside is the news that matters most.
    if (impl_->readResult.ok() || failure.status == Status::Corrupt) impl_->readResult = failure;
    return false;
}

Journal::Result Journal::takeReadResult() { return std::exchange(impl_->readResult, Result{}); }

}  // namespace hayate::journal
