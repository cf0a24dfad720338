// The yardstick for the program's start-up: a bare Qt 6 window with one
// Japanese label, as little as a Qt program can show. A program of its own,
// linked against Qt Widgets only, so that it loads no more libraries than
// such a program would. Prints the moment (steady clock, ns) its first frame
// is on screen.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral(u"ハヤテウチ"));
    // --fill: as large as the program's window, which fills the screen's
    // free area, to tell the cost of a big first frame from the program's own.
    if (argc > 1 && std::strcmp(argv[1], "--fill") == 0)
        label.resize(QGuiApplication::primaryScreen()->availableSize());
    label.show();
    // Block for events rather than poll with sleeps, which would round the
    // figure up to the polling step.
    while (!label.windowHandle() || !label.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(&label, QEvent::UpdateRequest);
    std::printf("%lld\n", static_cast<long long>(
                              std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count()));
    std::fflush(stdout);
    return 0;
}
