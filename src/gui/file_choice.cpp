#include "gui/file_choice.h"

#include <QFileDialog>
#include <QStringList>

#include "gui/qt_japanese.h"

namespace hayate::gui {

QString qtNameFilter(std::string_view filter) {
    const QStringList parts =
        QString::fromLatin1(filter.data(), static_cast<qsizetype>(filter.size()))
            .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& pattern = parts[i + 1];
        QString patterns = pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern;
        if (pattern != pattern.toLower() && pattern != QStringLiteral("*.*"))
            patterns += QLatin1Char(' ') + pattern.toLower();
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QString chooseFile(QWidget* parent, const char* name, std::string_view filter,
                   const std::filesystem::path& folder) {
    QFileDialog dialog(parent, QString(), QString::fromStdString(folder.string()),
                       qtNameFilter(filter));
    dialog.setObjectName(QLatin1String(name));
    // Qt's own dialog: the same on every desktop, and reachable by tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    fitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace hayate::gui
