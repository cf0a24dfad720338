// The best-record file (".DAT"), the history file (".UPD") and the best tables
// kept in memory. Every change replaces a file crash-safely and leaves each
// byte it does not mean to change as it was, including records past the
// fifteenth that a longer file may hold.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "exercise/exercise_ports.h"
#include "records/record_file_access.h"
#include "records/record_format.h"

namespace hayate {

struct RecordFileNames {
    std::filesystem::path best;     // ".DAT"
    std::filesystem::path history;  // ".UPD"
};

// The executable's file name with its extension replaced, placed in `dataFolder`.
RecordFileNames recordFileNames(const std::filesystem::path& dataFolder,
                                const std::filesystem::path& executablePath);

class RecordStore {
  public:
    RecordStore(std::filesystem::path bestFile, std::filesystem::path historyFile,
                int todayDateNumber, RecordFileAccess& files = systemRecordFileAccess());

    // Creates missing files, extends short ones to fifteen records and fills the
    // best tables. False means the start-up cannot go on.
    bool loadAtStartup();

    // nullopt / false on any failure; a failed write leaves the file as it was.
    std::optional<CourseBest> readBest(int course);
    bool writeBest(int course, const CourseBest& record);
    std::optional<CourseHistory> readHistory(int course);
    bool writeHistory(int course, const CourseHistory& record);

    // Read, change and write back one record in a single replacement.
    bool modifyBest(int course, const std::function<void(CourseBest&)>& change);
    bool modifyHistory(int course, const std::function<void(CourseHistory&)>& change);

    // Another copy of the program may share the files: these take the row of
    // the best tables from what the file holds now.
    // The course's record as the file holds it, or nullopt (the tables unchanged).
    std::optional<CourseBest> reloadBest(int course);
    enum class RaiseResult {
        Raised,     // the score was higher than the file's and is stored
        NotHigher,  // the file holds an equal or higher score; nothing written
        Failed,     // nothing written, the tables unchanged
    };
    // Stores (score, date) under the setting only when the score beats the
    // file's, reading and writing the record in one replacement.
    RaiseResult raiseBest(int course, int setting, std::int32_t score, std::int32_t date);

    // The best tables; out-of-range keys read as "no record" and are not stored.
    std::int32_t bestScore(int course, int setting) const;
    std::int32_t bestDate(int course, int setting) const;
    void setBest(int course, int setting, std::int32_t score, std::int32_t date);

    // The best score and its date for the course and setting: emptied when
    // there is no positive score.
    void refreshBestLabels(ExerciseDisplay& display, int course, int setting) const;

    int todayDateNumber() const { return today_; }
    const std::filesystem::path& bestFile() const { return bestFile_; }
    const std::filesystem::path& historyFile() const { return historyFile_; }

  private:
    std::optional<std::string> prepareFile(const std::filesystem::path& path,
                                           std::size_t recordSize);
    std::optional<std::string> readRecord(const std::filesystem::path& path, std::size_t recordSize,
                                          int index);
    // `change` gives the new record, or nothing to leave the file as it is.
    bool modifyRecord(const std::filesystem::path& path, std::size_t recordSize, int index,
                      bool needsOld,
                      const std::function<std::optional<std::string>(std::string_view)>& change);

    std::filesystem::path bestFile_;
    std::filesystem::path historyFile_;
    int today_;
    RecordFileAccess& files_;
    std::array<CourseBest, kCourseCount> best_{};
};

// The best-record labels for a best score and its date: emptied when there
// is no positive score.
void showBestLabels(ExerciseDisplay& display, std::int32_t score, std::int32_t date);

}  // namespace hayate
