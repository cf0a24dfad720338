#include "text/nstr2.h"

#include <ctime>

namespace hayate {

std::string midStr(std::string_view text, int from, int count) {
    const long long size = static_cast<long long>(text.size());
    if (count == 0) count = static_cast<int>(size - from + 1);
    if (from < 1) count = 0;
    if (count <= 0 || from > size) return {};
    const long long available = size - from + 1;
    return std::string(
        text.substr(from - 1, static_cast<std::size_t>(count < available ? count : available)));
}

std::string leftStr(std::string_view text, int n) {
    if (n <= 0) return {};
    return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

int posFrom(int start, std::string_view text, std::string_view pattern) {
    if (start < 1 || pattern.empty()) return 0;
    const std::string tail = midStr(text, start, 0);
    const std::size_t k = tail.find(pattern);
    return k == std::string::npos ? 0 : start + static_cast<int>(k);
}

CivilDate systemToday() {
    const std::time_t now = std::time(nullptr);
    // The program runs on one thread, so the shared buffer of localtime is safe.
    const std::tm* local = std::localtime(&now);
    if (!local) return {1970, 1, 1};
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

std::string todayDateNumber(const TodaySource& today) {
    const CivilDate d = today();
    return std::to_string(d.year * 10000 + d.month * 100 + d.day);
}

}  // namespace hayate
