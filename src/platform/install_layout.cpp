#include "platform/install_layout.h"

#include <system_error>

namespace hayate {

#ifdef HAYATE_SHARE_FROM_BIN
const char* const kShareFromBin = HAYATE_SHARE_FROM_BIN;
#else
const char* const kShareFromBin = "../share/hayateuchi";
#endif

std::filesystem::path installedShareFolder(const std::filesystem::path& executablePath,
                                           const std::filesystem::path& shareFromBin) {
    const std::filesystem::path bin = executablePath.parent_path();
    if (bin.empty() || shareFromBin.empty()) return {};
    const std::filesystem::path share = (bin / shareFromBin).lexically_normal();
    // The help documents are what the install puts there; a bare folder of the
    // same name (say a user's data folder beside ~/.local/bin) is not an install.
    std::error_code ec;
    if (!std::filesystem::is_directory(share / "help", ec)) return {};
    return share;
}

std::filesystem::path helpFolder(const std::filesystem::path& executablePath,
                                 const std::filesystem::path& shareFromBin) {
    const std::filesystem::path share = installedShareFolder(executablePath, shareFromBin);
    if (!share.empty()) return share / "help";
    std::filesystem::path beside = executablePath.parent_path();
    if (beside.empty()) beside = ".";
    return beside / "help";
}

}  // namespace hayate
