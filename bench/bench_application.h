// The one QApplication an in-process window benchmark needs, made on first use
// with the program's own font set-up.
#pragma once

#include <QApplication>

#include "gui/main_window.h"

inline void ensureApplication(const char* program) {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(program), nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        hayate::gui::installFontSubstitutes();
        return a;
    }();
    (void)app;
}
