// The numbers an exercise shows: speeds, the elapsed time, the counters and
// the time-limit texts, formatted the way the main window's labels expect.
#pragma once

#include <string>

namespace hayate {

// count per minute over `elapsedMs`, to the nearest integer, halves upward.
// An elapsed time below 1 ms counts as 1 ms.
int perMinute(int count, int elapsedMs);

// "%5d": the counters, the speed and the plain elapsed seconds.
std::string formatCount(int value);

// Whole seconds up to 60 as "%5d"; from 61 on a blank, minutes, an
// apostrophe, seconds and a double quote (" 1'1\"").
std::string elapsedText(int elapsedMs);

// "%4d " followed by "／分" (Shift-JIS): the keystroke speed of kana mode.
std::string keystrokeSpeedText(int perMinute);

// The time-limit label: "%5d" of the seconds, or "なし" for no limit.
std::string timeLimitLabelText(int timeLimitIndex);
// Status-bar panel 1: "制限時間 30秒", "制限時間 60秒" or "制限時間 なし".
std::string timeLimitStatusText(int timeLimitIndex);
// Status-bar panel 2: "空白有り" (0) or "空白無し" (1).
std::string spacingStatusText(int spacing);

// The message label while the practice grid has the focus: "【ＥＳＣ】で中止".
const std::string& escToStopText();

}  // namespace hayate
