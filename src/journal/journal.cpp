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
#include "journal/journal_messages.h"
#include "journal/journal_sqlite.h"
#include "journal/journal_text.h"
#include "platform/safe_file.h"

namespace hayate::journal {

using namespace journal_text;

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

// What stands where the journal or its -wal and -shm companions belong and
// keeps SQLite from opening them, or null. SQLite's own codes call most of
// these a read-only file or an I/O error.
const char* obstacle(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(fs::status(path, ec))) return kFolderInTheWay;
    const fs::path target = followLinks(path);
    if (fs::is_symlink(fs::symlink_status(path, ec)) && !fs::exists(target.parent_path(), ec))
        return kLinkGoesNowhere;
    for (const char* suffix : {"-wal", "-shm"})
        if (fs::is_directory(fs::status(target.string() + suffix, ec)))
            return kCompanionFolderInTheWay;
    return nullptr;
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
            return {Journal::Status::ReadOnly, kReadOnly, {}};
        case SQLITE_FULL:
            return {Journal::Status::Full, kFull, {}};
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return {Journal::Status::Corrupt, kCorrupt, {}};
        default:
            return {Journal::Status::Failed, failedMessage, {}};
    }
}

// A failure of the connection `db` on `path`, named by its cause: what is in
// the way, a disk that is full (SQLite tells some of those as I/O errors, as
// when the -shm file cannot grow), else SQLite's code.
Journal::Result failureFor(sqlite3* db, int rc, const std::string& path,
                           const char* failedMessage) {
    if (isCorruption(rc)) return resultFor(rc, failedMessage);
    if (const char* cause = obstacle(path)) return {Journal::Status::Failed, cause, {}};
    const int error = db ? sqlite3_system_errno(db) : 0;
#ifdef EDQUOT
    if (error == EDQUOT) return {Journal::Status::Full, kFull, {}};
#endif
    if (error == ENOSPC) return {Journal::Status::Full, kFull, {}};
    return resultFor(rc, failedMessage);
}

}  // namespace

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

std::tm localTime(std::time_t t) {
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return tm;
}

namespace {

// Days since 1970-01-01 of a civil date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

}  // namespace

std::int64_t localDay(std::int64_t t) {
    const std::tm tm = localTime(static_cast<std::time_t>(t));
    return daysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

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

void Journal::Impl::closeDb() {
    insertExercise = {};
    insertCell = {};
    upsertChar = {};
    upsertKey = {};
    upsertMiss = {};
    if (db) sqlite3_close_v2(db);
    db = nullptr;
}

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

int Journal::Impl::writeTotals(const Totals& t, int course, std::int64_t day) {
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

int Journal::Impl::insert(const ExerciseEntry& e) {
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

bool Journal::Impl::prepareWrites() {
    insertExercise = Statement(db, kInsertExercise);
    insertCell = Statement(db, kInsertCell);
    return insertExercise && insertCell && prepareTotals();
}

bool Journal::Impl::prepareTotals() {
    upsertChar = Statement(db, kUpsertChar);
    upsertKey = Statement(db, kUpsertKey);
    upsertMiss = Statement(db, kUpsertMiss);
    return upsertChar && upsertKey && upsertMiss;
}

int Journal::Impl::migrateToV2() {
    if (int rc = exec(kMigrateV2); rc != SQLITE_OK) return rc;
    if (!prepareTotals()) return prepareError(db);
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
    if (rc == SQLITE_OK) rc = setVersion(version);
    if (rc == SQLITE_OK) rc = exec("COMMIT");
    if (rc != SQLITE_OK) exec("ROLLBACK");
    return rc;
}

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
    if (const char* cause = obstacle(path)) return {Status::Failed, cause, {}};

    for (int attempt = 0; attempt < 2; ++attempt) {
        Impl& d = *impl_;
        int rc = sqlite3_open_v2(path.c_str(), &d.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
        if (rc != SQLITE_OK) {
            Result r = failureFor(d.db, rc, path, kOpenFailed);
            close();
            if (r.status == Status::Corrupt) r = {Status::Failed, kOpenFailed, {}};
            return r;
        }
        sqlite3_busy_timeout(d.db, 2000);
        d.readOnly = sqlite3_db_readonly(d.db, "main") == 1;

        int version = 0;
        rc = d.userVersion(version);
        // A newer program's journal is left exactly as it is.
        if (rc == SQLITE_OK && version > kSchemaVersion) {
            close();
            return {Status::Failed, kNewer, {}};
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
        if (rc == SQLITE_OK) rc = d.quickCheck();
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
        if (rc == SQLITE_OK && !d.readOnly && !d.prepareWrites()) rc = prepareError(d.db);

        if (rc == SQLITE_OK) {
            if (d.readOnly) return {Status::ReadOnly, kReadOnly, movedAside};
            if (!movedAside.empty()) return {Status::Corrupt, kCorrupt, movedAside};
            return {};
        }
        const Result failed = failureFor(d.db, rc, path, kOpenFailed);
        close();
        if (!isCorruption(rc) || attempt > 0) return failed;

        // Never deleted: the learner's history may still be recoverable.
        movedAside = moveAside(path);
        if (movedAside.empty()) return {Status::Failed, kOpenFailed, {}};
    }
    return {Status::Failed, kOpenFailed, movedAside};
}

Journal::Result Journal::record(const ExerciseEntry& e) {
    Impl& d = *impl_;
    if (!d.db) return {Status::NotOpen, kWriteFailed, {}};
    if (d.readOnly) return {Status::ReadOnly, kReadOnly, {}};

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
        Result restarted = startAgain();
        if (restarted.status != Status::Corrupt) return restarted;
        const int again = attempt();
        if (again != SQLITE_OK) return failureFor(impl_->db, again, path_, kWriteFailed);
        return restarted;
    }
    return failureFor(d.db, rc, path_, kWriteFailed);
}

Journal::Result Journal::startAgain() {
    const std::string path = path_;
    close();
    // Never deleted: the learner's history may still be recoverable.
    const std::string aside = moveAside(path);
    if (aside.empty()) return {Status::Failed, kOpenFailed, {}};
    Result reopened = open(path);
    reopened.movedAsideTo = aside;
    if (reopened.ok()) return {Status::Corrupt, kCorrupt, aside};
    return reopened;
}

Journal::Result Journal::recordAll(const std::vector<ExerciseEntry>& entries) {
    Impl& d = *impl_;
    if (!d.db) return {Status::NotOpen, kWriteFailed, {}};
    if (d.readOnly) return {Status::ReadOnly, kReadOnly, {}};
    int rc = d.exec("BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return failureFor(d.db, rc, path_, kWriteFailed);
    rc = SQLITE_DONE;
    for (std::size_t i = 0; rc == SQLITE_DONE && i < entries.size(); ++i) rc = d.insert(entries[i]);
    if (rc == SQLITE_DONE) rc = d.exec("COMMIT");
    if (rc != SQLITE_OK) d.exec("ROLLBACK");
    return rc == SQLITE_OK ? Result{} : failureFor(d.db, rc, path_, kWriteFailed);
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

}  // namespace hayate::journal
