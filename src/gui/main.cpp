// ハヤテウチ: one copy per desktop, the main window and its event loop.
#include "gui/program.h"

int main(int argc, char** argv) { return hayate::gui::runProgram(argc, argv); }
