// The whole program, from QApplication to the end of its event loop.
#pragma once

namespace hayate::gui {

// Runs the program as `main` does.
int runProgram(int argc, char** argv);

}  // namespace hayate::gui
