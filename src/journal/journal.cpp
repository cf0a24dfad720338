#include "journal/journal.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <tuple>
#include <utility>

#include "journal/jis_keys.h"
#include "journal/journal_text.h"
#include "platform/safe_file.h"

namespace hayate::journal {

namespace {

// 練習記録が壊れていたので別名で残し、新しく始めました
constexpr const char* kMsgCorrupt =
    "\x97\xFB\x8F\x4B\x8B\x4C\x98\x5E\x82\xAA\x89\xF3\x82\xEA\x82\xC4\x82\xA2\x82\xBD\x82\xCC\x82"
    "\xC5\x95\xCA\x96\xBC\x82\xC5\x8E\x63\x82\xB5\x81\x41\x90\x56\x82\xB5\x82\xAD\x8E\x6E\x82\xDF"
    "\x82\xDC\x82\xB5\x82\xBD";
// 練習記録を書き込めません（読み取り専用です）
constexpr const char* kMsgReadOnly =
    "\x97\xFB\x8F\x4B\x8B\x4C\x98\x5E\x82\xF0\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82"
    "\xF1\x81\x69\x93\xC7\x82\xDD\x8E\xE6\x82\xE8\x90\xEA\x97\x70\x82\xC5\x82\xB7\x81\x6A";
// 練習記録を書き込めません（ディスクがいっぱいです）
constexpr const char* kMsgFull =
    "\x97\xFB\x8F\x4B\x8B\x4C\x98\x5E\x82\xF0\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82"
    "\xF1\x81\x69\x83\x66\x83\x42\x83\x58\x83\x4E\x82\xAA\x82\xA2\x82\xC1\x82\xCF\x82\xA2\x82\xC5"
    "\x82\xB7\x81\x6A";
// 練習記録を開けません
constexpr const char* kMsgOpenFailed =
    "\x97\xFB\x8F\x4B\x8B\x4C\x98\x5E\x82\xF0\x8A\x4A\x82\xAF\x82\xDC\x82\xB9\x82\xF1";
// 練習記録を書き込めません
constexpr const char* kMsgWriteFailed =
    "\x97\xFB\x8F\x4B\x8B\x4C\x98\x5E\x82\xF0\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82"
    "\xF1";
// 練習記録が新しい版のもので、この版では使えません
constexpr const char* kMsgNewer =
    "\x97\xFB\x8F\x4B\x8B\x4C\x98\x5E\x82\xAA\x90\x56\x82\xB5\x82\xA2\x94\xC5\x82\xCC\x82\xE0\x82"
    "\xCC\x82\xC5\x81\x41\x82\xB1\x82\xCC\x94\xC5\x82\xC5\x82\xCD\x8E\x67\x82\xA6\x82\xDC\x82\xB9"
    "\x82\xF1";
// ＣＳＶファイルを書き込めません
constexpr const char* kMsgExportFailed =
    "\x82\x62\x82\x72\x82\x75\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x8F\x91\x82\xAB\x8D\x9E\x82"
    "\xDF\x82\xDC\x82\xB9\x82\xF1";

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

constexpr const char* kInsertExercise =
    "INSERT INTO exercise(started_at, course, problem_slot, problem_name, time_limit, spacing,"
    " letter_case, romaji, end_reason, characters, misses, keystrokes, elapsed_ms, score,"
    " new_best, kind, extended_romaji) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
constexpr const char* kInsertCell =
    "INSERT INTO cell(exercise_id, seq, cell_index, character, typed, wrong_keys, ms,"
    " expected_keys, completed) VALUES(?,?,?,?,?,?,?,?,?)";
constexpr const char* kUpsertChar =
    "INSERT INTO day_char VALUES(?,?,?,?,?,?,?) ON CONFLICT DO UPDATE SET"
    " seen = seen + excluded.seen, missed_cells = missed_cells + excluded.missed_cells,"
    " misses = misses + excluded.misses, total_ms = total_ms + excluded.total_ms";
constexpr const char* kUpsertKey =
    "INSERT INTO day_key VALUES(?,?,?,?,?) ON CONFLICT DO UPDATE SET"
    " presses = presses + excluded.presses, misses = misses + excluded.misses";
constexpr const char* kUpsertMiss =
    "INSERT INTO day_miss VALUES(?,?,?,?,?,?) ON CONFLICT DO UPDATE SET"
    " count = count + excluded.count";

std::tm localTime(std::time_t t) {
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return tm;
}

// Days since 1970-01-01 of a civil date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

// The local calendar day of `t`, as days since 1970.
std::int64_t localDay(std::int64_t t) {
    const std::tm tm = localTime(static_cast<std::time_t>(t));
    return daysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

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

bool isCorruption(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

Journal::Result resultFor(int rc, const char* failedMessage) {
    switch (rc & 0xFF) {
        case SQLITE_OK:
        case SQLITE_DONE:
            return {};
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
        case SQLITE_AUTH:
            return {Journal::Status::ReadOnly, kMsgReadOnly, {}};
        case SQLITE_FULL:
            return {Journal::Status::Full, kMsgFull, {}};
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return {Journal::Status::Corrupt, kMsgCorrupt, {}};
        default:
            return {Journal::Status::Failed, failedMessage, {}};
    }
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

    void add(const CellEntry& c) {
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
};

}  // namespace

std::string journalFileName(const std::string& programName) { return programName + ".sqlite3"; }

std::int64_t periodStart(Period period, std::int64_t now) {
    if (period == Period::All) return 0;
    std::tm tm = localTime(static_cast<std::time_t>(now));
    tm.tm_hour = 0;
    tm.tm_min = 0;
    tm.tm_sec = 0;
    tm.tm_mday -= period == Period::Days7 ? 6 : 29;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

double ExerciseSummary::charactersPerMinute() const {
    return elapsedMs > 0 ? characters * 60000.0 / elapsedMs : 0.0;
}

double ExerciseSummary::accuracy() const {
    // Only romaji exercises count keystrokes; elsewhere a character is one key.
    const int correct = keystrokes > 0 ? keystrokes : characters;
    if (correct + misses <= 0) return 1.0;
    return static_cast<double>(correct) / (correct + misses);
}

double KeyStat::missRate() const {
    const int total = presses + misses;
    return total > 0 ? static_cast<double>(misses) / total : 0.0;
}

double CharStat::missRate() const {
    return seen > 0 ? static_cast<double>(missedCells) / seen : 0.0;
}

struct Journal::Impl {
    sqlite3* db = nullptr;
    bool readOnly = false;
    Statement insertExercise, insertCell, upsertChar, upsertKey, upsertMiss;

    ~Impl() { closeDb(); }

    void closeDb() {
        insertExercise = {};
        insertCell = {};
        upsertChar = {};
        upsertKey = {};
        upsertMiss = {};
        if (db) sqlite3_close_v2(db);
        db = nullptr;
    }

    int exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

    int userVersion(int& version) {
        Statement s(db, "PRAGMA user_version");
        if (!s) return sqlite3_errcode(db);
        const int rc = s.step();
        if (rc != SQLITE_ROW) return rc;
        version = s.int32(0);
        return SQLITE_OK;
    }

    int setVersion(int v) { return exec(("PRAGMA user_version = " + std::to_string(v)).c_str()); }

    int writeTotals(const Totals& t, int course, std::int64_t day) {
        for (const auto& [ch, c] : t.chars) {
            upsertChar.bind(1, course).bind(2, day).bind(3, ch).bind(4, c.seen);
            upsertChar.bind(5, c.missedCells).bind(6, c.misses).bind(7, c.ms);
            if (int rc = upsertChar.run(); rc != SQLITE_DONE) return rc;
        }
        for (const auto& [id, pm] : t.keys) {
            upsertKey.bind(1, course).bind(2, day).bind(3, id).bind(4, pm.first).bind(5, pm.second);
            if (int rc = upsertKey.run(); rc != SQLITE_DONE) return rc;
        }
        for (const auto& [k, n] : t.misses) {
            upsertMiss.bind(1, course).bind(2, day).bind(3, std::get<0>(k)).bind(4, std::get<1>(k));
            upsertMiss.bind(5, std::get<2>(k)).bind(6, n);
            if (int rc = upsertMiss.run(); rc != SQLITE_DONE) return rc;
        }
        return SQLITE_DONE;
    }

    // One exercise with its cells and totals, inside the caller's transaction.
    int insert(const ExerciseEntry& e) {
        Statement& x = insertExercise;
        x.bind(1, e.startedAt).bind(2, e.courseIndex).bind(3, e.problemSlot).bind(4, e.problemName);
        x.bind(5, e.timeLimitIndex).bind(6, e.spacing).bind(7, e.letterCase).bind(8, e.romajiMode);
        x.bind(9, static_cast<int>(e.end)).bind(10, e.characters).bind(11, e.misses);
        x.bind(12, e.keystrokes).bind(13, e.elapsedMs).bind(14, e.score).bind(15, e.newBest);
        x.bind(16, static_cast<int>(e.kind)).bind(17, e.extendedRomaji);
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
        if (rc == SQLITE_DONE) rc = writeTotals(totals, e.courseIndex, localDay(e.startedAt));
        return rc;
    }

    bool prepareWrites() {
        insertExercise = Statement(db, kInsertExercise);
        insertCell = Statement(db, kInsertCell);
        return insertExercise && insertCell && prepareTotals();
    }

    // A later statement that prepared well clears the error code of one that
    // did not: a failure must never read as success.
    int failedPrepare() const {
        const int rc = sqlite3_errcode(db);
        return rc == SQLITE_OK ? SQLITE_ERROR : rc;
    }

    // The daily totals alone: a migration runs before the later columns exist.
    bool prepareTotals() {
        upsertChar = Statement(db, kUpsertChar);
        upsertKey = Statement(db, kUpsertKey);
        upsertMiss = Statement(db, kUpsertMiss);
        return upsertChar && upsertKey && upsertMiss;
    }

    // Version 1 to 2: the new columns, then the daily totals from the cells
    // already stored.
    int migrateToV2() {
        if (int rc = exec(kMigrateV2); rc != SQLITE_OK) return rc;
        if (!prepareTotals()) return failedPrepare();
        Statement ex(db, "SELECT id, started_at, course FROM exercise");
        Statement cells(db,
                        "SELECT character, typed, wrong_keys, ms FROM cell WHERE exercise_id = ?"
                        " ORDER BY seq");
        if (!ex || !cells) return sqlite3_errcode(db);
        int rc;
        while ((rc = ex.step()) == SQLITE_ROW) {
            Totals t;
            cells.bind(1, ex.integer(0));
            while (cells.step() == SQLITE_ROW) {
                CellEntry c;
                c.character = cells.blob(0);
                c.typed = cells.blob(1);
                c.wrongKeys = cells.blob(2);
                c.msSincePrevious = cells.int32(3);
                t.add(c);
            }
            cells.run();
            if (int w = writeTotals(t, ex.int32(2), localDay(ex.integer(1))); w != SQLITE_DONE)
                return w;
        }
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    }

    // Creates or migrates the schema in one transaction.
    int upgrade(int& version) {
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
        if (rc == SQLITE_OK) rc = setVersion(version);
        if (rc == SQLITE_OK) rc = exec("COMMIT");
        if (rc != SQLITE_OK) exec("ROLLBACK");
        return rc;
    }
};

Journal::Journal() : impl_(std::make_unique<Impl>()) {}
Journal::~Journal() = default;

bool Journal::isOpen() const { return impl_->db != nullptr; }
bool Journal::isReadOnly() const { return impl_->db != nullptr && impl_->readOnly; }

void Journal::close() {
    impl_->closeDb();
    impl_->readOnly = false;
}

namespace {

// "<path>.corrupt-YYYYMMDD-HHMMSS", with a counter when that name is taken.
std::filesystem::path asideName(const std::string& path) {
    const std::tm tm = localTime(std::time(nullptr));
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, ".corrupt-%04d%02d%02d-%02d%02d%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    std::filesystem::path name = path + stamp;
    for (int n = 2; std::filesystem::exists(name); ++n)
        name = path + stamp + "-" + std::to_string(n);
    return name;
}

// Renames a damaged journal, with its WAL and shared-memory files, out of the
// way; never deletes it. The new name, or empty when the rename failed.
std::string moveAside(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path aside = asideName(path);
    std::filesystem::rename(path, aside, ec);
    if (ec) return {};
    for (const char* suffix : {"-wal", "-shm"}) {
        std::error_code ignored;
        if (std::filesystem::exists(path + suffix, ignored))
            std::filesystem::rename(path + suffix, aside.string() + suffix, ignored);
    }
    return aside.string();
}

}  // namespace

Journal::Result Journal::open(const std::string& path) {
    close();
    path_ = path;
    std::string movedAside;

    for (int attempt = 0; attempt < 2; ++attempt) {
        Impl& d = *impl_;
        int rc = sqlite3_open_v2(path.c_str(), &d.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
        if (rc != SQLITE_OK) {
            close();
            Result r = resultFor(rc, kMsgOpenFailed);
            if (r.status == Status::Corrupt) r = {Status::Failed, kMsgOpenFailed, {}};
            return r;
        }
        sqlite3_busy_timeout(d.db, 2000);
        d.readOnly = sqlite3_db_readonly(d.db, "main") == 1;

        int version = 0;
        rc = d.userVersion(version);
        // A newer program's journal is left exactly as it is.
        if (rc == SQLITE_OK && version > kSchemaVersion) {
            close();
            return {Status::Failed, kMsgNewer, {}};
        }
        // Someone else's file is neither migrated nor switched to WAL, so that
        // it is set aside as it was: a versionless one must be empty, a
        // versioned one must hold the first version's tables.
        if (rc == SQLITE_OK) {
            Statement tables(d.db, version == 0
                                       ? "SELECT count(*) = 0 FROM sqlite_master"
                                       : "SELECT count(*) = 2 FROM sqlite_master WHERE"
                                         " type = 'table' AND name IN ('exercise', 'cell')");
            if (!tables || tables.step() != SQLITE_ROW) rc = sqlite3_errcode(d.db);
            else if (tables.int32(0) == 0) rc = SQLITE_NOTADB;
        }
        if (rc == SQLITE_OK && !d.readOnly) rc = d.exec("PRAGMA journal_mode = WAL");
        if (rc == SQLITE_OK) rc = d.exec("PRAGMA foreign_keys = ON");
        if (rc == SQLITE_OK && version < kSchemaVersion) {
            rc = d.readOnly ? SQLITE_READONLY : d.upgrade(version);
        }
        // A file that holds tables but not ours is not a journal either.
        if (rc == SQLITE_OK) {
            Statement probe(d.db, "SELECT count(*) FROM exercise, day_char LIMIT 1");
            if (!probe) rc = SQLITE_NOTADB;
        }
        if (rc == SQLITE_OK && !d.readOnly && !d.prepareWrites()) rc = d.failedPrepare();

        if (rc == SQLITE_OK) {
            if (d.readOnly) return {Status::ReadOnly, kMsgReadOnly, movedAside};
            if (!movedAside.empty()) return {Status::Corrupt, kMsgCorrupt, movedAside};
            return {};
        }
        close();
        if (!isCorruption(rc) || attempt > 0) return resultFor(rc, kMsgOpenFailed);

        // Never deleted: the learner's history may still be recoverable.
        movedAside = moveAside(path);
        if (movedAside.empty()) return {Status::Failed, kMsgOpenFailed, {}};
    }
    return {Status::Failed, kMsgOpenFailed, movedAside};
}

Journal::Result Journal::record(const ExerciseEntry& e) {
    Impl& d = *impl_;
    if (!d.db) return {Status::NotOpen, kMsgWriteFailed, {}};
    if (d.readOnly) return {Status::ReadOnly, kMsgReadOnly, {}};

    auto attempt = [&]() -> int {
        if (int rc = d.exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) return rc;
        int rc = d.insert(e);
        if (rc == SQLITE_DONE) rc = d.exec("COMMIT");
        if (rc != SQLITE_OK) d.exec("ROLLBACK");
        return rc;
    };

    const int rc = attempt();
    if (rc == SQLITE_OK) return {};
    if (isCorruption(rc)) {
        // The file went bad under us: set it aside, start afresh, keep this exercise.
        const std::string path = path_;
        close();
        const std::string aside = moveAside(path);
        if (aside.empty()) return {Status::Failed, kMsgWriteFailed, {}};
        Result reopened = open(path);
        if (!reopened.ok()) return reopened;
        const int again = attempt();
        if (again != SQLITE_OK) return resultFor(again, kMsgWriteFailed);
        return {Status::Corrupt, kMsgCorrupt, aside};
    }
    return resultFor(rc, kMsgWriteFailed);
}

Journal::Result Journal::recordAll(const std::vector<ExerciseEntry>& entries) {
    Impl& d = *impl_;
    if (!d.db) return {Status::NotOpen, kMsgWriteFailed, {}};
    if (d.readOnly) return {Status::ReadOnly, kMsgReadOnly, {}};
    int rc = d.exec("BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return resultFor(rc, kMsgWriteFailed);
    rc = SQLITE_DONE;
    for (std::size_t i = 0; rc == SQLITE_DONE && i < entries.size(); ++i) rc = d.insert(entries[i]);
    if (rc == SQLITE_DONE) rc = d.exec("COMMIT");
    if (rc != SQLITE_OK) d.exec("ROLLBACK");
    return resultFor(rc, kMsgWriteFailed);
}

void Journal::setMaxPagesForTesting(int pages) {
    if (!impl_->db) return;
    Statement count(impl_->db, "PRAGMA page_count");
    if (!count || count.step() != SQLITE_ROW) return;
    const std::int64_t cap = count.integer(0) + pages;
    impl_->exec(("PRAGMA max_page_count = " + std::to_string(cap)).c_str());
}

void Journal::refuseWritesForTesting() {
    if (impl_->db) impl_->exec("PRAGMA query_only = 1");
}

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
    return w;
}

// The daily totals know course and day only: the keys of every exercise,
// stopped or weak-spot, tell where the fingers go wrong.
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

int Journal::exerciseCount(const Filter& filter) const {
    if (!impl_->db) return 0;
    Statement s = prepared(impl_->db, "SELECT count(*) FROM exercise", exerciseWhere(filter));
    return s && s.step() == SQLITE_ROW ? s.int32(0) : 0;
}

std::vector<ExerciseSummary> Journal::exercises(const Filter& filter) const {
    std::vector<ExerciseSummary> out;
    if (!impl_->db) return out;
    Where w = exerciseWhere(filter);
    w.sql += " ORDER BY started_at, id";
    Statement s = prepared(impl_->db,
                           "SELECT id, started_at, course, problem_slot, problem_name, time_limit,"
                           " spacing, letter_case, romaji, end_reason, kind, characters, misses,"
                           " keystrokes, elapsed_ms, score, new_best, extended_romaji FROM exercise",
                           w);
    if (!s) return out;
    while (s.step() == SQLITE_ROW) {
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
        e.end = static_cast<EndReason>(s.int32(9));
        e.kind = static_cast<PracticeKind>(s.int32(10));
        e.characters = s.int32(11);
        e.misses = s.int32(12);
        e.keystrokes = s.int32(13);
        e.elapsedMs = s.int32(14);
        e.score = s.int32(15);
        e.newBest = s.int32(16) != 0;
        e.extendedRomaji = s.int32(17) != 0;
        out.push_back(std::move(e));
    }
    return out;
}

std::vector<KeyStat> Journal::keyStats(const Filter& filter) const {
    std::vector<KeyStat> out;
    if (!impl_->db) return out;
    const Where w = dailyWhere(filter);
    Statement keys = prepared(impl_->db, "SELECT key_id, sum(presses), sum(misses) FROM day_key",
                              Where{w.sql + " GROUP BY key_id ORDER BY key_id", w.values});
    if (!keys) return out;
    std::map<int, std::size_t> at;
    while (keys.step() == SQLITE_ROW) {
        at[keys.int32(0)] = out.size();
        out.push_back({keys.int32(0), keys.int32(1), keys.int32(2), {}});
    }
    Statement details = prepared(
        impl_->db, "SELECT key_id, character, wrong_key, sum(count) AS n FROM day_miss",
        Where{w.sql + " GROUP BY key_id, character, wrong_key ORDER BY key_id, n DESC, character",
              w.values});
    if (!details) return out;
    while (details.step() == SQLITE_ROW) {
        const auto it = at.find(details.int32(0));
        if (it == at.end()) continue;
        out[it->second].details.push_back(
            {details.blob(1), static_cast<char>(details.int32(2)), details.int32(3)});
    }
    return out;
}

std::vector<CharStat> Journal::charStats(const Filter& filter) const {
    std::vector<CharStat> out;
    if (!impl_->db) return out;
    const Where w = dailyWhere(filter);
    Statement s = prepared(impl_->db,
                           "SELECT character, sum(seen), sum(missed_cells), sum(misses),"
                           " sum(total_ms) FROM day_char",
                           Where{w.sql + " GROUP BY character ORDER BY character", w.values});
    if (!s) return out;
    while (s.step() == SQLITE_ROW) {
        CharStat c;
        c.character = s.blob(0);
        c.seen = s.int32(1);
        c.missedCells = s.int32(2);
        c.misses = s.int32(3);
        c.meanMs = c.seen > 0 ? static_cast<double>(s.integer(4)) / c.seen : 0.0;
        out.push_back(std::move(c));
    }
    return out;
}

std::vector<CharStat> Journal::weakestCharacters(const Filter& filter, int count) const {
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

std::vector<CellEntry> Journal::cells(std::int64_t exerciseId) const {
    std::vector<CellEntry> out;
    if (!impl_->db) return out;
    Statement s(impl_->db,
                "SELECT cell_index, character, typed, wrong_keys, expected_keys, ms, completed"
                " FROM cell WHERE exercise_id = ? ORDER BY seq");
    if (!s) return out;
    s.bind(1, exerciseId);
    while (s.step() == SQLITE_ROW) {
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
    return out;
}

std::string Journal::csv(const Filter& filter) const {
    std::string out =
        "id,started,course,problem_slot,problem_name,time_limit_s,spacing,letter_case,romaji,"
        "ended,kind,characters,misses,keystrokes,elapsed_ms,score,new_best,chars_per_minute,"
        "accuracy,extended_romaji\r\n";
    static const char* kEnds[] = {"time_limit", "last_cell", "stopped"};
    static const int kLimits[] = {30, 60, 0};
    for (const ExerciseSummary& e : exercises(filter)) {
        const std::tm tm = localTime(static_cast<std::time_t>(e.startedAt));
        char line[512];
        std::snprintf(line, sizeof line, "%lld,%04d-%02d-%02d %02d:%02d:%02d,%d,%d,",
                      static_cast<long long>(e.id), tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                      tm.tm_hour, tm.tm_min, tm.tm_sec, e.courseIndex, e.problemSlot);
        out += line;
        out += csvField(shiftJisToUtf8(e.problemName));
        const int end = std::clamp(static_cast<int>(e.end), 0, 2);
        std::snprintf(line, sizeof line, ",%d,%d,%d,%d,%s,%s,%d,%d,%d,%d,%d,%d,%.1f,%.4f,%d\r\n",
                      kLimits[std::clamp(e.timeLimitIndex, 0, 2)], e.spacing, e.letterCase,
                      e.romajiMode ? 1 : 0, kEnds[end],
                      e.kind == PracticeKind::WeakSpot ? "weak_spot" : "normal", e.characters,
                      e.misses, e.keystrokes, e.elapsedMs, e.score, e.newBest ? 1 : 0,
                      e.charactersPerMinute(), e.accuracy(), e.extendedRomaji ? 1 : 0);
        out += line;
    }
    return out;
}

Journal::Result Journal::exportCsv(const std::string& path, const Filter& filter) const {
    if (!impl_->db) return {Status::NotOpen, kMsgExportFailed, {}};
    if (!replaceFileAtomically(path, csv(filter))) return {Status::Failed, kMsgExportFailed, {}};
    return {};
}

}  // namespace hayate::journal
