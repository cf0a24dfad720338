// The journal as a whole: opening it (setting a damaged file aside), writing
// exercises in transactions, and naming each failure by its cause.
#include "journal/journal.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <utility>

#include "journal/journal_sqlite.h"
#include "platform/safe_file.h"

namespace hayate::journal {

namespace {

// What stands where the journal or its -wal and -shm companions belong and
// keeps SQLite from opening them, or nothing. SQLite's own codes call most of
// these a read-only file or an I/O error.
std::optional<UserText> obstacle(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(fs::status(path, ec))) return UserText::JournalFolderInTheWay;
    const fs::path target = followLinks(path);
    if (fs::is_symlink(fs::symlink_status(path, ec)) && !fs::exists(target.parent_path(), ec))
        return UserText::JournalLinkGoesNowhere;
    for (const char* suffix : {"-wal", "-shm"})
        if (fs::is_directory(fs::status(target.string() + suffix, ec)))
            return UserText::JournalCompanionFolderInTheWay;
    return std::nullopt;
}

Journal::Result resultFor(int rc, UserText failedMessage) {
    switch (rc & 0xFF) {
        case SQLITE_OK:
        case SQLITE_DONE:
            return {};
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
        case SQLITE_AUTH:
            return withMessage(Journal::Status::ReadOnly, UserText::JournalReadOnly);
        case SQLITE_FULL:
            return withMessage(Journal::Status::Full, UserText::JournalFull);
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return withMessage(Journal::Status::Corrupt, UserText::JournalCorrupt);
        default:
            return withMessage(Journal::Status::Failed, failedMessage);
    }
}

// A failure of the connection `db` on `path`, named by its cause: what is in
// the way, a disk that is full (SQLite tells some of those as I/O errors, as
// when the -shm file cannot grow), else SQLite's code.
Journal::Result failureFor(sqlite3* db, int rc, const std::string& path, UserText failedMessage) {
    if (isCorruption(rc)) return resultFor(rc, failedMessage);
    if (const auto cause = obstacle(path)) return withMessage(Journal::Status::Failed, *cause);
    const int error = db ? sqlite3_system_errno(db) : 0;
#ifdef EDQUOT
    if (error == EDQUOT) return withMessage(Journal::Status::Full, UserText::JournalFull);
#endif
    if (error == ENOSPC) return withMessage(Journal::Status::Full, UserText::JournalFull);
    return resultFor(rc, failedMessage);
}

}  // namespace

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
    if (const auto cause = obstacle(path)) return withMessage(Status::Failed, *cause);

    for (int attempt = 0; attempt < 2; ++attempt) {
        Impl& d = *impl_;
        int rc = sqlite3_open_v2(path.c_str(), &d.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
        if (rc != SQLITE_OK) {
            Result r = failureFor(d.db, rc, path, UserText::JournalOpenFailed);
            close();
            if (r.status == Status::Corrupt)
                r = withMessage(Status::Failed, UserText::JournalOpenFailed);
            return r;
        }
        sqlite3_busy_timeout(d.db, 2000);
        d.readOnly = sqlite3_db_readonly(d.db, "main") == 1;

        int version = 0;
        rc = d.userVersion(version);
        // A newer program's journal is left exactly as it is.
        if (rc == SQLITE_OK && version > kSchemaVersion) {
            close();
            return withMessage(Status::Failed, UserText::JournalNewer);
        }
        // Someone else's file is neither migrated nor switched to WAL, so that
        // it is set aside as it was: a versionless one must be empty, a
        // versioned one must hold the first version's tables.
        if (rc == SQLITE_OK) {
            Statement tables(d.db, version == 0
                                       ? "SELECT count(*) = 0 FROM sqlite_master"
                                       : "SELECT count(*) = 2 FROM sqlite_master WHERE"
                                         " type = 'table' AND name IN ('exercise', 'cell')");
            if (!tables || tables.step() != SQLITE_ROW)
                rc = sqlite3_errcode(d.db);
            else if (tables.int32(0) == 0)
                rc = SQLITE_NOTADB;
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
            if (d.readOnly)
                return withMessage(Status::ReadOnly, UserText::JournalReadOnly, movedAside);
            if (!movedAside.empty()) {
                salvageKanaHistory(d.db, movedAside);
                return withMessage(Status::Corrupt, UserText::JournalCorrupt, movedAside);
            }
            return {};
        }
        const Result failed = failureFor(d.db, rc, path, UserText::JournalOpenFailed);
        close();
        if (!isCorruption(rc) || attempt > 0) return failed;

        // Never deleted: the learner's history may still be recoverable.
        movedAside = moveAside(path);
        if (movedAside.empty()) return withMessage(Status::Failed, UserText::JournalOpenFailed);
    }
    return withMessage(Status::Failed, UserText::JournalOpenFailed, movedAside);
}

Journal::Result Journal::record(const ExerciseEntry& e) {
    Impl& d = *impl_;
    if (!d.db) return withMessage(Status::NotOpen, UserText::JournalWriteFailed);
    if (d.readOnly) return withMessage(Status::ReadOnly, UserText::JournalReadOnly);

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
        if (again != SQLITE_OK)
            return failureFor(impl_->db, again, path_, UserText::JournalWriteFailed);
        return restarted;
    }
    return failureFor(d.db, rc, path_, UserText::JournalWriteFailed);
}

Journal::Result Journal::startAgain() {
    const std::string path = path_;
    close();
    // Never deleted: the learner's history may still be recoverable.
    const std::string aside = moveAside(path);
    if (aside.empty()) return withMessage(Status::Failed, UserText::JournalOpenFailed);
    Result reopened = open(path);
    reopened.movedAsideTo = aside;
    if (reopened.ok()) {
        salvageKanaHistory(impl_->db, aside);
        return withMessage(Status::Corrupt, UserText::JournalCorrupt, aside);
    }
    return reopened;
}

Journal::Result Journal::recordAll(const std::vector<ExerciseEntry>& entries) {
    Impl& d = *impl_;
    if (!d.db) return withMessage(Status::NotOpen, UserText::JournalWriteFailed);
    if (d.readOnly) return withMessage(Status::ReadOnly, UserText::JournalReadOnly);
    int rc = d.exec("BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return failureFor(d.db, rc, path_, UserText::JournalWriteFailed);
    rc = SQLITE_DONE;
    for (std::size_t i = 0; rc == SQLITE_DONE && i < entries.size(); ++i) rc = d.insert(entries[i]);
    if (rc == SQLITE_DONE) rc = d.exec("COMMIT");
    if (rc != SQLITE_OK) d.exec("ROLLBACK");
    return rc == SQLITE_OK ? Result{} : failureFor(d.db, rc, path_, UserText::JournalWriteFailed);
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
