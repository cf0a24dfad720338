// What the window system lets a program do with its own window.
#pragma once

namespace hayate::gui {

// Under Wayland the compositor alone places windows and the pointer: move()
// and QCursor::setPos() do nothing there (the latter with a warning), and a
// window of a fixed size is floated where the compositor likes.
bool compositorPlacesWindows();

}  // namespace hayate::gui
