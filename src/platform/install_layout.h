// How an installed copy is told apart from a build tree or a copy unpacked
// into a folder of one's own: the install puts the program into a prefix's
// bin folder and its shared files (help documents) into the prefix's
// share/hayateuchi, so the program finds that folder at a fixed place
// relative to itself. Such a copy keeps its data in the per-user folder even
// when it could write beside itself (root can write /usr/bin).
#pragma once

#include <filesystem>

namespace hayate {

// From the installed program's folder to its shared files, as the build
// laid out its install folders.
extern const char* const kShareFromBin;

// The installed shared-files folder of the program at `executablePath`, or
// an empty path when the program is not an installed copy.
std::filesystem::path installedShareFolder(
    const std::filesystem::path& executablePath,
    const std::filesystem::path& shareFromBin = kShareFromBin);

// The folder of the help documents: the installed one for an installed copy,
// else "help" beside the program (where the build copies it).
std::filesystem::path helpFolder(const std::filesystem::path& executablePath,
                                 const std::filesystem::path& shareFromBin = kShareFromBin);

}  // namespace hayate
