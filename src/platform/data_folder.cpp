#include "platform/data_folder.h"

#include <cstdlib>
#include <system_error>

#include "platform/file_check.h"
#include "platform/install_layout.h"

namespace hayate {

namespace {

constexpr const char* kFolderName = "hayateuchi";

std::optional<std::string> nonEmpty(const EnvironmentLookup& environment, const char* name) {
    auto value = environment(name);
    if (value && value->empty()) return std::nullopt;
    return value;
}

}  // namespace

OsFamily currentOsFamily() {
#if defined(_WIN32)
    return OsFamily::Windows;
#elif defined(__APPLE__)
    return OsFamily::MacOS;
#else
    return OsFamily::Linux;
#endif
}

std::optional<std::string> systemEnvironment(const char* name) {
    // Read once at start-up on the one thread, so getenv's shared buffer is safe.
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe)
    if (!value) return std::nullopt;
    return std::string(value);
}

std::filesystem::path userDataFolder(OsFamily os, const EnvironmentLookup& environment) {
    switch (os) {
        case OsFamily::Windows: {
            const auto appData = nonEmpty(environment, "APPDATA");
            if (!appData) return {};
            return std::filesystem::path(*appData) / kFolderName;
        }
        case OsFamily::MacOS: {
            const auto home = nonEmpty(environment, "HOME");
            if (!home) return {};
            return std::filesystem::path(*home) / "Library" / "Application Support" / kFolderName;
        }
        case OsFamily::Linux:
            break;
    }
    // A relative XDG_DATA_HOME is invalid by its own rules and is ignored.
    if (const auto xdg = nonEmpty(environment, "XDG_DATA_HOME");
        xdg && std::filesystem::path(*xdg).is_absolute()) {
        return std::filesystem::path(*xdg) / kFolderName;
    }
    const auto home = nonEmpty(environment, "HOME");
    if (!home) return {};
    return std::filesystem::path(*home) / ".local" / "share" / kFolderName;
}

std::filesystem::path bestRecordFileIn(const std::filesystem::path& folder,
                                       const std::filesystem::path& executablePath) {
    std::filesystem::path name = executablePath.filename();
    name.replace_extension(".DAT");
    return folder / name;
}

std::filesystem::path historyFileIn(const std::filesystem::path& folder,
                                    const std::filesystem::path& executablePath) {
    std::filesystem::path name = executablePath.filename();
    name.replace_extension(".UPD");
    return folder / name;
}

DataFolderChoice decideDataFolder(const std::filesystem::path& executablePath, OsFamily os,
                                  const EnvironmentLookup& environment) {
    std::filesystem::path beside = executablePath.parent_path();
    if (beside.empty()) beside = ".";
    const std::filesystem::path user = userDataFolder(os, environment);

    // The record files of `folder` that are there; the first that cannot be
    // written, if any.
    struct Held {
        bool any = false;
        std::filesystem::path unwritable;
    };
    const auto held = [&executablePath](const std::filesystem::path& folder) {
        Held h;
        for (const auto& file :
             {bestRecordFileIn(folder, executablePath), historyFileIn(folder, executablePath)}) {
            std::error_code ec;
            if (std::filesystem::symlink_status(file, ec).type() ==
                std::filesystem::file_type::not_found)
                continue;
            h.any = true;
            if (h.unwritable.empty() && !regularFileWritable(file)) h.unwritable = file;
        }
        return h;
    };
    // Its data is there, or it can take them; created when missing.
    const auto userFolderUsable = [&] {
        if (user.empty()) return false;
        std::error_code ec;
        std::filesystem::create_directories(user, ec);
        if (!std::filesystem::is_directory(user, ec)) return false;
        return held(user).any || folderTakesFiles(user);
    };

    // An installed program's folder is shared by every user (and writable for
    // root), so its copy never keeps data there while a user folder can be had.
    if (!installedShareFolder(executablePath).empty() && userFolderUsable()) return {user};
    const Held here = held(beside);
    if (here.any) {
        // A copy on a read-only disk or in a folder not its own still runs;
        // a single read-only record file stops the start, which names it.
        if (!here.unwritable.empty() && !folderTakesFiles(beside) && userFolderUsable())
            return {user, here.unwritable};
        return {beside};
    }
    if (folderTakesFiles(beside)) return {beside};
    if (userFolderUsable()) return {user};
    return {beside};
}

std::filesystem::path chooseDataFolder(const std::filesystem::path& executablePath, OsFamily os,
                                       const EnvironmentLookup& environment) {
    return decideDataFolder(executablePath, os, environment).folder;
}

}  // namespace hayate
