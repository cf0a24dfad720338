#include "records/record_file_access.h"

#include <cstdio>
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
        // "r+b" neither creates nor truncates, so the probe changes nothing.
        std::FILE* f = std::fopen(path.string().c_str(), "r+b");
        if (!f) return false;
        std::fclose(f);
        return true;
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
        return replaceFileAtomically(target, content);
    }
};

}  // namespace

RecordFileAccess& systemRecordFileAccess() {
    static SystemRecordFileAccess access;
    return access;
}

}  // namespace hayate
