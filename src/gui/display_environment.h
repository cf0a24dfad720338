// Settings of the window system that must be made before QApplication exists.
#pragma once

namespace hayate::gui {

// On X11 every key repaints only a few small rectangles; sending them as
// plain images is cheaper than waiting for the X server to acknowledge each
// shared-memory image (about 20 % faster per key under Xvfb). A user's own
// QT_XCB_NO_MITSHM setting is kept.
//
// Where libdbus would fork the whole process only to find no session bus,
// the bus's address names a socket that cannot exist until
// startAccessibility(), so that the first question fails at once. Set here,
// while the process has one thread.
void prepareDisplayEnvironment();

// Starts Qt's accessibility bridge, right after QApplication. At its first
// use it asks the session bus, blocking; done before the window's memory
// exists, any fork libdbus makes copies little. Then the address is put back
// as it was for child processes (the xcb reader and D-Bus threads running by
// now read no environment); this process keeps the failed lookup, as it
// would have after a fork that found nothing.
void startAccessibility();

}  // namespace hayate::gui
