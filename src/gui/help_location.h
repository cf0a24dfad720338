// The one place that knows where the help documents are, for every window
// that opens them.
#pragma once

#include <QString>

namespace hayate::gui {

// The help folder of the running program, without a trailing slash.
QString helpFolderPath();

}  // namespace hayate::gui
