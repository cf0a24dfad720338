// A module as an older build would have made it: its entry point has the
// name of another interface version, so the loader must refuse it.
#include <QtGlobal>

extern "C" Q_DECL_EXPORT void* hayate_make_analysis_screen_v0(void*) { return nullptr; }
