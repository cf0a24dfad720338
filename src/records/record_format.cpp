#include "records/record_format.h"

#include <cstdio>

#include "text/nstr2.h"
#include "text/user_texts.h"

namespace hayate {

namespace {

std::int32_t readInt32(std::string_view bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(v);
}

void writeInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
        v >>= 8;
    }
}

constexpr std::size_t kHistoryDateBlock = 360;
constexpr std::size_t kHistoryListSize = 4 * kHistoryLength;

std::size_t historyOffset(int setting, int entry) {
    return kHistoryListSize * static_cast<std::size_t>(setting) +
           4 * static_cast<std::size_t>(entry);
}

}  // namespace

std::string settingTitle(int setting) {
    static constexpr UserText kTitles[kSettingCount] = {
        UserText::Setting30sWithSpaces,     UserText::Setting30sWithoutSpaces,
        UserText::Setting60sWithSpaces,     UserText::Setting60sWithoutSpaces,
        UserText::SettingNoLimitWithSpaces, UserText::SettingNoLimitWithoutSpaces,
    };
    return isSettingIndex(setting) ? std::string(sjisText(kTitles[setting])) : std::string();
}

void CourseHistory::addBest(int setting, std::int32_t newScore, std::int32_t today) {
    auto& scores = score[static_cast<std::size_t>(setting)];
    auto& dates = date[static_cast<std::size_t>(setting)];
    if (dates[0] != today) {
        for (std::size_t k = kHistoryLength - 1; k >= 1; --k) {
            scores[k] = scores[k - 1];
            dates[k] = dates[k - 1];
        }
    }
    scores[0] = newScore;
    dates[0] = today;
}

void CourseHistory::clearSetting(int setting) {
    score[static_cast<std::size_t>(setting)].fill(0);
    date[static_cast<std::size_t>(setting)].fill(0);
}

CourseBest decodeCourseBest(std::string_view bytes) {
    CourseBest r;
    for (std::size_t s = 0; s < kSettingCount; ++s) {
        r.score[s] = readInt32(bytes, 4 * s);
        r.date[s] = readInt32(bytes, 24 + 4 * s);
    }
    return r;
}

CourseHistory decodeCourseHistory(std::string_view bytes) {
    CourseHistory r;
    for (int s = 0; s < kSettingCount; ++s) {
        for (int k = 0; k < kHistoryLength; ++k) {
            const auto si = static_cast<std::size_t>(s);
            const auto ki = static_cast<std::size_t>(k);
            r.score[si][ki] = readInt32(bytes, historyOffset(s, k));
            r.date[si][ki] = readInt32(bytes, kHistoryDateBlock + historyOffset(s, k));
        }
    }
    return r;
}

std::string encode(const CourseBest& record) {
    std::string bytes(kCourseBestSize, '\0');
    for (std::size_t s = 0; s < kSettingCount; ++s) {
        writeInt32(bytes, 4 * s, record.score[s]);
        writeInt32(bytes, 24 + 4 * s, record.date[s]);
    }
    return bytes;
}

std::string encode(const CourseHistory& record) {
    std::string bytes(kCourseHistorySize, '\0');
    for (int s = 0; s < kSettingCount; ++s) {
        for (int k = 0; k < kHistoryLength; ++k) {
            const auto si = static_cast<std::size_t>(s);
            const auto ki = static_cast<std::size_t>(k);
            writeInt32(bytes, historyOffset(s, k), record.score[si][ki]);
            writeInt32(bytes, kHistoryDateBlock + historyOffset(s, k), record.date[si][ki]);
        }
    }
    return bytes;
}

std::string longDateText(std::int32_t dateNumber) {
    const std::string d = std::to_string(dateNumber);
    return midStr(d, 1, 4) + "/" + midStr(d, 5, 2) + "/" + midStr(d, 7, 2);
}

std::string shortDateText(std::int32_t dateNumber) {
    const std::string d = std::to_string(dateNumber);
    return midStr(d, 3, 2) + "/" + midStr(d, 5, 2) + "/" + midStr(d, 7, 2);
}

std::string recordCellText(std::int32_t score, std::int32_t dateNumber) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%4d", static_cast<int>(score));
    return std::string(buf) + " (" + shortDateText(dateNumber) + ")";
}

}  // namespace hayate
