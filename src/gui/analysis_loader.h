// Finds and loads the analysis module (analysis_screen.h): beside the
// program, as in the build tree or a copy unpacked into a folder, then in
// the installed program's private library folder, found relative to the
// program so that a moved install still finds it.
#pragma once

#include <QString>
#include <QStringList>

#include "gui/analysis_screen.h"

namespace hayate::gui {

struct AnalysisModule {
    MakeAnalysisScreen make = nullptr;  // null when the module cannot be used
    QString problem;                    // then what went wrong, for the user
};

// The places tried, in order.
QStringList analysisModuleCandidates();
AnalysisModule loadAnalysisModule();
// Looks only in `folder` from now on; empty: the usual places again.
void setAnalysisModuleFolderForTesting(const QString& folder);

}  // namespace hayate::gui
