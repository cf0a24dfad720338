#include "gui/program.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#include "app/single_instance.h"
#include "gui/display_environment.h"
#include "gui/main_window.h"
#include "gui/qt_japanese.h"
#include "gui/single_instance.h"
#include "gui/sjis_qt.h"
#include "platform/font_config.h"
#include "platform/heap.h"

namespace hayate::gui {

namespace {

// What a second copy may do with the running window.
class FormGuardWindow final : public GuardWindow {
  public:
    explicit FormGuardWindow(TForm1& form) : form_(form) {}
    std::string titleUtf8() override { return form_.windowTitle().toStdString(); }
    bool isMinimised() override { return form_.isMinimized(); }
    void restore() override { form_.showNormal(); }
    void bringToFront() override {
        form_.raise();
        form_.activateWindow();
    }

  private:
    TForm1& form_;
};

constexpr int kHeapReservationLimitMs = 5000;

// Ends the heap reservation once the window's first frame is out: the
// expose is painted and flushed before the next turn of the event loop.
class FirstFrameWatch final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [] { endHeapReservation(); });
        }
        return false;
    }
};

void plainMessage(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, toQt(caption),
                    toQt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok);
    box.exec();
}

}  // namespace

int runProgram(int argc, char** argv, const std::function<void()>& firstFrame) {
    reserveHeapForWindow(kWindowHeapBytes);
    prepareDisplayEnvironment();
    // While QApplication connects to the display; joined before the first
    // font and before the environment changes again.
    FontConfigPreload fontConfig;
    QApplication app(argc, argv);
    fontConfig.wait();
    startAccessibility();
    installFontSubstitutes();
    installQtJapanese();
    const std::filesystem::path executable = QCoreApplication::applicationFilePath().toStdString();

    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) runtime = QDir::tempPath();
    SingleInstance guard(executable, runtime.toStdString(), SingleInstance::currentDesktop());
    switch (guard.acquire()) {
        case GuardAction::Run:
            break;
        case GuardAction::EndSilently:
            return 0;
        case GuardAction::ReportAndRaise:
            QApplication::setApplicationName(toQt(guard_text::kAlreadyRunningCaption));
            plainMessage(guard_text::kAlreadyRunningCaption, guard_text::kAlreadyRunningMessage);
            guard.requestFront();
            return 0;
        case GuardAction::CannotStart:
            plainMessage(kMainWindowTitleUtf8, guard_text::kCannotStartMessage);
            return 1;
    }
    QApplication::setApplicationName(QString::fromUtf8(
        kMainWindowTitleUtf8.data(), static_cast<qsizetype>(kMainWindowTitleUtf8.size())));

    TForm1::Options options;
    options.executablePath = executable;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) options.arguments.push_back(args[i].toStdString());
    TForm1 form(options);
    FormGuardWindow guardWindow(form);
    guard.serve(guardWindow);
    if (form.firstShowFailed()) return 1;
    form.show();
    if (!firstFrame) {
        FirstFrameWatch watch;
        if (QWindow* window = form.windowHandle()) window->installEventFilter(&watch);
        // A window that is never exposed (started minimised) ends it anyway.
        QTimer::singleShot(kHeapReservationLimitMs, &app, [] { endHeapReservation(); });
        return app.exec();
    }
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(&form, QEvent::UpdateRequest);
    firstFrame();
    return 0;
}

}  // namespace hayate::gui
