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

// What made the start-up fail or change course, after the fixed text or on
// its own: the file named between 「 and 」, then the reason on a line of its own.
// 問題ファイル「
inline constexpr std::string_view kProblemFileLead =
    "\x96\xe2\x91\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x81\x75";
// 記録ファイル「
inline constexpr std::string_view kRecordFileLead =
    "\x8b\x4c\x98\x5e\x83\x74\x83\x40\x83\x43\x83\x8b\x81\x75";
// 」を使えません
inline constexpr std::string_view kCannotUse =
    "\x81\x76\x82\xf0\x8e\x67\x82\xa6\x82\xdc\x82\xb9\x82\xf1";
// 今回は Kbdojo.USR を使います
inline constexpr std::string_view kUsingDefaultProblemFile =
    "\x8d\xa1\x89\xf1\x82\xcd Kbdojo.USR \x82\xf0\x8e\x67\x82\xa2\x82\xdc\x82\xb7";
// ディスクの空きが足りないため、練習の記録を保存できません
inline constexpr std::string_view kCannotSaveRecords =
    "\x83\x66\x83\x42\x83\x58\x83\x4e\x82\xcc\x8b\xf3\x82\xab\x82\xaa\x91\xab\x82\xe8\x82"
    "\xc8\x82\xa2\x82\xbd\x82\xdf\x81\x41\x97\xfb\x8f\x4b\x82\xcc\x8b\x4c\x98\x5e\x82\xf0"
    "\x95\xdb\x91\xb6\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
// 」に書き込めないため、\r\n記録は
inline constexpr std::string_view kCannotWriteRecordsMiddle =
    "\x81\x76\x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xc8\x82\xa2\x82\xbd\x82\xdf\x81"
    "\x41\r\n\x8b\x4c\x98\x5e\x82\xcd ";
//  に保存します
inline constexpr std::string_view kCannotWriteRecordsEnd =
    " \x82\xc9\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb7";
// フォルダが見つかりません
inline constexpr std::string_view kReasonFolderMissing =
    "\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82"
    "\xb9\x82\xf1";
// シンボリックリンクが循環しています
inline constexpr std::string_view kReasonLinkLoop =
    "\x83\x56\x83\x93\x83\x7b\x83\x8a\x83\x62\x83\x4e\x83\x8a\x83\x93\x83\x4e\x82\xaa\x8f"
    "\x7a\x8a\xc2\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7";
// アクセスが許可されていません
inline constexpr std::string_view kReasonNoAccess =
    "\x83\x41\x83\x4e\x83\x5a\x83\x58\x82\xaa\x8b\x96\x89\xc2\x82\xb3\x82\xea\x82\xc4\x82"
    "\xa2\x82\xdc\x82\xb9\x82\xf1";
// ファイルではなくフォルダです
inline constexpr std::string_view kReasonFolder =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xc5\x82\xcd\x82\xc8\x82\xad\x83\x74\x83\x48\x83"
    "\x8b\x83\x5f\x82\xc5\x82\xb7";
// 通常のファイルではありません
inline constexpr std::string_view kReasonNotRegular =
    "\x92\xca\x8f\xed\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xc5\x82\xcd\x82\xa0\x82"
    "\xe8\x82\xdc\x82\xb9\x82\xf1";
// 読み取り専用です
inline constexpr std::string_view kReasonReadOnly =
    "\x93\xc7\x82\xdd\x8e\xe6\x82\xe8\x90\xea\x97\x70\x82\xc5\x82\xb7";
// 読み取り専用のディスクにあります
inline constexpr std::string_view kReasonReadOnlyDisk =
    "\x93\xc7\x82\xdd\x8e\xe6\x82\xe8\x90\xea\x97\x70\x82\xcc\x83\x66\x83\x42\x83\x58\x83"
    "\x4e\x82\xc9\x82\xa0\x82\xe8\x82\xdc\x82\xb7";
// フォルダに書き込めません
inline constexpr std::string_view kReasonFolderNotWritable =
    "\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82"
    "\xb9\x82\xf1";
// ディスクの空きが足りません
inline constexpr std::string_view kReasonDiskFull =
    "\x83\x66\x83\x42\x83\x58\x83\x4e\x82\xcc\x8b\xf3\x82\xab\x82\xaa\x91\xab\x82\xe8\x82"
    "\xdc\x82\xb9\x82\xf1";
// 読み込めません
inline constexpr std::string_view kReasonUnreadable =
    "\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1";
// 読み書きできません
inline constexpr std::string_view kReasonUnknown =
    "\x93\xc7\x82\xdd\x8f\x91\x82\xab\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";

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
    // character tables. False: show kCreateFailedMessage and end.
    bool create(ExerciseTimer& timer);

    // The first-show step's parts below the window: the problem file list
    // under the settings' name (the default problem file, with a notice,
    // when that one cannot be used), kana mode for the course, and the
    // record files with their best tables. False: show showFailedMessage()
    // and end.
    bool firstShow(ProblemFile& problems);

    // kShowFailedMessage, followed by the file and the reason when a file
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
    std::string showFailedMessage_{startup_text::kShowFailedMessage};
    std::vector<std::string> notices_;

    bool listProblemFile(ProblemFile& problems);
    void explainRecordFailure();
    void noticeRecordSpace();
};

}  // namespace hayate
