// The settings file: eight user choices kept from one run to the next in the
// profile format, section "Init", Shift-JIS.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "exercise/shared_state.h"
#include "text/user_texts.h"

namespace hayate {

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
// changes, with UserText::UnstorableFileNameMessage.
std::optional<std::string> settingsFormOfProblemFileName(std::string_view name);

// After a successful problem file switch; writes no other key. `name` is the
// file system's form; false, with nothing written, when the settings file
// cannot keep it.
bool writeProblemFileName(const std::filesystem::path& file, std::string_view name);

}  // namespace hayate
