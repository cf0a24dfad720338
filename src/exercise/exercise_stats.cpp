#include "exercise/exercise_stats.h"

#include <cmath>
#include <cstdio>

#include "exercise/shared_state.h"

namespace hayate {

namespace {

std::string printed(const char* format, int a, int b = 0) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, format, a, b);
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// Kanji have no run-time conversion in the core: Shift-JIS escapes.
const std::string kNashi = "\x82\xC8\x82\xB5";                        // なし
const std::string kSeigenJikan = "\x90\xA7\x8C\xC0\x8E\x9E\x8A\xD4";  // 制限時間
const std::string kByou = "\x95\x62";                                 // 秒
const std::string kPerMinute = "\x81\x5E\x95\xAA";                    // ／分

}  // namespace

int perMinute(int count, int elapsedMs) {
    const double ms = elapsedMs < 1 ? 1.0 : static_cast<double>(elapsedMs);
    return static_cast<int>(std::floor(static_cast<double>(count) * 60000.0 / ms + 0.5));
}

// "%5d" without printf: it runs for every completed cell.
std::string formatCount(int value) {
    char digits[16];
    char* end = digits + sizeof digits;
    char* p = end;
    long long v = value;
    const bool negative = v < 0;
    if (negative) v = -v;
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (negative) *--p = '-';
    const auto width = static_cast<std::size_t>(end - p);
    std::string out(width < 5 ? 5 - width : 0, ' ');
    out.append(p, width);
    return out;
}

std::string elapsedText(int elapsedMs) {
    const int s = elapsedMs / 1000;
    if (s <= 60) return printed("%5d", s);
    return printed(" %d'%d\"", s / 60, s % 60);
}

std::string keystrokeSpeedText(int speed) { return printed("%4d ", speed) + kPerMinute; }

std::string timeLimitLabelText(int timeLimitIndex) {
    if (timeLimitIndex == 2) return kNashi;
    return formatCount(timeLimitSecondsFor(timeLimitIndex));
}

std::string timeLimitStatusText(int timeLimitIndex) {
    if (timeLimitIndex == 2) return kSeigenJikan + " " + kNashi;
    return kSeigenJikan + " " + std::to_string(timeLimitSecondsFor(timeLimitIndex)) + kByou;
}

std::string spacingStatusText(int spacing) {
    return spacing == 1 ? "\x8B\xF3\x94\x92\x96\xB3\x82\xB5"   // 空白無し
                        : "\x8B\xF3\x94\x92\x97\x4C\x82\xE8";  // 空白有り
}

const std::string& escToStopText() {
    static const std::string text =
        "\x81\x79\x82\x64\x82\x72\x82\x62\x81\x7A\x82\xC5"  // 【ＥＳＣ】で
        "\x92\x86\x8E\x7E";                                 // 中止
    return text;
}

}  // namespace hayate
