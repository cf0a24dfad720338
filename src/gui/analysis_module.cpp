// The analysis module's entry point (hayateuchi-analysis.so), found by
// analysis_loader.cpp when 成績 › 分析 first opens.
#include <QtGlobal>
#include <string_view>

#include "gui/analysis_screen.h"
#include "gui/analysis_window.h"

extern "C" Q_DECL_EXPORT hayate::gui::AnalysisScreen* hayate_make_analysis_screen_v1(
    QWidget* parent) {
    return new hayate::gui::AnalysisWindow(parent);
}

// The loader looks the entry point up by name and calls it through this type.
static_assert(std::string_view(hayate::gui::kMakeAnalysisScreenSymbol) ==
              "hayate_make_analysis_screen_v1");
[[maybe_unused]] static constexpr hayate::gui::MakeAnalysisScreen kEntryHasTheLoadersType =
    &hayate_make_analysis_screen_v1;
