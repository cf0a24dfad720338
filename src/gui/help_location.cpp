#include "gui/help_location.h"

#include <QCoreApplication>
#include <filesystem>

#include "platform/install_layout.h"

namespace hayate::gui {

QString helpFolderPath() {
    const std::filesystem::path executable = QCoreApplication::applicationFilePath().toStdString();
    return QString::fromStdString(helpFolder(executable).string());
}

}  // namespace hayate::gui
