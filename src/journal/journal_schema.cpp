// The journal's schema: the first version's tables and the migrations that
// bring an older file up to the current version.
#include <algorithm>
#include <set>
#include <string>

#include "journal/journal_sqlite.h"

namespace hayate::journal {

namespace {

// Version 1 kept exercises and cells only. Version 2 added the expected key
// of each miss, unfinished cells, weak-spot exercises and the daily totals
// that keep the analysis screen fast over years of practice.
constexpr const char* kSchemaV1 = R"sql(
CREATE TABLE exercise(
  id INTEGER PRIMARY KEY,
  started_at INTEGER NOT NULL,
  course INTEGER NOT NULL,
  problem_slot INTEGER NOT NULL,
  problem_name BLOB NOT NULL,
  time_limit INTEGER NOT NULL,
  spacing INTEGER NOT NULL,
  letter_case INTEGER NOT NULL,
  romaji INTEGER NOT NULL,
  end_reason INTEGER NOT NULL,
  characters INTEGER NOT NULL,
  misses INTEGER NOT NULL,
  keystrokes INTEGER NOT NULL,
  elapsed_ms INTEGER NOT NULL,
  score INTEGER NOT NULL,
  new_best INTEGER NOT NULL);
CREATE INDEX exercise_course_time ON exercise(course, started_at);
CREATE TABLE cell(
  exercise_id INTEGER NOT NULL REFERENCES exercise(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,
  cell_index INTEGER NOT NULL,
  character BLOB NOT NULL,
  typed BLOB NOT NULL,
  wrong_keys BLOB NOT NULL,
  ms INTEGER NOT NULL,
  PRIMARY KEY(exercise_id, seq)) WITHOUT ROWID;
)sql";

constexpr const char* kMigrateV2 = R"sql(
ALTER TABLE exercise ADD COLUMN kind INTEGER NOT NULL DEFAULT 0;
ALTER TABLE cell ADD COLUMN expected_keys BLOB NOT NULL DEFAULT x'';
ALTER TABLE cell ADD COLUMN completed INTEGER NOT NULL DEFAULT 1;
CREATE TABLE day_char(
  course INTEGER NOT NULL, day INTEGER NOT NULL, character BLOB NOT NULL,
  seen INTEGER NOT NULL, missed_cells INTEGER NOT NULL, misses INTEGER NOT NULL,
  total_ms INTEGER NOT NULL,
  PRIMARY KEY(course, day, character)) WITHOUT ROWID;
CREATE TABLE day_key(
  course INTEGER NOT NULL, day INTEGER NOT NULL, key_id INTEGER NOT NULL,
  presses INTEGER NOT NULL, misses INTEGER NOT NULL,
  PRIMARY KEY(course, day, key_id)) WITHOUT ROWID;
CREATE TABLE day_miss(
  course INTEGER NOT NULL, day INTEGER NOT NULL, key_id INTEGER NOT NULL,
  character BLOB NOT NULL, wrong_key INTEGER NOT NULL, count INTEGER NOT NULL,
  PRIMARY KEY(course, day, key_id, character, wrong_key)) WITHOUT ROWID;
)sql";

// Version 3: whether romaji was judged by every input method's spellings.
constexpr const char* kMigrateV3 =
    "ALTER TABLE exercise ADD COLUMN extended_romaji INTEGER NOT NULL DEFAULT 0";

// Version 4: the input method of each exercise (0 romaji, 1 kana), the daily
// totals kept apart by it, and the best records and history of results typed
// on the kana layout, which the record files never hold (the best is the
// newest entry: both are only ever written together). The key columns of
// a table without rowid lead in key order: SQLite 3.40's quick_check
// reports the other columns as NULL otherwise.
constexpr const char* kMigrateV4 = R"sql(
ALTER TABLE exercise ADD COLUMN input_mode INTEGER NOT NULL DEFAULT 0;
CREATE TABLE day_char4(
  course INTEGER NOT NULL, day INTEGER NOT NULL, character BLOB NOT NULL,
  input_mode INTEGER NOT NULL DEFAULT 0,
  seen INTEGER NOT NULL, missed_cells INTEGER NOT NULL, misses INTEGER NOT NULL,
  total_ms INTEGER NOT NULL,
  PRIMARY KEY(course, day, character, input_mode)) WITHOUT ROWID;
INSERT INTO day_char4 SELECT course, day, character, 0, seen, missed_cells, misses, total_ms
  FROM day_char;
DROP TABLE day_char;
ALTER TABLE day_char4 RENAME TO day_char;
CREATE TABLE day_key4(
  course INTEGER NOT NULL, day INTEGER NOT NULL, key_id INTEGER NOT NULL,
  input_mode INTEGER NOT NULL DEFAULT 0, presses INTEGER NOT NULL, misses INTEGER NOT NULL,
  PRIMARY KEY(course, day, key_id, input_mode)) WITHOUT ROWID;
INSERT INTO day_key4 SELECT course, day, key_id, 0, presses, misses FROM day_key;
DROP TABLE day_key;
ALTER TABLE day_key4 RENAME TO day_key;
CREATE TABLE day_miss4(
  course INTEGER NOT NULL, day INTEGER NOT NULL, key_id INTEGER NOT NULL,
  character BLOB NOT NULL, wrong_key INTEGER NOT NULL, input_mode INTEGER NOT NULL DEFAULT 0,
  count INTEGER NOT NULL,
  PRIMARY KEY(course, day, key_id, character, wrong_key, input_mode)) WITHOUT ROWID;
INSERT INTO day_miss4 SELECT course, day, key_id, character, wrong_key, 0, count FROM day_miss;
DROP TABLE day_miss;
ALTER TABLE day_miss4 RENAME TO day_miss;
CREATE TABLE kana_history(
  course INTEGER NOT NULL, setting INTEGER NOT NULL, entry INTEGER NOT NULL,
  score INTEGER NOT NULL, date INTEGER NOT NULL,
  PRIMARY KEY(course, setting, entry)) WITHOUT ROWID;
)sql";

}  // namespace

int Journal::Impl::userVersion(int& version) {
    Statement s(db, "PRAGMA user_version");
    if (!s) return sqlite3_errcode(db);
    const int rc = s.step();
    if (rc != SQLITE_ROW) return rc;
    version = s.int32(0);
    return SQLITE_OK;
}

int Journal::Impl::setVersion(int v) {
    return exec(("PRAGMA user_version = " + std::to_string(v)).c_str());
}

int Journal::Impl::quickCheck() {
    Statement s(db, "PRAGMA quick_check(1)");
    if (!s) return prepareError(db);
    const int rc = s.step();
    if (rc != SQLITE_ROW) return rc;
    return s.blob(0) == "ok" ? SQLITE_OK : SQLITE_CORRUPT;
}

int Journal::Impl::migrateToV2() {
    if (int rc = exec(kMigrateV2); rc != SQLITE_OK) return rc;
    if (!prepareTotals(false)) return prepareError(db);
    Statement ex(db, "SELECT id, started_at, course FROM exercise");
    if (!ex) return sqlite3_errcode(db);
    int rc;
    while ((rc = ex.step()) == SQLITE_ROW) {
        // The new columns read as their defaults: no expected keys, completed.
        std::vector<CellEntry> cells;
        if (int c = readCells(db, ex.integer(0), cells); c != SQLITE_DONE) return c;
        Totals t;
        for (const CellEntry& c : cells) t.add(c);
        if (int w = writeTotals(t, ex.int32(2), InputMethod::Romaji, localDay(ex.integer(1)));
            w != SQLITE_DONE)
            return w;
    }
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

namespace {

// Keys of the kana layout arrive as bytes A1 to DF, which romaji never types.
bool typedOnKanaLayout(const std::string& typed) {
    return std::any_of(typed.begin(), typed.end(), [](char k) {
        const auto b = static_cast<unsigned char>(k);
        return b >= 0xA1 && b <= 0xDF;
    });
}

}  // namespace

int Journal::Impl::markKanaExercises() {
    Statement ex(db, "SELECT id, started_at, course FROM exercise WHERE romaji = 1");
    Statement typed(db, "SELECT typed FROM cell WHERE exercise_id = ?");
    Statement mark(db, "UPDATE exercise SET input_mode = 1 WHERE id = ?");
    if (!ex || !typed || !mark) return prepareError(db);
    std::vector<std::int64_t> kanaExercises;
    std::set<std::pair<int, std::int64_t>> days;  // course, day
    int rc;
    while ((rc = ex.step()) == SQLITE_ROW) {
        typed.bind(1, ex.integer(0));
        bool kana = false;
        int crc;
        while (!kana && (crc = typed.step()) == SQLITE_ROW) kana = typedOnKanaLayout(typed.blob(0));
        if (!kana && crc != SQLITE_DONE) return crc;
        typed.run();
        if (!kana) continue;
        kanaExercises.push_back(ex.integer(0));
        days.insert({ex.int32(2), localDay(ex.integer(1))});
    }
    if (rc != SQLITE_DONE) return rc;
    if (days.empty()) return SQLITE_OK;
    // Marked once the scan is over: a table changed under its own scan may
    // be read again or not at all.
    for (const std::int64_t id : kanaExercises)
        if (int m = mark.bind(1, id).run(); m != SQLITE_DONE) return m;

    // Those days are counted again from the cells, each exercise under its
    // own method, as record() would have counted them.
    if (!prepareTotals()) return prepareError(db);
    Statement ofCourse(db, "SELECT id, started_at, input_mode FROM exercise WHERE course = ?");
    if (!ofCourse) return prepareError(db);
    for (const char* table : {"day_char", "day_key", "day_miss"}) {
        Statement clear(
            db, (std::string("DELETE FROM ") + table + " WHERE course = ? AND day = ?").c_str());
        if (!clear) return prepareError(db);
        for (const auto& [course, day] : days)
            if (int c = clear.bind(1, course).bind(2, day).run(); c != SQLITE_DONE) return c;
    }
    for (const auto& [course, day] : days) {
        ofCourse.bind(1, course);
        while ((rc = ofCourse.step()) == SQLITE_ROW) {
            if (localDay(ofCourse.integer(1)) != day) continue;
            std::vector<CellEntry> cells;
            if (int c = readCells(db, ofCourse.integer(0), cells); c != SQLITE_DONE) return c;
            Totals t;
            for (const CellEntry& c : cells) t.add(c);
            const InputMethod method =
                ofCourse.int32(2) == 1 ? InputMethod::Kana : InputMethod::Romaji;
            if (int w = writeTotals(t, course, method, day); w != SQLITE_DONE) return w;
        }
        ofCourse.run();
        if (rc != SQLITE_DONE) return rc;
    }
    return SQLITE_OK;
}

int Journal::Impl::upgrade(int& version) {
    if (int rc = exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) return rc;
    int rc = SQLITE_OK;
    if (version == 0) {
        rc = exec(kSchemaV1);
        if (rc == SQLITE_OK) version = 1;
    }
    if (rc == SQLITE_OK && version == 1) {
        rc = migrateToV2();
        if (rc == SQLITE_OK) version = 2;
    }
    if (rc == SQLITE_OK && version == 2) {
        rc = exec(kMigrateV3);
        if (rc == SQLITE_OK) version = 3;
    }
    if (rc == SQLITE_OK && version == 3) {
        rc = exec(kMigrateV4);
        if (rc == SQLITE_OK) rc = markKanaExercises();
        if (rc == SQLITE_OK) version = 4;
    }
    if (rc == SQLITE_OK) rc = setVersion(version);
    if (rc == SQLITE_OK) rc = exec("COMMIT");
    if (rc != SQLITE_OK) exec("ROLLBACK");
    return rc;
}

}  // namespace hayate::journal
