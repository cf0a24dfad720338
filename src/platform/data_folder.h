// Where the data files (settings, records, problems) live: beside the
// executable when that folder can be written, as a portable copy expects,
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

// True when a file can be created, written and removed in `folder`.
bool canWriteIn(const std::filesystem::path& folder);

// The per-user folder "hayateuchi" of the platform: $XDG_DATA_HOME (or
// ~/.local/share) on Linux, %APPDATA% on Windows, ~/Library/Application Support
// on macOS. Empty when the environment names no home.
std::filesystem::path userDataFolder(OsFamily os, const EnvironmentLookup& environment);

// The executable's folder if it can be written, else the user data folder,
// created when missing; an installed copy (install_layout.h) takes the user
// data folder first. If neither can be used, the executable's folder: the
// start-up then fails on its files and says so.
std::filesystem::path chooseDataFolder(const std::filesystem::path& executablePath,
                                       OsFamily os = currentOsFamily(),
                                       const EnvironmentLookup& environment = systemEnvironment);

}  // namespace hayate
