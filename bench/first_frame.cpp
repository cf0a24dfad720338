// The program's side of the start-up benchmark: the program itself, run as
// `main` runs it and linked as it is, ending once its first frame is on
// screen. Prints that moment (steady clock, ns).
#include <chrono>
#include <cstdio>

#include "gui/program.h"

int main(int argc, char** argv) {
    return hayate::gui::runProgram(argc, argv, [] {
        std::printf("%lld\n", static_cast<long long>(
                                  std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now().time_since_epoch())
                                      .count()));
        std::fflush(stdout);
    });
}
