// The problem file: ten user problems in fixed-size records of 4093 bytes,
// slot 0 first, no header. Names and rows are Shift-JIS bytes kept as stored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace hayate {

inline constexpr int kProblemSlots = 10;
inline constexpr int kProblemRows = 50;
inline constexpr int kProblemColumns = 40;
inline constexpr std::size_t kProblemNameBytes = 30;
inline constexpr std::size_t kProblemRowBytes = 80;
inline constexpr std::size_t kProblemRecordBytes = 4093;
inline constexpr std::size_t kProblemFileBytes = kProblemRecordBytes * kProblemSlots;

enum ProblemKind : int {
    kKindUpperCase = 0,  // 英大文字・数字・記号
    kKindRomaji = 1,     // ローマ字
    kKindLowerCase = 2,  // 英小文字・数字・記号
    kKindMixedCase = 3,  // 英大小混在・数字・記号
};

enum ProblemUnit : int {
    kUnitCharacter = 0,  // １文字単位
    kUnitWord = 1,       // 単語・文
    kUnitAsWritten = 2,  // そのまま
};

struct ProblemHead {
    std::string name;        // at most 30 bytes
    std::int32_t count = 0;  // characters in the rows; 0 = the slot holds no problem
    std::int32_t kind = 0;   // 0..3 in a sound file; any value can come from disk
    std::int32_t unit = 0;   // 0..2 likewise
};

using ProblemRows = std::array<std::string, kProblemRows>;  // each at most 80 bytes

struct ProblemRecord {
    ProblemHead head;
    ProblemRows rows;
};

// The 4093 bytes of a record. Texts too long for their field are cut at a
// character boundary; the unused bytes of each field are zero.
std::string encodeProblemRecord(const ProblemRecord& record);

// A record from its bytes (missing bytes read as zero). A length byte larger
// than its field is taken as the field's size, so nothing outside it is read.
ProblemRecord decodeProblemRecord(std::string_view bytes);

// Count 0, kind 0, unit 0, no text, named ユーザー１ .. ユーザー１０.
ProblemRecord defaultProblemRecord(int slot);

// The first `maxBytes` bytes of `text`, one byte fewer when the last one would
// be the first half of a two-byte character.
std::string cutAtCharacter(std::string_view text, std::size_t maxBytes);

// The rows of the editor grid as a store takes them: columns 1..40 of each row
// up to the first empty cell, and the number of cells taken.
struct StoredText {
    ProblemRows rows;
    int count = 0;
};
using EditorCellText = std::function<std::string(int column, int row)>;
StoredText storedTextFromCells(const EditorCellText& cellText);

enum class StoreResult {
    Failed,           // nothing written, the table unchanged
    Stored,           // the slot written, its table entry updated
    StoredInNewFile,  // the file was missing: ten default records were written
                      // with the slot, and the whole table was refilled
};

enum class ProblemFileCheck { Accepted, Rejected, Unreadable };

// What the start-up list made of the file; true when it was listed.
struct ProblemListResult {
    enum Outcome { Listed, NotProblemFile, Failed } outcome = Failed;
    explicit operator bool() const { return outcome == Listed; }
};

// Ten default records, replacing `path` crash-safely. False on any failure.
bool writeNewProblemFile(const std::filesystem::path& path);

// The problem file in use with the problem table and the loaded problem text.
// Every operation opens the file and closes it again; writes replace the whole
// file crash-safely and keep every byte outside the record they change.
class ProblemFile {
  public:
    explicit ProblemFile(std::filesystem::path path = "Kbdojo.USR");

    const std::filesystem::path& path() const { return path_; }
    void setPath(std::filesystem::path path) { path_ = std::move(path); }

    const std::array<ProblemHead, kProblemSlots>& table() const { return table_; }
    const ProblemHead& head(int slot) const;
    // The rows of the slot last loaded; loadedSlot() is -1 before the first load.
    const ProblemRows& loadedText() const { return loadedText_; }
    int loadedSlot() const { return loadedSlot_; }

    // Start-up: creates the file or completes it to ten records, then reads
    // the ten heads. A short file that is no problem file (a record kind
    // outside 0..3, or not one whole record) is refused untouched; Failed
    // when the file cannot be created, completed or read. The table is then
    // left with no counts, kinds or units.
    ProblemListResult listProblems();

    // Reads slot 0..9 into its table entry and the loaded text. On failure
    // both keep their previous contents.
    bool loadSlot(int slot);

    // Writes `text` under `name` (cut to 30 bytes), `kind` and `unit` into `slot`.
    StoreResult storeProblem(int slot, const StoredText& text, std::string_view name, int kind,
                             int unit);

    // Writes count 0 and no text, keeping the given name, kind and unit in the
    // file; the table entry takes the count, kind and unit but keeps its name.
    StoreResult clearProblem(int slot, std::string_view name, int kind, int unit);

    // The check of a file switch: exactly ten whole records, every kind 0..3.
    // Only an accepted file's heads replace the table; the path is not changed.
    ProblemFileCheck readProblemFile(const std::filesystem::path& candidate);

  private:
    StoreResult writeRecord(int slot, const ProblemRecord& record);

    std::filesystem::path path_;
    std::array<ProblemHead, kProblemSlots> table_{};
    ProblemRows loadedText_{};
    int loadedSlot_ = -1;
};

}  // namespace hayate
