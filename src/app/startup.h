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
#include "problems/problem_file.h"
#include "text/char_tables.h"
#include "text/nstr2.h"

namespace hayate {

class RecordStore;

namespace startup_text {
// FormCreateに失敗しました\r\nプログラムを終了します
inline constexpr std::string_view kCreateFailedMessage =
    "FormCreate"
    "\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\r\n"
    "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x82\xf0\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7";
// 画面の表示に失敗しました\r\nプログラムを終了します
inline constexpr std::string_view kShowFailedMessage =
    "\x89\xe6\x96\xca\x82\xcc\x95\x5c\x8e\xa6\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82"
    "\xbd\r\n"
    "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x82\xf0\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7";
// 終了しますか: the end command's question, Yes and No, information style.
inline constexpr std::string_view kEndQuestion = "\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x82\xa9";
inline constexpr std::string_view kHelpFile = "Kbdojo.hlp";
inline constexpr std::string_view kVersionText = "Ver.2.02  ";
}  // namespace startup_text

// Start-up values the window uses (the others live in SharedState).
inline constexpr int kMessagePositionX = 400;
inline constexpr int kMessagePositionY = 300;
inline constexpr int kClockIntervalMs = 1000;

// The title given in square brackets as the first argument: the argument
// without its first and its last character, whatever that is; nothing for any
// other argument. Arguments are UTF-8, as the system passes them.
std::optional<std::string> titleOverrideFromArguments(const std::vector<std::string>& arguments);

// The end command of the button and F1: a set space-key guard only clears
// itself; otherwise the program closes unless `askToEnd` (kEndQuestion) gets No.
// The menu item asks without the guard.
bool endCommandCloses(bool& spaceKeyGuard, const std::function<bool(std::string_view)>& askToEnd);

// Chooses the folder for the program's files: the executable's own folder
// when it can be written, else a per-user folder.
using DataFolderChooser =
    std::function<std::filesystem::path(const std::filesystem::path& executable)>;

// chooseDataFolder of the platform for this system.
std::filesystem::path systemDataFolder(const std::filesystem::path& executable);

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
    // character tables. False: show kCreateFailedMessage and end.
    bool create(ExerciseTimer& timer);

    // The first-show step's parts below the window: the problem file list
    // under the settings' name, kana mode for the course, and the record
    // files with their best tables. False: show kShowFailedMessage and end.
    bool firstShow(ProblemFile& problems);

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
};

}  // namespace hayate
