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
        return replaceFileAtomically(path, content);
    }
};

}  // namespace

RecordFileAccess& systemRecordFileAccess() {
    static SystemRecordFileAccess access;
    return access;
}

}  // namespace hayate
