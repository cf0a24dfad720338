#include "records/record_file_access.h"

#include <fstream>
#include <system_error>

#include "platform/safe_file.h"

namespace hayate {

namespace {

class SystemRecordFileAccess final : public RecordFileAccess {
  public:
    FileKind kind(const std::filesystem::path& path) override {
        std::error_code ec;
        const auto status = std::filesystem::status(path, ec);
        if (status.type() == std::filesystem::file_type::not_found) return FileKind::Missing;
        if (ec) return FileKind::Other;
        return status.type() == std::filesystem::file_type::regular ? FileKind::File
                                                                    : FileKind::Other;
    }

    bool canOpenForReadWrite(const std::filesystem::path& path) override {
        // In and out without trunc neither creates nor truncates: the probe changes nothing.
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        return f.is_open();
    }

    std::optional<std::string> readAll(const std::filesystem::path& path) override {
        return readWholeFile(path);
    }

    bool replace(const std::filesystem::path& path, std::string_view content) override {
        // Through a link the file it points to is replaced, so the link survives.
        std::error_code ec;
        std::filesystem::path target = path;
        if (std::filesystem::is_symlink(path, ec)) {
            target = std::filesystem::canonical(path, ec);
            if (ec) return false;
        }
        // The new file is created afresh; it keeps the permissions the user gave the old one.
        const auto oldStatus = std::filesystem::status(target, ec);
        if (!replaceFileAtomically(target, content)) return false;
        if (!ec && oldStatus.type() == std::filesystem::file_type::regular) {
            std::filesystem::permissions(target, oldStatus.permissions(), ec);
        }
        return true;
    }
};

}  // namespace

RecordFileAccess& systemRecordFileAccess() {
    static SystemRecordFileAccess access;
    return access;
}

}  // namespace hayate
