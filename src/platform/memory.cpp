#include "platform/memory.h"

#include <charconv>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach/mach.h>
#include <sys/sysctl.h>
#include <sys/types.h>
#else
#include <sys/sysinfo.h>

#include "platform/safe_file.h"
#endif

namespace hayate {

std::optional<PhysicalMemory> parseMeminfo(std::string_view text) {
    std::optional<std::uint64_t> total, available, free;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, colon);
        std::string_view rest = line.substr(colon + 1);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        std::uint64_t value = 0;
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (ec != std::errc{}) continue;
        const std::string_view unit(end, static_cast<std::size_t>(rest.data() + rest.size() - end));
        if (unit.find("kB") != std::string_view::npos) {
            if (value > UINT64_MAX / 1024) continue;
            value *= 1024;
        }
        if (key == "MemTotal")
            total = value;
        else if (key == "MemAvailable")
            available = value;
        else if (key == "MemFree")
            free = value;
    }
    if (!total) return std::nullopt;
    PhysicalMemory m;
    m.totalBytes = *total;
    m.availableBytes = available ? *available : free.value_or(0);
    return m;
}

PhysicalMemory physicalMemoryStatus() {
#if defined(_WIN32)
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return {};
    return PhysicalMemory{status.ullTotalPhys, status.ullAvailPhys};
#elif defined(__APPLE__)
    PhysicalMemory m;
    std::uint64_t total = 0;
    std::size_t size = sizeof total;
    if (sysctlbyname("hw.memsize", &total, &size, nullptr, 0) == 0) m.totalBytes = total;
    vm_statistics64_data_t vm{};
    mach_msg_type_number_t count = HOST_VM_INFO64_COUNT;
    vm_size_t page = 0;
    if (host_page_size(mach_host_self(), &page) == KERN_SUCCESS &&
        host_statistics64(mach_host_self(), HOST_VM_INFO64, reinterpret_cast<host_info64_t>(&vm),
                          &count) == KERN_SUCCESS) {
        m.availableBytes = (static_cast<std::uint64_t>(vm.free_count) + vm.inactive_count) * page;
    }
    return m;
#else
    if (auto text = readWholeFile("/proc/meminfo")) {
        if (auto m = parseMeminfo(*text)) return *m;
    }
    struct sysinfo info {};
    if (sysinfo(&info) != 0) return {};
    return PhysicalMemory{static_cast<std::uint64_t>(info.totalram) * info.mem_unit,
                          static_cast<std::uint64_t>(info.freeram) * info.mem_unit};
#endif
}

MemoryFigures memoryFigures(const PhysicalMemory& memory) {
    MemoryFigures f;
    f.totalKb = memory.totalBytes / 1024;
    f.availableKb = memory.availableBytes / 1024;
    if (f.totalKb > 0 && f.availableKb <= f.totalKb) {
        const double used = static_cast<double>(f.totalKb - f.availableKb);
        f.loadPercent =
            static_cast<std::uint64_t>(used * 100.0 / static_cast<double>(f.totalKb) + 0.5);
    }
    return f;
}

std::string groupDigits(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace hayate
