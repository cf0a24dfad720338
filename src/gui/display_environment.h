// Settings of the window system that must be made before QApplication exists.
#pragma once

namespace hayate::gui {

// On X11 every key repaints only a few small rectangles; sending them as
// plain images is cheaper than waiting for the X server to acknowledge each
// shared-memory image (about 20 % faster per key under Xvfb). A user's own
// QT_XCB_NO_MITSHM setting is kept.
void prepareDisplayEnvironment();

}  // namespace hayate::gui
