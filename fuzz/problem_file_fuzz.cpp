// The problem file on any bytes: listing, loading, the switch check, a store,
// and the practice text of every slot in every unit and kind. A store changes
// only its own record; every cell ends up filled or the start is refused.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "exercise/practice_text.h"
#include "platform/safe_file.h"
#include "problems/problem_file.h"
#include "problems/problem_text.h"

using namespace hayate;

namespace {

// A file of its own per process, removed when the fuzzer exits.
struct ScratchFile {
    ScratchFile() {
        const std::filesystem::path folder = std::filesystem::exists("/dev/shm")
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        path = folder / ("hayate-problem-fuzz-" + std::to_string(::getpid()) + ".USR");
    }
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
    std::filesystem::path path;
};

void checkGrid(const PracticeGrid& grid) {
    for (int i = 0; i < PracticeGrid::kCells; ++i)
        if (grid.cell(i).text.empty() || grid.cell(i).input.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CharTables tables = buildCharTables();
    static CharTables mutableTables = buildCharTables();
    static const ScratchFile scratch;
    const std::filesystem::path& file = scratch.path;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Records decode without reading outside their fields and encode back to a
    // record that decodes the same.
    for (std::size_t at = 0; at < bytes.size(); at += kProblemRecordBytes) {
        const ProblemRecord rec = decodeProblemRecord(std::string_view(bytes).substr(at));
        if (rec.head.name.size() > kProblemNameBytes) std::abort();
        const ProblemRecord back = decodeProblemRecord(encodeProblemRecord(rec));
        if (back.head.name != rec.head.name || back.rows != rec.rows ||
            back.head.kind != rec.head.kind)
            std::abort();
    }

    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ProblemFile check{file};
    const ProblemFileCheck verdict = check.readProblemFile(file);
    if (verdict == ProblemFileCheck::Accepted && bytes.size() / kProblemRecordBytes != 10)
        std::abort();

    ProblemFile problems{file};
    const ProblemListResult listed = problems.listProblems();
    if (listed.outcome == ProblemListResult::NotProblemFile) {
        // Refused: not one byte of it changed.
        std::ifstream in(file, std::ios::binary);
        const std::string after{std::istreambuf_iterator<char>(in), {}};
        if (after != bytes) std::abort();
        return 0;
    }
    if (!listed) std::abort();
    Mt19937Source random{7};
    ProblemPractice practice{problems, tables, random};
    PracticeGrid grid;
    const int chosen = size > 0 ? data[0] % kProblemSlots : 0;
    for (int slot = 0; slot < kProblemSlots; ++slot)
        if (!problems.loadSlot(slot)) std::abort();

    // One slot as the exercise start builds it, then its rows under a kind and
    // unit of the input's choosing, unknown ones included.
    const int spacing = size > 1 ? data[1] & 1 : 0;
    const TextSettings settings{kFirstProblemCourse + chosen, spacing, 0, false};
    if (buildPracticeText(grid, mutableTables, settings, random, &practice).outcome ==
        PracticeTextResult::Outcome::Built) {
        checkGrid(grid);
    }
    ProblemHead head = problems.head(chosen);
    head.kind = size > 2 ? data[2] % 5 : 0;
    head.unit = size > 3 ? data[3] % 4 : 0;
    grid.clear();
    if (layOutProblem(grid, tables, random, head, problems.loadedText(), spacing ^ 1))
        checkGrid(grid);

    // A store keeps every byte outside its record.
    const std::string before = readWholeFile(file).value_or("");
    const int slot = chosen;
    StoredText text;
    text.rows[0] = bytes.substr(0, 90);
    text.count = 1;
    if (problems.storeProblem(slot, text, bytes.substr(0, 40), 1, 2) != StoreResult::Stored)
        std::abort();
    const std::string after = readWholeFile(file).value_or("");
    const std::size_t at = static_cast<std::size_t>(slot) * kProblemRecordBytes;
    if (after.size() != before.size() || after.compare(0, at, before, 0, at) != 0 ||
        after.compare(at + kProblemRecordBytes, std::string::npos, before,
                      at + kProblemRecordBytes) != 0) {
        std::abort();
    }
    return 0;
}
