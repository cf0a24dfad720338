// Where the data files (settings, records, problems) live: beside the
// executable when its data is there or can be, as a portable copy expects,
// otherwise in the user's own data folder (an installed copy). The start-up
// decides once and keeps the answer for the run.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace hayate {

enum class OsFamily { Linux, Windows, MacOS };

OsFamily currentOsFamily();

// Reads an environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

std::optional<std::string> systemEnvironment(const char* name);

// The per-user folder "hayateuchi" of the platform: $XDG_DATA_HOME (or
// ~/.local/share) on Linux, %APPDATA% on Windows, ~/Library/Application Support
// on macOS. Empty when the environment names no home.
std::filesystem::path userDataFolder(OsFamily os, const EnvironmentLookup& environment);

// The record files of the program at `executablePath` in `folder`: their
// presence marks the folder as holding that copy's data.
std::filesystem::path bestRecordFileIn(const std::filesystem::path& folder,
                                       const std::filesystem::path& executablePath);
std::filesystem::path historyFileIn(const std::filesystem::path& folder,
                                    const std::filesystem::path& executablePath);

struct DataFolderChoice {
    DataFolderChoice(std::filesystem::path chosen = {}, std::filesystem::path unwritable = {})
        : folder(std::move(chosen)), unwritableRecords(std::move(unwritable)) {}
    std::filesystem::path folder;
    // A record file beside the program that cannot be written, in a folder
    // that takes no new files, when that sent the data to the per-user
    // folder instead; empty otherwise.
    std::filesystem::path unwritableRecords;
};

// The folder is chosen by the data files already there, never by writing a
// new one, so that a full disk changes nothing:
// - the executable's folder when it holds the record files and they can be
//   written or the folder takes new files (a read-only record file is then
//   the start-up's to report), or holds none and takes new files;
// - otherwise the user data folder, created when missing; an installed copy
//   (install_layout.h) takes it first;
// - if neither can be used, the executable's folder: the start-up then fails
//   on its files and says why.
DataFolderChoice decideDataFolder(const std::filesystem::path& executablePath,
                                  OsFamily os = currentOsFamily(),
                                  const EnvironmentLookup& environment = systemEnvironment);

// The folder of decideDataFolder.
std::filesystem::path chooseDataFolder(const std::filesystem::path& executablePath,
                                       OsFamily os = currentOsFamily(),
                                       const EnvironmentLookup& environment = systemEnvironment);

}  // namespace hayate
