#include "platform/safe_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace hayate {

namespace {

bool gFailBeforeRename = false;

bool flushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#if defined(_WIN32)
    return _commit(_fileno(f)) == 0;
#else
    return ::fsync(::fileno(f)) == 0;
#endif
}

void syncFolder([[maybe_unused]] const std::filesystem::path& folder) {
#if !defined(_WIN32)
    // Makes the rename itself durable; a failure only weakens that, so it is not reported.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

}  // namespace

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return content;
}

bool replaceFileAtomically(const std::filesystem::path& path, std::string_view content) {
    std::filesystem::path temp = path;
    temp += ".tmp~";
#if defined(_WIN32)
    std::FILE* f = ::_wfopen(temp.c_str(), L"wb");  // wide, so that non-ASCII folders work
#else
    std::FILE* f = std::fopen(temp.c_str(), "wb");
#endif
    if (!f) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    const bool flushed = written && flushToDisk(f);
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!written || !flushed || !closed || gFailBeforeRename) {
        if (!gFailBeforeRename) std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    syncFolder(path.parent_path());
    return true;
}

void setFailBeforeRenameForTesting(bool fail) { gFailBeforeRename = fail; }

}  // namespace hayate
