#include "app/startup.h"

#include <exception>
#include <system_error>
#include <utility>

#include "app/settings.h"
#include "exercise/practice_text.h"
#include "platform/data_folder.h"
#include "platform/file_check.h"
#include "platform/file_names.h"
#include "platform/safe_file.h"
#include "records/record_store.h"
#include "text/user_texts.h"

namespace hayate {

namespace {

// Bytes of the last UTF-8 character of `s` (1 for a stray byte).
std::size_t lastCharacterBytes(std::string_view s) {
    std::size_t n = 1;
    while (n < s.size() && n < 4 && (static_cast<unsigned char>(s[s.size() - n]) & 0xC0) == 0x80)
        ++n;
    const auto lead = static_cast<unsigned char>(s[s.size() - n]);
    return (n > 1 && (lead & 0xC0) == 0xC0) ? n : 1;
}

std::string_view troubleReason(FileTrouble trouble) {
    switch (trouble) {
        case FileTrouble::FolderMissing:
            return sjisText(UserText::ReasonFolderMissing);
        case FileTrouble::LinkLoop:
            return sjisText(UserText::ReasonLinkLoop);
        case FileTrouble::NoAccess:
            return sjisText(UserText::ReasonNoAccess);
        case FileTrouble::Folder:
            return sjisText(UserText::ReasonFolder);
        case FileTrouble::NotRegular:
            return sjisText(UserText::ReasonNotRegular);
        case FileTrouble::ReadOnly:
            return sjisText(UserText::ReasonReadOnly);
        case FileTrouble::ReadOnlyDisk:
            return sjisText(UserText::ReasonReadOnlyDisk);
        case FileTrouble::FolderNotWritable:
            return sjisText(UserText::ReasonFolderNotWritable);
        case FileTrouble::DiskFull:
            return sjisText(UserText::ReasonDiskFull);
        case FileTrouble::Unreadable:
            return sjisText(UserText::ReasonUnreadable);
        case FileTrouble::None:
            break;
    }
    return sjisText(UserText::ReasonUnknown);
}

std::string problemFileTrouble(ProblemListResult listed, const std::filesystem::path& file) {
    if (listed.outcome == ProblemListResult::NotProblemFile)
        return std::string(sjisText(UserText::NotProblemFile));
    return std::string(troubleReason(diagnoseDataFile(file, kProblemFileBytes)));
}

// 「file」を使えません and the reason below.
std::string troubleText(std::string_view lead, const std::filesystem::path& file,
                        const std::string& why) {
    return std::string(lead) + shownFileName(file) + std::string(sjisText(UserText::CannotUse)) +
           "\r\n" + why;
}

}  // namespace

std::optional<std::string> titleOverrideFromArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments.front().empty() || arguments.front().front() != '[')
        return std::nullopt;
    std::string_view inner = std::string_view(arguments.front()).substr(1);
    if (!inner.empty()) inner.remove_suffix(lastCharacterBytes(inner));
    if (inner.empty()) return std::nullopt;  // an empty override keeps the design title
    return std::string(inner);
}

bool endCommandCloses(bool& spaceKeyGuard, const std::function<bool(std::string_view)>& askToEnd) {
    if (spaceKeyGuard) {
        spaceKeyGuard = false;
        return false;
    }
    return askToEnd(sjisText(UserText::EndQuestion));
}

DataFolderChoice systemDataFolder(const std::filesystem::path& executable) {
    return decideDataFolder(executable);
}

std::string shownFileName(const std::filesystem::path& path) {
    const std::string name = path.string();
    if (std::optional<std::string> sjis = sjisFromFileSystemName(name)) return *sjis;
    std::string shown;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t n = 1;
        while (i + n < name.size() && n < 4 &&
               (static_cast<unsigned char>(name[i + n]) & 0xC0) == 0x80)
            ++n;
        const std::optional<std::string> c = sjisFromFileSystemName(name.substr(i, n));
        shown += c ? *c : std::string("?");
        i += n;
    }
    return shown;
}

StartupSequence::StartupSequence(SharedState& state, StartupOptions options)
    : state_(state), options_(std::move(options)) {}

StartupSequence::~StartupSequence() = default;

bool StartupSequence::create(ExerciseTimer& timer) {
    try {
        titleOverride_ = titleOverrideFromArguments(options_.arguments);
        // The relative problem file name resolves in the data folder, as it
        // does when the program is started from its own folder.
        const DataFolderChoice choice = options_.chooseDataFolder
                                            ? options_.chooseDataFolder(options_.executable)
                                            : systemDataFolder(options_.executable);
        dataFolder_ = choice.folder;
        if (!dataFolder_.empty()) std::filesystem::current_path(dataFolder_);
        if (!choice.unwritableRecords.empty()) {
            notices_.push_back(std::string(sjisText(UserText::RecordFileLead)) +
                               shownFileName(choice.unwritableRecords) +
                               std::string(sjisText(UserText::CannotWriteRecordsMiddle)) +
                               shownFileName(dataFolder_) +
                               std::string(sjisText(UserText::CannotWriteRecordsEnd)));
        }
        readSettings(settingsFile(), state_);
        const std::string today = hayate::todayDateNumber(options_.today);
        today_ = std::stoi(today);
        timer.setRunning(false);
        tables_.emplace(buildCharTables());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool StartupSequence::firstShow(ProblemFile& problems) {
    try {
        if (!listProblemFile(problems)) return false;
        state_.kanaMode = state_.courseIndex == kCourseRomaji;
        records_ = std::make_unique<RecordStore>(bestRecordFile(), historyFile(), today_);
        if (!records_->loadAtStartup()) {
            explainRecordFailure();
            return false;
        }
        noticeRecordSpace();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// The problem file of the settings, or else the default one: a file that has
// gone (a deleted folder, an unplugged stick) or is no problem file would
// otherwise stop every start. The settings keep its name for the next start.
bool StartupSequence::listProblemFile(ProblemFile& problems) {
    const std::filesystem::path named = state_.problemFileName;
    problems.setPath(named);
    ProblemListResult listed = problems.listProblems();
    if (listed) return true;
    std::string why = problemFileTrouble(listed, named);
    const std::filesystem::path fallback(sjisText(UserText::DefaultProblemFileName));
    const bool isFallback = std::filesystem::absolute(named).lexically_normal() ==
                            std::filesystem::absolute(fallback).lexically_normal();
    if (!isFallback) {
        problems.setPath(fallback);
        listed = problems.listProblems();
        if (listed) {
            state_.problemFileName = fallback.string();
            notices_.push_back(troubleText(sjisText(UserText::ProblemFileLead), named, why) +
                               "\r\n" + std::string(sjisText(UserText::UsingDefaultProblemFile)));
            return true;
        }
        why = problemFileTrouble(listed, fallback);
    }
    showFailedMessage_ = std::string(sjisText(UserText::ShowFailedMessage)) + "\r\n\r\n" +
                         troubleText(sjisText(UserText::ProblemFileLead), problems.path(), why);
    return false;
}

void StartupSequence::explainRecordFailure() {
    const std::pair<std::filesystem::path, std::uintmax_t> files[] = {
        {bestRecordFile(), kCourseBestSize * kCourseCount},
        {historyFile(), kCourseHistorySize * kCourseCount},
    };
    for (const auto& [file, fullBytes] : files) {
        const FileTrouble trouble = diagnoseDataFile(file, fullBytes);
        if (trouble == FileTrouble::None) continue;
        showFailedMessage_ = std::string(sjisText(UserText::ShowFailedMessage)) + "\r\n\r\n" +
                             troubleText(sjisText(UserText::RecordFileLead), file,
                                         std::string(troubleReason(trouble)));
        return;
    }
}

// A record file is replaced whole, so a new record needs room for a copy of
// the larger one.
void StartupSequence::noticeRecordSpace() {
    for (const std::filesystem::path& file : {bestRecordFile(), historyFile()}) {
        std::error_code ec;
        const std::filesystem::path target = followLinks(file);
        const std::uintmax_t size = std::filesystem::file_size(target, ec);
        if (ec) continue;
        std::filesystem::path folder = target.parent_path();
        if (folder.empty()) folder = ".";
        if (!roomFor(folder, size)) {
            notices_.push_back(std::string(sjisText(UserText::CannotSaveRecords)) + "\r\n" +
                               shownFileName(folder));
            return;
        }
    }
}

std::filesystem::path StartupSequence::settingsFile() const {
    return settingsFilePath(options_.executable, dataFolder_);
}
std::filesystem::path StartupSequence::bestRecordFile() const {
    return recordFileNames(dataFolder_, options_.executable).best;
}
std::filesystem::path StartupSequence::historyFile() const {
    return recordFileNames(dataFolder_, options_.executable).history;
}

}  // namespace hayate
