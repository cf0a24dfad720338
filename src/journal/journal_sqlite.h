// The journal's own plumbing, shared by the files of src/journal (schema,
// statements, queries, CSV); nothing outside src/journal uses it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "journal/journal.h"
#include "text/user_texts.h"

namespace hayate::journal {

std::tm localTime(std::time_t t);
// The local calendar day of `t`, as days since 1970.
std::int64_t localDay(std::int64_t t);

// One prepared statement, reset after every use.
class Statement {
  public:
    Statement() = default;
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(Statement&& o) noexcept : stmt_(std::exchange(o.stmt_, nullptr)) {}
    Statement& operator=(Statement&& o) noexcept {
        if (this != &o) {
            sqlite3_finalize(stmt_);
            stmt_ = std::exchange(o.stmt_, nullptr);
        }
        return *this;
    }
    explicit operator bool() const { return stmt_ != nullptr; }

    Statement& bind(int i, std::int64_t v) {
        sqlite3_bind_int64(stmt_, i, v);
        return *this;
    }
    Statement& bind(int i, int v) { return bind(i, static_cast<std::int64_t>(v)); }
    Statement& bind(int i, bool v) { return bind(i, static_cast<std::int64_t>(v ? 1 : 0)); }
    Statement& bind(int i, const std::string& v) {
        sqlite3_bind_blob(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int step() { return sqlite3_step(stmt_); }
    // Runs a statement that returns no rows; the statement is ready again after.
    int run() {
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        return rc == SQLITE_ROW ? SQLITE_DONE : rc;
    }
    std::int64_t integer(int col) const { return sqlite3_column_int64(stmt_, col); }
    int int32(int col) const { return sqlite3_column_int(stmt_, col); }
    double real(int col) const { return sqlite3_column_double(stmt_, col); }
    std::string blob(int col) const {
        const void* p = sqlite3_column_blob(stmt_, col);
        const int n = sqlite3_column_bytes(stmt_, col);
        return p ? std::string(static_cast<const char*>(p), static_cast<std::size_t>(n))
                 : std::string();
    }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

// A statement that did not prepare: its error. A later statement that
// prepared well clears the error code of one that did not, and a failure must
// never read as success.
inline int prepareError(sqlite3* db) {
    const int rc = sqlite3_errcode(db);
    return rc == SQLITE_OK ? SQLITE_ERROR : rc;
}

// A failure told by its text from the table of user texts.
inline Journal::Result withMessage(Journal::Status status, UserText message,
                                   std::string movedAsideTo = {}) {
    return {status, std::string(sjisText(message)), std::move(movedAsideTo)};
}

inline bool isCorruption(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// Per-exercise totals that go into the daily tables.
struct Totals {
    struct CharTotal {
        int seen = 0, missedCells = 0, misses = 0;
        std::int64_t ms = 0;
    };
    std::map<std::string, CharTotal> chars;
    std::map<int, std::pair<int, int>> keys;                  // presses, misses
    std::map<std::tuple<int, std::string, int>, int> misses;  // key, character, wrong byte

    void add(const CellEntry& c);
};

// Readers shared by the queries and the CSV export. They return the code of
// their last step, SQLITE_DONE when they read everything.
// How many exercises `filter` takes; `onIndex` counts on the index alone.
int countExercises(sqlite3* db, const Filter& filter, bool onIndex, int& count);
int readExercises(sqlite3* db, const Filter& filter, std::vector<ExerciseSummary>& out);
int readCells(sqlite3* db, std::int64_t exerciseId, std::vector<CellEntry>& out);

// Copies the kana-input records, which live nowhere else, from a journal set
// aside as damaged into the fresh one, as far as they can still be read. The
// file set aside is only read.
void salvageKanaHistory(sqlite3* db, const std::string& aside);

struct Journal::Impl {
    sqlite3* db = nullptr;
    bool readOnly = false;
    Journal::Result readResult;  // what the queries met, until taken
    Statement insertExercise, insertCell, upsertChar, upsertKey, upsertMiss;

    ~Impl() { closeDb(); }
    void closeDb();
    int exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    int userVersion(int& version);
    int setVersion(int v);
    // SQLite's check of every page: a damaged page is found before new
    // exercises go into the file, not by the query that happens to read it.
    int quickCheck();
    int writeTotals(const Totals& t, int course, InputMethod method, std::int64_t day);
    // One exercise with its cells and totals, inside the caller's transaction.
    int insert(const ExerciseEntry& e);
    bool prepareWrites();
    // The daily totals alone: a migration runs before the later columns
    // exist, and the tables of version 2 know no input method.
    bool prepareTotals(bool withInputMethod = true);
    bool totalsWithInputMethod = true;
    // Version 1 to 2: the new columns, then the daily totals from the cells
    // already stored.
    int migrateToV2();
    // Version 3 to 4: the exercises typed on the kana layout before the
    // input method was kept, found by their keys, and their days' totals.
    int markKanaExercises();
    // Creates or migrates the schema in one transaction.
    int upgrade(int& version);
};

}  // namespace hayate::journal
