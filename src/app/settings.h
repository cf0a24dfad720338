// The settings file: eight user choices kept from one run to the next in the
// profile format, section "Init", Shift-JIS.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "exercise/shared_state.h"

namespace hayate {

namespace settings_text {
inline constexpr std::string_view kSection = "Init";
// コース
inline constexpr std::string_view kCourse = "\x83\x52\x81\x5b\x83\x58";
// 制限時間
inline constexpr std::string_view kTimeLimit = "\x90\xa7\x8c\xc0\x8e\x9e\x8a\xd4";
// 空白有無
inline constexpr std::string_view kSpacing = "\x8b\xf3\x94\x92\x97\x4c\x96\xb3";
// 入力カーソル色
inline constexpr std::string_view kCursorColour =
    "\x93\xfc\x97\xcd\x83\x4a\x81\x5b\x83\x5c\x83\x8b\x90\x46";
// 英大文字小文字
inline constexpr std::string_view kLetterCase =
    "\x89\x70\x91\xe5\x95\xb6\x8e\x9a\x8f\xac\x95\xb6\x8e\x9a";
// 問題ファイル名
inline constexpr std::string_view kProblemFileName =
    "\x96\xe2\x91\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc";

// ローマ字拡張
inline constexpr std::string_view kRomajiExtended =
    "\x83\x8d\x81\x5b\x83\x7d\x8e\x9a\x8a\x67\x92\xa3";

// 入力方式: 0 romaji, 1 the JIS kana layout
inline constexpr std::string_view kInputMethod = "\x93\xfc\x97\xcd\x95\xfb\x8e\xae";

inline constexpr std::string_view kDefaultProblemFileName = "Kbdojo.USR";

// このファイルは問題ファイルにできません\r\nファイル名かフォルダ名が長すぎるか、使えない文字を含んでいます
inline constexpr std::string_view kUnstorableFileNameMessage =
    "\x82\xb1\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x96\xe2\x91\xe8\x83\x74\x83\x40"
    "\x83\x43\x83\x8b\x82\xc9\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\r\n\x83\x74\x83\x40\x83"
    "\x43\x83\x8b\x96\xbc\x82\xa9\x83\x74\x83\x48\x83\x8b\x83\x5f\x96\xbc\x82\xaa\x92\xb7\x82"
    "\xb7\x82\xac\x82\xe9\x82\xa9\x81\x41\x8e\x67\x82\xa6\x82\xc8\x82\xa2\x95\xb6\x8e\x9a\x82"
    "\xf0\x8a\xdc\x82\xf1\x82\xc5\x82\xa2\x82\xdc\x82\xb7";

// 現在の制限時間等の設定を保存しますか
inline constexpr std::string_view kSaveQuestion =
    "\x8c\xbb\x8d\xdd\x82\xcc\x90\xa7\x8c\xc0\x8e\x9e\x8a\xd4\x93\x99\x82\xcc\x90\xdd\x92\xe8\x82"
    "\xf0"
    "\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb7\x82\xa9";
// 現在の設定を保存しました\r\n\r\n次回の起動時に今回の設定が反映されます
inline constexpr std::string_view kSavedMessage =
    "\x8c\xbb\x8d\xdd\x82\xcc\x90\xdd\x92\xe8\x82\xf0\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb5\x82"
    "\xbd"
    "\r\n\r\n"
    "\x8e\x9f\x89\xf1\x82\xcc\x8b\x4e\x93\xae\x8e\x9e\x82\xc9\x8d\xa1\x89\xf1\x82\xcc\x90\xdd\x92"
    "\xe8"
    "\x82\xaa\x94\xbd\x89\x66\x82\xb3\x82\xea\x82\xdc\x82\xb7";
// 現在の設定を保存できませんでした\r\n次回の起動時には前回保存した設定が使われます
inline constexpr std::string_view kSaveFailedMessage =
    "\x8c\xbb\x8d\xdd\x82\xcc\x90\xdd\x92\xe8\x82\xf0\x95\xdb\x91\xb6\x82\xc5\x82\xab\x82"
    "\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\r\n\x8e\x9f\x89\xf1\x82\xcc\x8b\x4e\x93"
    "\xae\x8e\x9e\x82\xc9\x82\xcd\x91\x4f\x89\xf1\x95\xdb\x91\xb6\x82\xb5\x82\xbd\x90\xdd"
    "\x92\xe8\x82\xaa\x8e\x67\x82\xed\x82\xea\x82\xdc\x82\xb7";
// A switch of problem file that the settings file could not keep.
// 問題ファイルを変更しました\r\n設定ファイルに書き込めないため、次回の起動時は元の問題ファイルに戻ります
inline constexpr std::string_view kSwitchNotSavedMessage =
    "\x96\xe2\x91\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x95\xcf\x8d\x58\x82\xb5\x82\xdc"
    "\x82\xb5\x82\xbd\r\n\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xc9\x8f\x91\x82"
    "\xab\x8d\x9e\x82\xdf\x82\xc8\x82\xa2\x82\xbd\x82\xdf\x81\x41\x8e\x9f\x89\xf1\x82\xcc\x8b"
    "\x4e\x93\xae\x8e\x9e\x82\xcd\x8c\xb3\x82\xcc\x96\xe2\x91\xe8\x83\x74\x83\x40\x83\x43\x83"
    "\x8b\x82\xc9\x96\xdf\x82\xe8\x82\xdc\x82\xb7";
}  // namespace settings_text

// The longest problem file name kept, in Shift-JIS bytes: any path the
// system takes (4096 bytes with its end mark). The switch refuses longer
// ones, so whatever it writes reads back.
constexpr std::size_t kMaxProblemFileNameBytes = 4095;

// The settings file beside the data: the executable's file name with ".INI",
// in `dataFolder` (the executable's own folder when it is writable).
std::filesystem::path settingsFilePath(const std::filesystem::path& executable,
                                       const std::filesystem::path& dataFolder);

// What of the settings file is read: a real one is a few hundred bytes, and
// what lies beyond is ignored (from the last line break before it).
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

// Reads the eight keys into `state`. A missing or unreadable file, one that is
// no regular file (never opened then), a missing key and a value that is not
// accepted all give the start-up value of that setting.
void readSettings(const std::filesystem::path& file, SharedState& state);
// The same from the file's content.
void readSettingsText(std::string_view content, SharedState& state);

// The save command's question and confirmation; the window shows them.
class SettingsDialogs {
  public:
    virtual ~SettingsDialogs() = default;
    // Yes/No, information style, centred on the screen. True unless the answer is No.
    virtual bool askToSave(std::string_view question) = 0;
    // Information style, OK button, at the message position.
    virtual void confirmSaved(std::string_view message) = 0;
    // Error style, OK button, at the message position.
    virtual void reportNotSaved(std::string_view message) = 0;
};

enum class SaveResult { Declined, Saved, Failed };

// The command 環境 › 保存: asks, writes the six choices (never the problem file
// name) in one replacement of the file, and confirms. The input method is
// written only when it is かな or the file has its key already, so that a
// file saved with romaji input stays as the earlier versions wrote it. A failed write (a full
// disk, a read-only file) leaves the file as it was and says so.
SaveResult saveSettings(const std::filesystem::path& file, const SharedState& state,
                        SettingsDialogs& dialogs);

// The settings file's form of a problem file name given as the file system
// names it: Shift-JIS, or nothing when Shift-JIS cannot hold the name or it is
// too long to be read back. The switch refuses such a file before anything
// changes, with kUnstorableFileNameMessage.
std::optional<std::string> settingsFormOfProblemFileName(std::string_view name);

// After a successful problem file switch; writes no other key. `name` is the
// file system's form; false, with nothing written, when the settings file
// cannot keep it.
bool writeProblemFileName(const std::filesystem::path& file, std::string_view name);

}  // namespace hayate
