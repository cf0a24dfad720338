#include "problems/problem_file.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <system_error>

#include "platform/safe_file.h"
#include "text/sjis.h"
#include "text/user_texts.h"

namespace hayate {

namespace {

constexpr std::size_t kCountOffset = 0;
constexpr std::size_t kKindOffset = 4;
constexpr std::size_t kUnitOffset = 8;
constexpr std::size_t kNameOffset = 12;
constexpr std::size_t kRowsOffset = kNameOffset + 1 + kProblemNameBytes;  // 43
constexpr std::size_t kRowFieldBytes = 1 + kProblemRowBytes;              // 81
static_assert(kRowsOffset + kProblemRows * kRowFieldBytes == kProblemRecordBytes);

void putInt32(std::string& out, std::size_t at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::int32_t getInt32(std::string_view in, std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(in[at + i]);
    return static_cast<std::int32_t>(u);
}

// A length-prefixed text: the length byte, then `field` bytes.
void putText(std::string& out, std::size_t at, std::string_view text, std::size_t field) {
    const std::string cut = cutAtCharacter(text, field);
    out[at] = static_cast<char>(cut.size());
    std::copy(cut.begin(), cut.end(), out.begin() + static_cast<std::ptrdiff_t>(at + 1));
}

std::string getText(std::string_view in, std::size_t at, std::size_t field) {
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(in[at]), field);
    return std::string(in.substr(at + 1, length));
}

// Opened for reading and writing, as every write of a problem needs: a
// read-only or locked file fails here, before anything is replaced.
bool openableForUpdate(const std::filesystem::path& file) {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    return f.is_open();
}

// Up to `size` bytes from `offset`; nothing when the file cannot be opened or read.
std::optional<std::string> readAt(const std::filesystem::path& file, std::size_t offset,
                                  std::size_t size) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in) return std::nullopt;
    std::string bytes(size, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::optional<std::uintmax_t> sizeOf(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return std::nullopt;
    return size;
}

// The test of the switch: every one of the first `records` records has a kind 0..3.
bool kindsValid(std::string_view bytes, int records) {
    for (int k = 0; k < records; ++k) {
        const std::int32_t kind =
            getInt32(bytes, static_cast<std::size_t>(k) * kProblemRecordBytes + kKindOffset);
        if (kind < kKindUpperCase || kind > kKindMixedCase) return false;
    }
    return true;
}

std::string defaultRecords(int from, int to) {
    std::string out;
    for (int k = from; k < to; ++k) out += encodeProblemRecord(defaultProblemRecord(k));
    return out;
}

}  // namespace

std::string cutAtCharacter(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t n = charLengthAt(text, end);
        if (end + n > maxBytes) break;
        end += n;
    }
    return std::string(text.substr(0, end));
}

std::string encodeProblemRecord(const ProblemRecord& record) {
    std::string out(kProblemRecordBytes, '\0');
    putInt32(out, kCountOffset, record.head.count);
    putInt32(out, kKindOffset, record.head.kind);
    putInt32(out, kUnitOffset, record.head.unit);
    putText(out, kNameOffset, record.head.name, kProblemNameBytes);
    for (int r = 0; r < kProblemRows; ++r) {
        putText(out, kRowsOffset + static_cast<std::size_t>(r) * kRowFieldBytes, record.rows[r],
                kProblemRowBytes);
    }
    return out;
}

ProblemRecord decodeProblemRecord(std::string_view bytes) {
    std::string full(bytes.substr(0, std::min(bytes.size(), kProblemRecordBytes)));
    full.resize(kProblemRecordBytes, '\0');
    ProblemRecord record;
    record.head.count = getInt32(full, kCountOffset);
    record.head.kind = getInt32(full, kKindOffset);
    record.head.unit = getInt32(full, kUnitOffset);
    record.head.name = getText(full, kNameOffset, kProblemNameBytes);
    for (int r = 0; r < kProblemRows; ++r) {
        record.rows[r] = getText(full, kRowsOffset + static_cast<std::size_t>(r) * kRowFieldBytes,
                                 kProblemRowBytes);
    }
    return record;
}

ProblemRecord defaultProblemRecord(int slot) {
    // ユーザー and the slot number in full-width digits (０ is 82 4F).
    std::string name(sjisText(UserText::DefaultProblemName));
    for (char d : std::to_string(slot + 1))
        name += sjisChar(0x824Fu + static_cast<unsigned>(d - '0'));
    ProblemRecord record;
    record.head.name = std::move(name);
    return record;
}

StoredText storedTextFromCells(const EditorCellText& cellText) {
    StoredText stored;
    for (int row = 1; row <= kProblemRows; ++row) {
        std::string text;
        for (int column = 1; column <= kProblemColumns; ++column) {
            const std::string cell = cellText(column, row);
            if (cell.empty()) break;
            text += cell;
            ++stored.count;
        }
        stored.rows[row - 1] = cutAtCharacter(text, kProblemRowBytes);
    }
    return stored;
}

bool writeNewProblemFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !openableForUpdate(path)) return false;
    return replaceFileAtomically(path, defaultRecords(0, kProblemSlots));
}

ProblemFile::ProblemFile(std::filesystem::path path) : path_(std::move(path)) {}

const ProblemHead& ProblemFile::head(int slot) const {
    static const ProblemHead kNone;
    return slot >= 0 && slot < kProblemSlots ? table_[static_cast<std::size_t>(slot)] : kNone;
}

ProblemListResult ProblemFile::listProblems() {
    for (ProblemHead& h : table_) h.count = h.kind = h.unit = 0;
    constexpr ProblemListResult kFailed{ProblemListResult::Failed};

    std::optional<std::string> bytes;
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) {
        bytes = defaultRecords(0, kProblemSlots);
        if (ec || !replaceFileAtomically(path_, *bytes)) return kFailed;
    } else {
        const std::optional<std::uintmax_t> size = sizeOf(path_);
        if (!size) return kFailed;
        const auto whole =
            static_cast<int>(std::min<std::uintmax_t>(*size / kProblemRecordBytes, kProblemSlots));
        // Records after the tenth are never read.
        bytes = readAt(path_, 0, static_cast<std::size_t>(whole) * kProblemRecordBytes);
        if (!bytes || bytes->size() != static_cast<std::size_t>(whole) * kProblemRecordBytes)
            return kFailed;
        // Only a problem file is completed: a note named as one (a few bytes,
        // no whole record) or any other file keeps every byte. A file of ten
        // records is written by nothing here and is taken as it is.
        if (whole < kProblemSlots && (!kindsValid(*bytes, whole) || (whole == 0 && *size > 0)))
            return {ProblemListResult::NotProblemFile};
        if (whole < kProblemSlots) {
            // Completes the file; a trailing partial record gives way to a default one.
            if (!openableForUpdate(path_)) return kFailed;
            *bytes += defaultRecords(whole, kProblemSlots);
            if (!replaceFileAtomically(path_, *bytes)) return kFailed;
        }
    }
    for (int k = 0; k < kProblemSlots; ++k) {
        table_[static_cast<std::size_t>(k)] =
            decodeProblemRecord(
                std::string_view(*bytes).substr(static_cast<std::size_t>(k) * kProblemRecordBytes))
                .head;
    }
    return {ProblemListResult::Listed};
}

bool ProblemFile::loadSlot(int slot) {
    if (slot < 0 || slot >= kProblemSlots) return false;
    const std::optional<std::string> bytes =
        readAt(path_, static_cast<std::size_t>(slot) * kProblemRecordBytes, kProblemRecordBytes);
    if (!bytes || bytes->size() != kProblemRecordBytes) return false;
    ProblemRecord record = decodeProblemRecord(*bytes);
    table_[static_cast<std::size_t>(slot)] = std::move(record.head);
    loadedText_ = std::move(record.rows);
    loadedSlot_ = slot;
    return true;
}

StoreResult ProblemFile::writeRecord(int slot, const ProblemRecord& record) {
    if (slot < 0 || slot >= kProblemSlots) return StoreResult::Failed;
    std::string content;
    StoreResult done = StoreResult::Stored;
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) {
        if (ec) return StoreResult::Failed;
        content = defaultRecords(0, kProblemSlots);
        done = StoreResult::StoredInNewFile;
    } else {
        if (!openableForUpdate(path_)) return StoreResult::Failed;
        std::optional<std::string> old = readWholeFile(path_);
        if (!old) return StoreResult::Failed;
        content = std::move(*old);
    }
    const std::size_t at = static_cast<std::size_t>(slot) * kProblemRecordBytes;
    if (content.size() < at + kProblemRecordBytes) {
        // A file cut short since the start: the records before the slot are
        // completed with defaults rather than left as a gap of zeros.
        const std::size_t whole = content.size() / kProblemRecordBytes;
        content.resize(whole * kProblemRecordBytes);
        content += defaultRecords(static_cast<int>(whole), slot + 1);
    }
    content.replace(at, kProblemRecordBytes, encodeProblemRecord(record));
    if (!replaceFileAtomically(path_, content)) return StoreResult::Failed;

    if (done == StoreResult::StoredInNewFile) {
        for (int k = 0; k < kProblemSlots; ++k)
            table_[static_cast<std::size_t>(k)] = defaultProblemRecord(k).head;
    }
    return done;
}

StoreResult ProblemFile::storeProblem(int slot, const StoredText& text, std::string_view name,
                                      int kind, int unit) {
    ProblemRecord record;
    record.head = {cutAtCharacter(name, kProblemNameBytes), text.count, kind, unit};
    record.rows = text.rows;
    const StoreResult result = writeRecord(slot, record);
    if (result != StoreResult::Failed) table_[static_cast<std::size_t>(slot)] = record.head;
    return result;
}

StoreResult ProblemFile::clearProblem(int slot, std::string_view name, int kind, int unit) {
    ProblemRecord record;
    record.head = {cutAtCharacter(name, kProblemNameBytes), 0, kind, unit};
    const StoreResult result = writeRecord(slot, record);
    if (result != StoreResult::Failed) {
        ProblemHead& h = table_[static_cast<std::size_t>(slot)];
        h.count = 0;
        h.kind = kind;
        h.unit = unit;
    }
    return result;
}

ProblemFileCheck ProblemFile::readProblemFile(const std::filesystem::path& candidate) {
    const std::optional<std::uintmax_t> size = sizeOf(candidate);
    if (!size) return ProblemFileCheck::Unreadable;
    if (*size / kProblemRecordBytes != kProblemSlots) return ProblemFileCheck::Rejected;
    const std::optional<std::string> bytes = readAt(candidate, 0, kProblemFileBytes);
    if (!bytes || bytes->size() != kProblemFileBytes) return ProblemFileCheck::Unreadable;
    if (!kindsValid(*bytes, kProblemSlots)) return ProblemFileCheck::Rejected;
    std::array<ProblemHead, kProblemSlots> heads;
    for (int k = 0; k < kProblemSlots; ++k) {
        heads[static_cast<std::size_t>(k)] =
            decodeProblemRecord(
                std::string_view(*bytes).substr(static_cast<std::size_t>(k) * kProblemRecordBytes))
                .head;
    }
    table_ = std::move(heads);
    return ProblemFileCheck::Accepted;
}

}  // namespace hayate
