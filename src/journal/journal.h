// The exercise journal: every exercise, with every typed cell, in one SQLite
// file beside the other data files, so that the analysis screen can show
// where the misses come from and weak-spot practice can aim at them.
//
// The journal never stands in the way of practice: every failure comes back
// as a status with a message for the status bar, never as an exception, and
// a journal that could not be opened simply records nothing. A damaged file,
// found on opening, by a write or by a read, is renamed (never deleted) and a
// new journal started.
//
// Texts in and out are Shift-JIS, as everywhere in the core; only the CSV
// export writes UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exercise/exercise_end.h"
#include "exercise/input_method.h"
#include "records/kana_records.h"
#include "records/record_format.h"

namespace hayate::journal {

// The database file for a program named `programName` (the executable's
// name without its extension): "<name>.sqlite3".
std::string journalFileName(const std::string& programName);

// Which exercise this was.
enum class PracticeKind {
    Normal = 0,
    WeakSpot = 1,  // drawn from the journal's weights; never a record
};

// One typed cell, gathered while typing.
struct CellEntry {
    int cellIndex = 0;         // 0..1999 in reading order
    std::string character;     // what the cell showed, e.g. "Ａ", "し", "　"
    std::string typed;         // the keys that completed it (the spelling used), e.g. "shi"
    std::string wrongKeys;     // one byte per miss on this cell, in order
    std::string expectedKeys;  // one byte per miss: the key that was expected then
    int msSincePrevious = 0;   // since the previous cell's completion (the first key for cell one)
    bool completed = true;     // false: the cell being typed when the exercise ended
};

// One exercise, as the journal stores it.
struct ExerciseEntry {
    std::int64_t startedAt = 0;  // seconds since 1970-01-01 UTC
    int courseIndex = 0;         // 0..4 built-in, 5..14 problem slots 0..9
    int problemSlot = -1;        // 0..9 for a user problem, -1 otherwise
    std::string problemName;     // the user problem's name; empty otherwise
    int timeLimitIndex = 0;      // 0 = 30 s, 1 = 60 s, 2 = none
    int spacing = 0;             // 0 = with spaces, 1 = without
    int letterCase = 0;          // 0 = upper case, 1 = lower case
    bool romajiMode = false;     // kana typed as romaji
    bool extendedRomaji = false;  // romaji judged by every input method's spellings
    // Kana: the kana cells were typed on the kana layout.
    InputMethod inputMethod = InputMethod::Romaji;
    ExerciseEnd end = ExerciseEnd::LastCell;
    PracticeKind kind = PracticeKind::Normal;
    int characters = 0;
    int misses = 0;
    int keystrokes = 0;
    int elapsedMs = 0;
    int score = 0;  // as the completion computed it; 0 when stopped
    bool newBest = false;
    std::vector<CellEntry> cells;

    int settingIndex() const { return timeLimitIndex * 2 + spacing; }
};

// The analysis screen's period filter.
enum class Period { Days7, Days30, All };

// The first second that `period` takes in: local midnight 6 (or 29) days
// before the day of `now` (seconds since 1970), so that today is one of the
// seven days; 0 for All. The character and key statistics count whole local
// days, so a `since` at local midnight gives them and the exercise list the
// same exercises.
std::int64_t periodStart(Period period, std::int64_t now);

// Which exercises a query looks at. Unset members take everything. The
// statistics by key and by character count whole local days of a course and
// take every exercise of them: they heed courseIndex and since only.
struct Filter {
    std::optional<int> courseIndex;
    std::optional<int> settingIndex;  // time-limit index x 2 + spacing
    std::int64_t since = 0;           // seconds since 1970; 0 = from the beginning
    bool includeStopped = true;
    bool includeWeakSpot = true;
    std::optional<InputMethod> inputMethod = std::nullopt;
};

// One exercise for the chart and the export.
struct ExerciseSummary {
    std::int64_t id = 0;
    std::int64_t startedAt = 0;
    int courseIndex = 0;
    int problemSlot = -1;
    std::string problemName;
    int timeLimitIndex = 0;
    int spacing = 0;
    int letterCase = 0;
    bool romajiMode = false;
    bool extendedRomaji = false;
    InputMethod inputMethod = InputMethod::Romaji;
    ExerciseEnd end = ExerciseEnd::LastCell;
    PracticeKind kind = PracticeKind::Normal;
    int characters = 0;
    int misses = 0;
    int keystrokes = 0;
    int elapsedMs = 0;
    int score = 0;
    bool newBest = false;

    // Characters per minute over the elapsed time; 0 for no time.
    double charactersPerMinute() const;
    // Correct keys / (correct keys + misses), 0..1; 1 when nothing was typed.
    // Correct keys are the keystrokes in romaji mode, the characters elsewhere.
    double accuracy() const;
};

// One wrong key behind a physical key's misses.
struct MissDetail {
    std::string character;  // the cell's character, e.g. "し"
    char wrongKey = 0;      // the byte typed instead
    int count = 0;
};

// Miss rate of one physical key of the JIS keyboard (see jis_keys.h): how
// often it was the key to press, and how often something else came instead.
struct KeyStat {
    int keyId = 0;
    int presses = 0;                  // correct presses of this key
    int misses = 0;                   // misses while this key was expected
    std::vector<MissDetail> details;  // most frequent first

    // misses / (presses + misses); 0 when the key never came up.
    double missRate() const;
};

// One character of the practice text (a kana for the romaji course).
struct CharStat {
    std::string character;
    int seen = 0;         // cells completed
    int missedCells = 0;  // of those, cells with at least one miss
    int misses = 0;       // misses on them in all
    double meanMs = 0.0;  // mean time per cell

    // missedCells / seen; 0 when never seen.
    double missRate() const;
};

class Journal {
  public:
    enum class Status {
        Ok,
        NotOpen,   // open failed earlier or was never called: nothing recorded
        ReadOnly,  // the file or its folder cannot be written
        Full,      // the disk is full
        Corrupt,   // the file was damaged or not a journal; moved aside, a new one started
        Failed,    // any other failure
        Empty,     // an export found no exercise to write; no file was written
    };

    struct Result {
        Status status = Status::Ok;
        std::string message;       // Shift-JIS, for the status bar; empty when Ok
        std::string movedAsideTo;  // the corrupt file's new name, when one was moved
        bool ok() const { return status == Status::Ok; }
    };

    // The schema this build writes; older files are migrated on open.
    static constexpr int kSchemaVersion = 4;

    Journal();
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Opens or creates the journal at `path`. A file that is not a journal,
    // or fails SQLite's quick check, is renamed to
    // "<path>.corrupt-YYYYMMDD-HHMMSS" (never deleted) and a fresh one
    // created; the result then says Corrupt with the new name, and the
    // journal is open. Any other failure leaves the journal closed, with a
    // message that names the cause (a folder or a broken link in the way, a
    // read-only file or folder, a full disk). The check reads the whole file:
    // a window opens the journal on a thread of its own.
    Result open(const std::string& path);
    void close();
    bool isOpen() const;
    // Open but not writable (a read-only file): queries work, record says ReadOnly.
    bool isReadOnly() const;
    const std::string& path() const { return path_; }

    // Writes one exercise with its cells in one transaction; nothing of it
    // stays behind when it fails.
    Result record(const ExerciseEntry& entry);
    // Many exercises in one transaction (imports, benchmarks): all or none.
    Result recordAll(const std::vector<ExerciseEntry>& entries);

    // Queries. On a closed journal or a failure they return empty results,
    // and takeReadResult() tells why. A query that meets a damaged file sets
    // it aside and starts a new journal, as a write does.
    int exerciseCount(const Filter& filter);
    std::vector<ExerciseSummary> exercises(const Filter& filter);  // oldest first
    std::vector<KeyStat> keyStats(const Filter& filter);           // keys that came up, by key id
    std::vector<CharStat> charStats(const Filter& filter);         // every character seen
    // The weakest characters: highest miss rate, then slowest, then most seen.
    std::vector<CharStat> weakestCharacters(const Filter& filter, int count = 10);
    // Every cell of one exercise, in typing order.
    std::vector<CellEntry> cells(std::int64_t exerciseId);

    // The best records and history of results typed on the kana layout
    // (journal_kana_records.cpp). nullopt when the journal is closed or the
    // read failed; a raise or a clear on a closed or read-only journal fails.
    std::optional<CourseBest> kanaBest(int course);
    std::optional<CourseHistory> kanaHistory(int course);
    KanaRecords::RaiseResult raiseKanaBest(int course, int setting, std::int32_t score,
                                           std::int32_t date);
    bool clearKanaRecords(int course, std::optional<int> setting);

    // What the queries met since the last call: Ok, Corrupt (with the name
    // the damaged file was given) or Failed. Taking it clears it, so that it
    // is told once.
    Result takeReadResult();

    // The journal as CSV (UTF-8, header line, one line per exercise), and the
    // same written crash-safely to `path`. The export writes nothing when it
    // could not read every exercise (Corrupt or Failed) or found none (Empty).
    std::string csv(const Filter& filter);
    Result exportCsv(const std::string& path, const Filter& filter);

    // Test seam: caps the file at its size plus `pages` pages, so that a write
    // meets a full disk.
    void setMaxPagesForTesting(int pages);
    // Test seam: every later write fails as on a read-only file.
    void refuseWritesForTesting();

    struct Impl;

  private:
    // Sets a damaged file aside and opens a new journal in its place.
    Result startAgain();
    // What a failed read means: a damaged file is set aside at once.
    Result readFailure(int rc);
    // Ends a query with the code of its last step (its statements finished):
    // true when it read well; a failure is kept for takeReadResult().
    bool endRead(int rc);

    std::unique_ptr<Impl> impl_;
    std::string path_;
};

}  // namespace hayate::journal
