// What the analysis screen (成績 › 分析) is opened with.
#pragma once

#include <QRect>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "exercise/input_method.h"

namespace hayate {
class RecordStore;
namespace journal {
class Journal;
}
}  // namespace hayate

namespace hayate::gui {

struct AnalysisSource {
    journal::Journal* journal = nullptr;        // null or closed: an empty screen
    RecordStore* records = nullptr;             // history is read from its file
    QStringList courseNames;                    // the fifteen names of the course list
    int course = 0;                             // the main window's course and setting
    int setting = 0;
    // How the main window's course is typed: the screen opens on its exercises.
    InputMethod inputMethod = InputMethod::Romaji;
    std::int64_t now = 0;  // seconds since 1970, where the periods count back from
    std::function<bool()> startWeakSpotPractice;  // true when an exercise started
    QRect area;  // where the screen may lie; empty: the available area of its display
};

}  // namespace hayate::gui
