// The one QApplication an in-process window benchmark needs, made on first use
// with the program's own display and font set-up.
#pragma once

#include <QApplication>

#include "gui/display_environment.h"
#include "gui/main_window.h"

inline void ensureApplication(const char* program) {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(program), nullptr};
    static QApplication* app = [] {
        hayate::gui::prepareDisplayEnvironment();
        auto* a = new QApplication(argc, argv);
        hayate::gui::startAccessibility();
        hayate::gui::installFontSubstitutes();
        return a;
    }();
    (void)app;
}
