#include "gui/program.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

#include "app/single_instance.h"
#include "gui/main_window.h"
#include "gui/qt_japanese.h"
#include "gui/single_instance.h"
#include "gui/sjis_qt.h"

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

void plainMessage(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, toQt(caption),
                    toQt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok);
    box.exec();
}

}  // namespace

int runProgram(int argc, char** argv) {
    QApplication app(argc, argv);
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
            QApplication::setApplicationName(qtText(UserText::AlreadyRunningCaption));
            plainMessage(sjisText(UserText::AlreadyRunningCaption), sjisText(UserText::AlreadyRunningMessage));
            guard.requestFront();
            return 0;
        case GuardAction::CannotStart:
            plainMessage(utf8Text(UserText::WindowTitle), sjisText(UserText::CannotStartMessage));
            return 1;
    }
    QApplication::setApplicationName(qtText(UserText::WindowTitle));

    TForm1::Options options;
    options.executablePath = executable;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) options.arguments.push_back(args[i].toStdString());
    TForm1 form(options);
    FormGuardWindow guardWindow(form);
    (void)guard.serve(guardWindow);  // unreachable, it still runs alone
    if (form.firstShowFailed()) return 1;
    form.show();
    return app.exec();
}

}  // namespace hayate::gui
