// The whole program, from QApplication to the end of its event loop.
#pragma once

#include <functional>

namespace hayate::gui {

// Runs the program as `main` does. `firstFrame`, when given, is called once
// the main window's first frame is on screen, and the program then ends
// instead of entering its event loop: start-up is measured that way.
int runProgram(int argc, char** argv, const std::function<void()>& firstFrame = {});

}  // namespace hayate::gui
