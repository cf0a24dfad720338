// The yardstick for the program's start-up: a bare Qt 6 window with one
// Japanese label, as little as a Qt program can show, under the program's
// title so that startup_probe finds it. A program of its own, linked against
// Qt Widgets only. --fill makes it as large as the program's window, which
// fills the screen's free area.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral(u"ハヤテウチ"));
    label.setWindowTitle(QStringLiteral(u"ハヤテウチ"));
    if (argc > 1 && std::strcmp(argv[1], "--fill") == 0)
        label.resize(QGuiApplication::primaryScreen()->availableSize());
    label.show();
    return app.exec();
}
