// The start-up of the program below the window: the creation step and the
// parts of the first-show step that need no widgets, in the order the window
// calls them. Each reports failure instead of throwing, and the window then
// shows the matching message and ends the program.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/exercise_ports.h"
#include "exercise/shared_state.h"
#include "platform/data_folder.h"
#include "problems/problem_file.h"
#include "text/char_tables.h"
#include "text/nstr2.h"
#include "text/user_texts.h"

namespace hayate {

class RecordStore;

// Start-up values the window uses (the others live in SharedState).
inline constexpr int kMessagePositionX = 400;
inline constexpr int kMessagePositionY = 300;
inline constexpr int kClockIntervalMs = 1000;

// The title given in square brackets as the first argument: the argument
// without its first and its last character, whatever that is; nothing for any
// other argument. Arguments are UTF-8, as the system passes them.
std::optional<std::string> titleOverrideFromArguments(const std::vector<std::string>& arguments);

// The end command of the button and F1: a set space-key guard only clears
// itself; otherwise the program closes unless `askToEnd` (UserText::EndQuestion) gets No.
// The menu item asks without the guard.
bool endCommandCloses(bool& spaceKeyGuard, const std::function<bool(std::string_view)>& askToEnd);

// Chooses the folder for the program's files: the executable's own folder
// when its data is there or can be, else a per-user folder.
using DataFolderChooser = std::function<DataFolderChoice(const std::filesystem::path& executable)>;

// decideDataFolder of the platform for this system.
DataFolderChoice systemDataFolder(const std::filesystem::path& executable);

// The name of a file as a message shows it, in Shift-JIS; a character that
// Shift-JIS has no code for shows as "?".
std::string shownFileName(const std::filesystem::path& path);

struct StartupOptions {
    std::filesystem::path executable;    // full path of the running program
    std::vector<std::string> arguments;  // after the program name
    TodaySource today = systemToday;
    DataFolderChooser chooseDataFolder = systemDataFolder;
};

class StartupSequence {
  public:
    StartupSequence(SharedState& state, StartupOptions options);
    ~StartupSequence();

    // The creation step: the title argument, the data folder as the current
    // directory, readSettings, today's date number, the clock off and the
    // character tables. False: show UserText::CreateFailedMessage and end.
    bool create(ExerciseTimer& timer);

    // The first-show step's parts below the window: the problem file list
    // under the settings' name (the default problem file, with a notice,
    // when that one cannot be used), kana mode for the course, and the
    // record files with their best tables. False: show showFailedMessage()
    // and end.
    bool firstShow(ProblemFile& problems);

    // UserText::ShowFailedMessage, followed by the file and the reason when a file
    // was the cause.
    const std::string& showFailedMessage() const { return showFailedMessage_; }
    // What the user should know although the start went on (a problem file
    // that was replaced by the default one, records that cannot be saved),
    // each a message of its own, to be shown once after the window is up.
    const std::vector<std::string>& notices() const { return notices_; }

    const std::optional<std::string>& titleOverride() const { return titleOverride_; }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }
    std::filesystem::path settingsFile() const;
    std::filesystem::path bestRecordFile() const;  // executable name with ".DAT"
    std::filesystem::path historyFile() const;     // executable name with ".UPD"
    int todayDateNumber() const { return today_; }
    // Valid after a successful create().
    CharTables& tables() { return *tables_; }
    // Valid after a successful firstShow().
    RecordStore& records() { return *records_; }

  private:
    SharedState& state_;
    StartupOptions options_;
    std::optional<std::string> titleOverride_;
    std::filesystem::path dataFolder_;
    int today_ = 0;
    std::optional<CharTables> tables_;
    std::unique_ptr<RecordStore> records_;
    std::string showFailedMessage_{sjisText(UserText::ShowFailedMessage)};
    std::vector<std::string> notices_;

    bool listProblemFile(ProblemFile& problems);
    void explainRecordFailure();
    void noticeRecordSpace();
};

}  // namespace hayate
