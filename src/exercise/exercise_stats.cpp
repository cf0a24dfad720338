#include "exercise/exercise_stats.h"

#include <cmath>
#include <cstdio>

#include "exercise/shared_state.h"
#include "text/user_texts.h"

namespace hayate {

namespace {

std::string printed(const char* format, int a, int b = 0) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, format, a, b);
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

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

std::string keystrokeSpeedText(int speed) {
    return printed("%4d ", speed) + std::string(sjisText(UserText::PerMinute));
}

std::string timeLimitLabelText(int timeLimitIndex) {
    if (timeLimitIndex == 2) return std::string(sjisText(UserText::NoTimeLimit));
    return formatCount(timeLimitSecondsFor(timeLimitIndex));
}

std::string timeLimitStatusText(int timeLimitIndex) {
    const std::string caption = std::string(sjisText(UserText::TimeLimitCaption)) + " ";
    if (timeLimitIndex == 2) return caption + std::string(sjisText(UserText::NoTimeLimit));
    return caption + std::to_string(timeLimitSecondsFor(timeLimitIndex)) +
           std::string(sjisText(UserText::Seconds));
}

std::string spacingStatusText(int spacing) {
    return std::string(sjisText(spacing == 1 ? UserText::WithoutSpaces : UserText::WithSpaces));
}

const std::string& escToStopText() {
    static const std::string text(sjisText(UserText::EscToStop));
    return text;
}

}  // namespace hayate
