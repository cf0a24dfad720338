#include "records/record_store.h"

#include <string>
#include <utility>

namespace hayate {

namespace {

std::filesystem::path withExtension(const std::filesystem::path& folder,
                                    const std::filesystem::path& executablePath,
                                    const char* extension) {
    std::filesystem::path name = executablePath.filename();
    name.replace_extension(extension);
    return folder / name;
}

}  // namespace

RecordFileNames recordFileNames(const std::filesystem::path& dataFolder,
                                const std::filesystem::path& executablePath) {
    return {withExtension(dataFolder, executablePath, ".DAT"),
            withExtension(dataFolder, executablePath, ".UPD")};
}

RecordStore::RecordStore(std::filesystem::path bestFile, std::filesystem::path historyFile,
                         int todayDateNumber, RecordFileAccess& files)
    : bestFile_(std::move(bestFile)),
      historyFile_(std::move(historyFile)),
      today_(todayDateNumber),
      files_(files) {}

bool RecordStore::loadAtStartup() {
    best_ = {};
    const auto bestContent = prepareFile(bestFile_, kCourseBestSize);
    if (!bestContent) return false;
    for (std::size_t course = 0; course < kCourseCount; ++course) {
        best_[course] =
            decodeCourseBest(std::string_view(*bestContent).substr(course * kCourseBestSize));
    }
    // The history is read only when it is shown or updated.
    return prepareFile(historyFile_, kCourseHistorySize).has_value();
}

// Creates a missing file with fifteen empty records, or brings an existing one
// up to fifteen whole records. A partial record at the end counts as garbage
// and is overwritten; a file that is already long enough is not written at all.
// Gives the content the file now has.
std::optional<std::string> RecordStore::prepareFile(const std::filesystem::path& path,
                                                    std::size_t recordSize) {
    const std::size_t fullSize = recordSize * kCourseCount;
    switch (files_.kind(path)) {
        case FileKind::Missing: {
            std::string empty(fullSize, '\0');
            if (!files_.replace(path, empty)) return std::nullopt;
            return empty;
        }
        case FileKind::Other:
            return std::nullopt;
        case FileKind::File:
            break;
    }
    if (!files_.canOpenForReadWrite(path)) return std::nullopt;
    auto content = files_.readAll(path);
    if (!content) return std::nullopt;
    const std::size_t whole = content->size() / recordSize * recordSize;
    if (whole >= fullSize) return content;
    content->resize(whole);
    content->resize(fullSize, '\0');
    if (!files_.replace(path, *content)) return std::nullopt;
    return content;
}

std::optional<std::string> RecordStore::readRecord(const std::filesystem::path& path,
                                                   std::size_t recordSize, int index) {
    if (!isCourseIndex(index)) return std::nullopt;
    if (files_.kind(path) != FileKind::File || !files_.canOpenForReadWrite(path)) {
        return std::nullopt;
    }
    const auto content = files_.readAll(path);
    const std::size_t offset = recordSize * static_cast<std::size_t>(index);
    if (!content || content->size() < offset + recordSize) return std::nullopt;
    return content->substr(offset, recordSize);
}

bool RecordStore::modifyRecord(
    const std::filesystem::path& path, std::size_t recordSize, int index, bool needsOld,
    const std::function<std::optional<std::string>(std::string_view)>& change) {
    if (!isCourseIndex(index)) return false;
    if (files_.kind(path) != FileKind::File || !files_.canOpenForReadWrite(path)) return false;
    auto content = files_.readAll(path);
    if (!content) return false;
    const std::size_t offset = recordSize * static_cast<std::size_t>(index);
    // A record can be written at the end of a file, never past a gap.
    if (content->size() < offset + (needsOld ? recordSize : 0)) return false;
    const std::string old = needsOld ? content->substr(offset, recordSize) : std::string();
    const std::optional<std::string> record = change(old);
    if (!record) return true;
    if (content->size() < offset + recordSize) content->resize(offset + recordSize, '\0');
    content->replace(offset, recordSize, *record);
    return files_.replace(path, *content);
}

std::optional<CourseBest> RecordStore::readBest(int course) {
    const auto bytes = readRecord(bestFile_, kCourseBestSize, course);
    if (!bytes) return std::nullopt;
    return decodeCourseBest(*bytes);
}

bool RecordStore::writeBest(int course, const CourseBest& record) {
    return modifyRecord(bestFile_, kCourseBestSize, course, false,
                        [&](std::string_view) { return encode(record); });
}

std::optional<CourseHistory> RecordStore::readHistory(int course) {
    const auto bytes = readRecord(historyFile_, kCourseHistorySize, course);
    if (!bytes) return std::nullopt;
    return decodeCourseHistory(*bytes);
}

bool RecordStore::writeHistory(int course, const CourseHistory& record) {
    return modifyRecord(historyFile_, kCourseHistorySize, course, false,
                        [&](std::string_view) { return encode(record); });
}

bool RecordStore::modifyBest(int course, const std::function<void(CourseBest&)>& change) {
    return modifyRecord(bestFile_, kCourseBestSize, course, true, [&](std::string_view old) {
        CourseBest record = decodeCourseBest(old);
        change(record);
        return encode(record);
    });
}

bool RecordStore::modifyHistory(int course, const std::function<void(CourseHistory&)>& change) {
    return modifyRecord(historyFile_, kCourseHistorySize, course, true,
                        [&](std::string_view old) -> std::optional<std::string> {
                            CourseHistory record = decodeCourseHistory(old);
                            change(record);
                            return encode(record);
                        });
}

std::optional<CourseBest> RecordStore::reloadBest(int course) {
    std::optional<CourseBest> record = readBest(course);
    if (record) best_[static_cast<std::size_t>(course)] = *record;
    return record;
}

RecordStore::RaiseResult RecordStore::raiseBest(int course, int setting, std::int32_t score,
                                                std::int32_t date) {
    if (!isSettingIndex(setting)) return RaiseResult::Failed;
    const auto s = static_cast<std::size_t>(setting);
    CourseBest record;
    bool higher = false;
    const bool ok = modifyRecord(bestFile_, kCourseBestSize, course, true,
                                 [&](std::string_view old) -> std::optional<std::string> {
                                     record = decodeCourseBest(old);
                                     higher = score > record.score[s];
                                     if (!higher) return std::nullopt;
                                     record.score[s] = score;
                                     record.date[s] = date;
                                     return encode(record);
                                 });
    if (!ok) return RaiseResult::Failed;
    best_[static_cast<std::size_t>(course)] = record;
    return higher ? RaiseResult::Raised : RaiseResult::NotHigher;
}

std::int32_t RecordStore::bestScore(int course, int setting) const {
    if (!isCourseIndex(course) || !isSettingIndex(setting)) return 0;
    return best_[static_cast<std::size_t>(course)].score[static_cast<std::size_t>(setting)];
}

std::int32_t RecordStore::bestDate(int course, int setting) const {
    if (!isCourseIndex(course) || !isSettingIndex(setting)) return 0;
    return best_[static_cast<std::size_t>(course)].date[static_cast<std::size_t>(setting)];
}

void RecordStore::setBest(int course, int setting, std::int32_t score, std::int32_t date) {
    if (!isCourseIndex(course) || !isSettingIndex(setting)) return;
    auto& row = best_[static_cast<std::size_t>(course)];
    row.score[static_cast<std::size_t>(setting)] = score;
    row.date[static_cast<std::size_t>(setting)] = date;
}

void RecordStore::refreshBestLabels(ExerciseDisplay& display, int course, int setting) const {
    showBestLabels(display, bestScore(course, setting), bestDate(course, setting));
}

void showBestLabels(ExerciseDisplay& display, std::int32_t score, std::int32_t date) {
    if (score <= 0) {
        display.setLabelText(Label::BestScore, "");
        display.setLabelText(Label::BestDate, "");
        return;
    }
    display.setLabelText(Label::BestScore, std::to_string(score));
    display.setLabelText(Label::BestDate, longDateText(date));
}

}  // namespace hayate
