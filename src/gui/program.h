// The whole program, from QApplication to the end of its event loop.
#pragma once

#include <cstddef>
#include <functional>

namespace hayate::gui {

// The heap kept for the window: its backing store (8 MB at 1920 x 1080) and
// Qt's caches fit.
inline constexpr std::size_t kWindowHeapBytes = std::size_t{24} << 20;

// Runs the program as `main` does. `firstFrame`, when given, is called once
// the main window's first frame is on screen, and the program then ends
// instead of entering its event loop: start-up is measured that way.
int runProgram(int argc, char** argv, const std::function<void()>& firstFrame = {});

}  // namespace hayate::gui
