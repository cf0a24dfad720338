// The journal's writing statements: one exercise with its cells, and the
// daily totals it adds to.
#include <cstdio>

#include "journal/jis_keys.h"
#include "journal/journal_sqlite.h"

namespace hayate::journal {

namespace {

constexpr const char* kInsertExercise =
    "INSERT INTO exercise(started_at, course, problem_slot, problem_name, time_limit, spacing,"
    " letter_case, romaji, end_reason, characters, misses, keystrokes, elapsed_ms, score,"
    " new_best, kind, extended_romaji, input_mode) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
constexpr const char* kInsertCell =
    "INSERT INTO cell(exercise_id, seq, cell_index, character, typed, wrong_keys, ms,"
    " expected_keys, completed) VALUES(?,?,?,?,?,?,?,?,?)";
// The input method is bound last, so that the same binds serve the tables of
// version 2, which lack it.
constexpr const char* kUpsertChar =
    "INSERT INTO day_char(course, day, character, seen, missed_cells, misses, total_ms%s)"
    " VALUES(?,?,?,?,?,?,?%s) ON CONFLICT DO UPDATE SET"
    " seen = seen + excluded.seen, missed_cells = missed_cells + excluded.missed_cells,"
    " misses = misses + excluded.misses, total_ms = total_ms + excluded.total_ms";
constexpr const char* kUpsertKey =
    "INSERT INTO day_key(course, day, key_id, presses, misses%s) VALUES(?,?,?,?,?%s)"
    " ON CONFLICT DO UPDATE SET"
    " presses = presses + excluded.presses, misses = misses + excluded.misses";
constexpr const char* kUpsertMiss =
    "INSERT INTO day_miss(course, day, key_id, character, wrong_key, count%s)"
    " VALUES(?,?,?,?,?,?%s) ON CONFLICT DO UPDATE SET count = count + excluded.count";

Statement totalsStatement(sqlite3* db, const char* pattern, bool withInputMethod) {
    char sql[512];
    std::snprintf(sql, sizeof sql, pattern, withInputMethod ? ", input_mode" : "",
                  withInputMethod ? ",?" : "");
    return Statement(db, sql);
}

}  // namespace

void Totals::add(const CellEntry& c) {
    if (c.completed) {
        CharTotal& t = chars[c.character];
        t.seen += 1;
        t.missedCells += c.wrongKeys.empty() ? 0 : 1;
        t.misses += static_cast<int>(c.wrongKeys.size());
        t.ms += c.msSincePrevious;
    }
    for (char k : c.typed) {
        const int id = jis::keyIdForByte(static_cast<unsigned char>(k));
        if (id >= 0) keys[id].first += 1;
    }
    for (std::size_t i = 0; i < c.wrongKeys.size(); ++i) {
        // Files of the first version did not keep the expected key: the
        // cell's own character stands in when it names a key.
        int id = i < c.expectedKeys.size()
                     ? jis::keyIdForByte(static_cast<unsigned char>(c.expectedKeys[i]))
                     : jis::keyIdForCharacter(c.character);
        if (c.expectedKeys.size() > i && c.expectedKeys[i] == 0) id = -1;
        if (id < 0) continue;
        keys[id].second += 1;
        misses[{id, c.character, static_cast<unsigned char>(c.wrongKeys[i])}] += 1;
    }
}

void Journal::Impl::closeDb() {
    insertExercise = {};
    insertCell = {};
    upsertChar = {};
    upsertKey = {};
    upsertMiss = {};
    if (db) sqlite3_close_v2(db);
    db = nullptr;
}

int Journal::Impl::writeTotals(const Totals& t, int course, InputMethod method, std::int64_t day) {
    const int mode = static_cast<int>(method);
    const bool withMode = totalsWithInputMethod;
    for (const auto& [ch, c] : t.chars) {
        upsertChar.bind(1, course).bind(2, day).bind(3, ch).bind(4, c.seen);
        upsertChar.bind(5, c.missedCells).bind(6, c.misses).bind(7, c.ms);
        if (withMode) upsertChar.bind(8, mode);
        if (int rc = upsertChar.run(); rc != SQLITE_DONE) return rc;
    }
    for (const auto& [id, pm] : t.keys) {
        upsertKey.bind(1, course).bind(2, day).bind(3, id).bind(4, pm.first).bind(5, pm.second);
        if (withMode) upsertKey.bind(6, mode);
        if (int rc = upsertKey.run(); rc != SQLITE_DONE) return rc;
    }
    for (const auto& [k, n] : t.misses) {
        upsertMiss.bind(1, course).bind(2, day).bind(3, std::get<0>(k)).bind(4, std::get<1>(k));
        upsertMiss.bind(5, std::get<2>(k)).bind(6, n);
        if (withMode) upsertMiss.bind(7, mode);
        if (int rc = upsertMiss.run(); rc != SQLITE_DONE) return rc;
    }
    return SQLITE_DONE;
}

int Journal::Impl::insert(const ExerciseEntry& e) {
    Statement& x = insertExercise;
    x.bind(1, e.startedAt).bind(2, e.courseIndex).bind(3, e.problemSlot).bind(4, e.problemName);
    x.bind(5, e.timeLimitIndex).bind(6, e.spacing).bind(7, e.letterCase).bind(8, e.romajiMode);
    x.bind(9, static_cast<int>(e.end)).bind(10, e.characters).bind(11, e.misses);
    x.bind(12, e.keystrokes).bind(13, e.elapsedMs).bind(14, e.score).bind(15, e.newBest);
    x.bind(16, static_cast<int>(e.kind)).bind(17, e.extendedRomaji);
    x.bind(18, static_cast<int>(e.inputMethod));
    int rc = x.run();
    const std::int64_t id = sqlite3_last_insert_rowid(db);
    Totals totals;
    for (std::size_t i = 0; rc == SQLITE_DONE && i < e.cells.size(); ++i) {
        const CellEntry& c = e.cells[i];
        Statement& s = insertCell;
        s.bind(1, id).bind(2, static_cast<int>(i)).bind(3, c.cellIndex).bind(4, c.character);
        s.bind(5, c.typed).bind(6, c.wrongKeys).bind(7, c.msSincePrevious);
        s.bind(8, c.expectedKeys).bind(9, c.completed);
        rc = s.run();
        totals.add(c);
    }
    if (rc == SQLITE_DONE)
        rc = writeTotals(totals, e.courseIndex, e.inputMethod, localDay(e.startedAt));
    return rc;
}

bool Journal::Impl::prepareWrites() {
    insertExercise = Statement(db, kInsertExercise);
    insertCell = Statement(db, kInsertCell);
    return insertExercise && insertCell && prepareTotals();
}

bool Journal::Impl::prepareTotals(bool withInputMethod) {
    totalsWithInputMethod = withInputMethod;
    upsertChar = totalsStatement(db, kUpsertChar, withInputMethod);
    upsertKey = totalsStatement(db, kUpsertKey, withInputMethod);
    upsertMiss = totalsStatement(db, kUpsertMiss, withInputMethod);
    return upsertChar && upsertKey && upsertMiss;
}

}  // namespace hayate::journal
