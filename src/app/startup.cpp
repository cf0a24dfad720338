#include "app/startup.h"

#include <exception>
#include <system_error>

#include "app/settings.h"
#include "exercise/practice_text.h"
#include "platform/data_folder.h"
#include "records/record_store.h"

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
    return askToEnd(startup_text::kEndQuestion);
}

std::filesystem::path systemDataFolder(const std::filesystem::path& executable) {
    return chooseDataFolder(executable);
}

StartupSequence::StartupSequence(SharedState& state, StartupOptions options)
    : state_(state), options_(std::move(options)) {}

StartupSequence::~StartupSequence() = default;

bool StartupSequence::create(ExerciseTimer& timer) {
    try {
        titleOverride_ = titleOverrideFromArguments(options_.arguments);
        // The relative problem file name resolves in the data folder, as it
        // does when the program is started from its own folder.
        dataFolder_ = options_.chooseDataFolder ? options_.chooseDataFolder(options_.executable)
                                                : systemDataFolder(options_.executable);
        if (!dataFolder_.empty()) std::filesystem::current_path(dataFolder_);
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
        problems.setPath(state_.problemFileName);
        if (!problems.listProblems()) return false;
        state_.kanaMode = state_.courseIndex == kCourseRomaji;
        records_ = std::make_unique<RecordStore>(bestRecordFile(), historyFile(), today_);
        return records_->loadAtStartup();
    } catch (const std::exception&) {
        return false;
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
