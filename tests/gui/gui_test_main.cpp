// One QApplication for every GUI test, on the offscreen platform unless the
// caller chose another.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/main_window.h"
#include "gui/qt_japanese.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hayate::gui::installFontSubstitutes();
    hayate::gui::installQtJapanese();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
