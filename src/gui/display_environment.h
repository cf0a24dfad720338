// Settings of the window system that must be made before QApplication exists.
#pragma once

namespace hayate::gui {

// On X11 every key repaints only a few small rectangles; sending them as
// plain images is cheaper than waiting for the X server to acknowledge each
// shared-memory image (about 20 % faster per key under Xvfb). A user's own
// QT_XCB_NO_MITSHM setting is kept.
void prepareDisplayEnvironment();

// Starts Qt's accessibility bridge, right after QApplication. At its first
// use it asks the session bus, blocking, and libdbus may fork the whole
// process to look for a bus; done before the window's memory exists, the
// copy-on-write faults that follow a fork are few. Where no bus can be found
// or started, the question fails at once instead of after a fork. Later
// users of the bus see the environment as it was.
void startAccessibility();

}  // namespace hayate::gui
