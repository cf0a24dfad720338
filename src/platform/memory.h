// The computer's physical memory, for the About box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hayate {

struct PhysicalMemory {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
};

// What the operating system reports now; zeros when it reports nothing.
PhysicalMemory physicalMemoryStatus();

// Linux: MemTotal and MemAvailable (MemFree on kernels without it) of a
// /proc/meminfo text, in bytes.
std::optional<PhysicalMemory> parseMeminfo(std::string_view text);

struct MemoryFigures {
    std::uint64_t totalKb = 0;
    std::uint64_t availableKb = 0;
    std::uint64_t loadPercent = 0;  // in use, rounded half up
};

MemoryFigures memoryFigures(const PhysicalMemory& memory);

// 1234567 -> "1,234,567".
std::string groupDigits(std::uint64_t value);

}  // namespace hayate
