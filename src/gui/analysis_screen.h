// The analysis screen (成績 › 分析) as the main window sees it. The screen and
// its chart live in a module of their own, hayateuchi-analysis, loaded the
// first time the screen opens: Qt Charts and the OpenGL libraries it brings
// along then cost nothing at start-up. This header is all the two share.
#pragma once

#include <QRect>
#include <QStringList>
#include <cstdint>
#include <functional>

class QWidget;

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
    std::int64_t now = 0;  // seconds since 1970, where the periods count back from
    std::function<bool()> startWeakSpotPractice;  // true when an exercise started
    QRect area;  // where the screen may lie; empty: the available area of its display
};

class AnalysisScreen {
  public:
    // Fills the screen from `source` and shows it.
    virtual void open(AnalysisSource source) = 0;

  protected:
    // The screen is a child window of the main window, which deletes it.
    ~AnalysisScreen() = default;
};

// The module's one entry point: makes the screen as a child of `parent`.
// The name carries a version so that a module of another build's interface
// is refused rather than called.
using MakeAnalysisScreen = AnalysisScreen* (*)(QWidget* parent);
inline constexpr char kMakeAnalysisScreenSymbol[] = "hayate_make_analysis_screen_v1";
inline constexpr char kAnalysisModuleName[] = "hayateuchi-analysis";

}  // namespace hayate::gui
