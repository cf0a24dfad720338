// The CSV export of the exercise list, for spreadsheets.
#include <algorithm>
#include <cstdio>

#include "journal/journal.h"
#include "journal/journal_sqlite.h"
#include "journal/journal_text.h"
#include "platform/safe_file.h"

namespace hayate::journal {

namespace {

std::string csvText(const std::vector<ExerciseSummary>& rows) {
    std::string out =
        "id,started,course,problem_slot,problem_name,time_limit_s,spacing,letter_case,romaji,"
        "ended,kind,characters,misses,keystrokes,elapsed_ms,score,new_best,chars_per_minute,"
        "accuracy,extended_romaji,input_mode\r\n";
    static const char* kEnds[] = {"time_limit", "last_cell", "stopped"};
    static const int kLimits[] = {30, 60, 0};
    for (const ExerciseSummary& e : rows) {
        const std::tm tm = localTime(static_cast<std::time_t>(e.startedAt));
        char line[512];
        std::snprintf(line, sizeof line, "%lld,%04d-%02d-%02d %02d:%02d:%02d,%d,%d,",
                      static_cast<long long>(e.id), tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                      tm.tm_hour, tm.tm_min, tm.tm_sec, e.courseIndex, e.problemSlot);
        out += line;
        out += csvField(shiftJisToUtf8(e.problemName));
        const int end = std::clamp(static_cast<int>(e.end), 0, 2);
        std::snprintf(line, sizeof line, ",%d,%d,%d,%d,%s,%s,%d,%d,%d,%d,%d,%d,%.1f,%.4f,%d,%s\r\n",
                      kLimits[std::clamp(e.timeLimitIndex, 0, 2)], e.spacing, e.letterCase,
                      e.romajiMode ? 1 : 0, kEnds[end],
                      e.kind == PracticeKind::WeakSpot ? "weak_spot" : "normal", e.characters,
                      e.misses, e.keystrokes, e.elapsedMs, e.score, e.newBest ? 1 : 0,
                      e.charactersPerMinute(), e.accuracy(), e.extendedRomaji ? 1 : 0,
                      e.inputMethod == InputMethod::Kana ? "kana" : "romaji");
        out += line;
    }
    return out;
}

}  // namespace

std::string Journal::csv(const Filter& filter) { return csvText(exercises(filter)); }

Journal::Result Journal::exportCsv(const std::string& path, const Filter& filter) {
    if (!impl_->db) return withMessage(Status::NotOpen, UserText::JournalExportFailed);
    std::vector<ExerciseSummary> rows;
    // Both reads in one snapshot: an exercise that another copy of the program
    // writes between them would otherwise look like a damaged journal.
    const bool snapshot = sqlite3_exec(impl_->db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    int rc = readExercises(impl_->db, filter, rows);
    // The rows come from the table, the count from its index: a damaged page
    // can hide rows without an error, and a copy missing them is no copy.
    int counted = 0;
    if (rc == SQLITE_DONE) rc = countExercises(impl_->db, filter, true, counted);
    if (snapshot) sqlite3_exec(impl_->db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_DONE && counted != static_cast<int>(rows.size())) rc = SQLITE_CORRUPT;
    if (rc != SQLITE_DONE) {
        Result failed = readFailure(rc);
        failed.message = failed.status == Status::Corrupt
                             ? std::string(sjisText(UserText::JournalExportUnreadable)) + "\r\n" +
                                   std::string(sjisText(UserText::JournalCorrupt))
                             : std::string(sjisText(UserText::JournalExportUnreadable));
        return failed;
    }
    if (rows.empty()) return withMessage(Status::Empty, UserText::JournalNothingToExport);
    if (!replaceFileAtomically(path, csvText(rows)))
        return withMessage(Status::Failed, UserText::JournalExportFailed);
    return {};
}

}  // namespace hayate::journal
