// The best records and history of kana-input results, kept in the journal
// with the rules of the record files: a best only when strictly higher, one
// history entry per day, fifteen entries newest first.
#include "journal/journal_kana_records.h"

#include <array>
#include <filesystem>
#include <vector>

#include "journal/journal_sqlite.h"

namespace hayate::journal {

namespace {

bool validKeys(int course, std::optional<int> setting) {
    return isCourseIndex(course) && (!setting || isSettingIndex(*setting));
}

int readHistoryRows(sqlite3* db, int course, CourseHistory& out) {
    Statement s(db, "SELECT setting, entry, score, date FROM kana_history WHERE course = ?");
    if (!s) return prepareError(db);
    s.bind(1, course);
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
        const int setting = s.int32(0);
        const int entry = s.int32(1);
        if (!isSettingIndex(setting) || entry < 0 || entry >= kHistoryLength) continue;
        out.score[static_cast<std::size_t>(setting)][static_cast<std::size_t>(entry)] = s.int32(2);
        out.date[static_cast<std::size_t>(setting)][static_cast<std::size_t>(entry)] = s.int32(3);
    }
    return rc;
}

// The best of a setting is the newest entry of its history.
CourseBest bestOf(const CourseHistory& history) {
    CourseBest best;
    for (std::size_t s = 0; s < kSettingCount; ++s) {
        best.score[s] = history.score[s][0];
        best.date[s] = history.date[s][0];
    }
    return best;
}

// Inside the caller's transaction.
int storeHistory(sqlite3* db, int course, int setting, const CourseHistory& history) {
    Statement clear(db, "DELETE FROM kana_history WHERE course = ? AND setting = ?");
    Statement entry(db, "INSERT INTO kana_history VALUES(?,?,?,?,?)");
    if (!clear || !entry) return prepareError(db);
    if (int rc = clear.bind(1, course).bind(2, setting).run(); rc != SQLITE_DONE) return rc;
    const auto s = static_cast<std::size_t>(setting);
    for (int k = 0; k < kHistoryLength; ++k) {
        const auto ki = static_cast<std::size_t>(k);
        if (history.date[s][ki] == 0 && history.score[s][ki] == 0) continue;
        entry.bind(1, course).bind(2, setting).bind(3, k);
        entry.bind(4, history.score[s][ki]).bind(5, history.date[s][ki]);
        if (int rc = entry.run(); rc != SQLITE_DONE) return rc;
    }
    return SQLITE_DONE;
}

}  // namespace

std::optional<CourseBest> Journal::kanaBest(int course) {
    const std::optional<CourseHistory> history = kanaHistory(course);
    if (!history) return std::nullopt;
    return bestOf(*history);
}

std::optional<CourseHistory> Journal::kanaHistory(int course) {
    CourseHistory history;
    if (!impl_->db || !isCourseIndex(course) ||
        !endRead(readHistoryRows(impl_->db, course, history)))
        return std::nullopt;
    return history;
}

KanaRecords::RaiseResult Journal::raiseKanaBest(int course, int setting, std::int32_t score,
                                                std::int32_t date) {
    using Raise = KanaRecords::RaiseResult;
    Impl& d = *impl_;
    if (!d.db || d.readOnly || !validKeys(course, setting)) return Raise::Failed;
    // Compared and written in one transaction: a best another copy stored
    // meanwhile is never overwritten by a lower one.
    if (d.exec("BEGIN IMMEDIATE") != SQLITE_OK) return Raise::Failed;
    CourseHistory history;
    int rc = readHistoryRows(d.db, course, history);
    if (rc == SQLITE_DONE && score <= bestOf(history).score[static_cast<std::size_t>(setting)]) {
        d.exec("ROLLBACK");
        return Raise::NotHigher;
    }
    if (rc == SQLITE_DONE) {
        history.addBest(setting, score, date);
        rc = storeHistory(d.db, course, setting, history);
    }
    if (rc == SQLITE_DONE) rc = d.exec("COMMIT");
    if (rc != SQLITE_OK) d.exec("ROLLBACK");
    return rc == SQLITE_OK ? Raise::Raised : Raise::Failed;
}

bool Journal::clearKanaRecords(int course, std::optional<int> setting) {
    Impl& d = *impl_;
    if (!d.db || d.readOnly || !validKeys(course, setting)) return false;
    Statement s(d.db, setting ? "DELETE FROM kana_history WHERE course = ? AND setting = ?"
                              : "DELETE FROM kana_history WHERE course = ?");
    if (!s) return false;
    s.bind(1, course);
    if (setting) s.bind(2, *setting);
    return s.run() == SQLITE_DONE;
}

void salvageKanaHistory(sqlite3* db, const std::string& aside) {
    // Reading a journal creates its WAL and shared-memory files; those this
    // read made go again, so that what was set aside stays as it was.
    std::vector<std::string> made;
    for (const char* suffix : {"-wal", "-shm"}) {
        std::error_code ec;
        if (!std::filesystem::exists(aside + suffix, ec) && !ec) made.push_back(aside + suffix);
    }
    const auto tidy = [&made] {
        for (const std::string& f : made) {
            std::error_code ignored;
            std::filesystem::remove(f, ignored);
        }
    };
    sqlite3* old = nullptr;
    if (sqlite3_open_v2(aside.c_str(), &old, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(old);
        tidy();
        return;
    }
    std::vector<std::array<int, 5>> rows;
    {
        Statement s(old, "SELECT course, setting, entry, score, date FROM kana_history");
        // A page that cannot be read leaves every row behind: half a history
        // would put an older score in the best's place.
        int rc = s ? SQLITE_ROW : SQLITE_ERROR;
        while (s && (rc = s.step()) == SQLITE_ROW)
            rows.push_back({s.int32(0), s.int32(1), s.int32(2), s.int32(3), s.int32(4)});
        if (rc != SQLITE_DONE) rows.clear();
    }
    sqlite3_close(old);
    tidy();
    if (rows.empty() || sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return;
    Statement insert(db, "INSERT OR IGNORE INTO kana_history VALUES(?,?,?,?,?)");
    bool ok = static_cast<bool>(insert);
    for (std::size_t i = 0; ok && i < rows.size(); ++i) {
        for (int c = 0; c < 5; ++c) insert.bind(c + 1, rows[i][static_cast<std::size_t>(c)]);
        ok = insert.run() == SQLITE_DONE;
    }
    sqlite3_exec(db, ok ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
}

Journal* JournalKanaRecords::open() const {
    Journal* j = journal_ ? journal_() : nullptr;
    return j && j->isOpen() ? j : nullptr;
}

std::optional<CourseBest> JournalKanaRecords::readBest(int course) {
    Journal* j = open();
    return j ? j->kanaBest(course) : std::nullopt;
}

std::optional<CourseHistory> JournalKanaRecords::readHistory(int course) {
    Journal* j = open();
    return j ? j->kanaHistory(course) : std::nullopt;
}

KanaRecords::RaiseResult JournalKanaRecords::raiseBest(int course, int setting, std::int32_t score,
                                                       std::int32_t date) {
    Journal* j = open();
    return j ? j->raiseKanaBest(course, setting, score, date) : RaiseResult::Failed;
}

bool JournalKanaRecords::clear(int course, std::optional<int> setting) {
    Journal* j = open();
    return j && j->clearKanaRecords(course, setting);
}

}  // namespace hayate::journal
