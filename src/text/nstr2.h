// General helpers on Shift-JIS byte strings. Positions and counts are in
// bytes and 1-based, as everywhere in the program.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace hayate {

// Bytes of `text` from position `from`, at most `count` of them; a count of 0
// means "to the end". A start below 1 or past the end gives "".
std::string midStr(std::string_view text, int from, int count);

// The first `n` bytes of `text` ("" for n <= 0).
std::string leftStr(std::string_view text, int n);

// Position in `text` of the first `pattern` at or after `start`, or 0.
int posFrom(int start, std::string_view text, std::string_view pattern);

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

using TodaySource = std::function<CivilDate()>;

// The local calendar date of this computer.
CivilDate systemToday();

// Today's date as decimal text yyyymmdd (leading zeros of the year dropped, as
// a number would print it).
std::string todayDateNumber(const TodaySource& today = systemToday);

}  // namespace hayate
