// ハヤテウチ: one copy per desktop, the main window and its event loop.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "gui/main_window.h"
#include "gui/single_instance.h"
#include "platform/data_folder.h"

using hayate::gui::SingleInstance;
using hayate::gui::TForm1;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hayate::gui::installFontSubstitutes();
    const QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString folder = QCoreApplication::applicationDirPath();

    SingleInstance guard(exeName, QDir::tempPath());
    switch (guard.acquire()) {
    case SingleInstance::Outcome::First:
        break;
    case SingleInstance::Outcome::OtherCopyHidden:
        return 0;
    case SingleInstance::Outcome::OtherCopyShown: {
        QApplication::setApplicationName(QStringLiteral(u"二重起動"));
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral(u"二重起動"),
                        QStringLiteral(u"既に起動中です\nこのプログラムの二重起動はできません"),
                        QMessageBox::Ok);
        box.exec();
        return 0;
    }
    case SingleInstance::Outcome::Failed:
        QMessageBox(QMessageBox::NoIcon, QStringLiteral(u"ハヤテウチ"),
                    QStringLiteral(u"プログラムを起動できません"), QMessageBox::Ok)
            .exec();
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral(u"ハヤテウチ"));

    TForm1::Options options;
    // The data files sit in one folder for the run; relative names (the
    // problem file) resolve there, as beside the program on Windows.
    options.executablePath = QCoreApplication::applicationFilePath().toStdString();
    options.dataFolder = hayate::chooseDataFolder(options.executablePath);
    QDir::setCurrent(QString::fromStdString(options.dataFolder.string()));
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && args[1].startsWith('[')) options.titleOverride = args[1].mid(1, args[1].size() - 2);
    TForm1 form(options);
    guard.setRaiseHandler([&form] {
        if (form.isMinimized()) form.showNormal();
        form.raise();
        form.activateWindow();
        return form.windowTitle();
    });
    form.show();
    return app.exec();
}
