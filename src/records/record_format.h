// The two record files' layouts and the texts of stored values. The files have
// no header: fixed-size records of little-endian signed 32-bit integers, so a
// file written by any earlier version loads byte for byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exercise/practice_text.h"  // kCourseCount

namespace hayate {

constexpr int kSettingCount = 6;    // time limit x 2 + spacing
constexpr int kHistoryLength = 15;  // entries per setting, newest first

constexpr std::size_t kCourseBestSize = 48;
constexpr std::size_t kCourseHistorySize = 720;

constexpr bool isCourseIndex(int course) { return course >= 0 && course < kCourseCount; }
constexpr bool isSettingIndex(int setting) { return setting >= 0 && setting < kSettingCount; }

// One record of the best-record file: per setting the best score and its date number.
struct CourseBest {
    std::array<std::int32_t, kSettingCount> score{};
    std::array<std::int32_t, kSettingCount> date{};

    bool operator==(const CourseBest&) const = default;
};

// One record of the history file: per setting fifteen (score, date number)
// entries, entry 0 the newest. Scores and dates sit in two separate blocks.
struct CourseHistory {
    std::array<std::array<std::int32_t, kHistoryLength>, kSettingCount> score{};
    std::array<std::array<std::int32_t, kHistoryLength>, kSettingCount> date{};

    bool operator==(const CourseHistory&) const = default;

    // Puts (score, date) first in the list of `setting`. A list keeps one entry
    // per day: an entry of the same day is overwritten, otherwise the list moves
    // down and its oldest entry drops out.
    void addBest(int setting, std::int32_t newScore, std::int32_t today);
    void clearSetting(int setting);
};

// The column title of a setting wherever records are shown, Shift-JIS
// ("３０秒空白有り" .. "無制限空白無し"); "" outside 0..5.
std::string settingTitle(int setting);

// `bytes` must hold at least one whole record; bytes past it are ignored.
CourseBest decodeCourseBest(std::string_view bytes);
CourseHistory decodeCourseHistory(std::string_view bytes);
std::string encode(const CourseBest& record);
std::string encode(const CourseHistory& record);

// Date texts are cut from the decimal digits by position, whatever the number
// holds: "yyyy/mm/dd" and "yy/mm/dd".
std::string longDateText(std::int32_t dateNumber);
std::string shortDateText(std::int32_t dateNumber);

// A record in the records grid: "%4d" of the score, " (", the short date, ")".
std::string recordCellText(std::int32_t score, std::int32_t dateNumber);

}  // namespace hayate
