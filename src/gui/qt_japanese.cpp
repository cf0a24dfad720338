#include "gui/qt_japanese.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QTreeView>

namespace hayate::gui {

bool installQtJapanese() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    // Japanese whatever the system's language: every other text of the program is.
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void fitFileDialog(QFileDialog& dialog) {
    QSize size(820, 520);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    dialog.resize(size);
    // The detail view: the name takes what the other columns leave, and they
    // are as wide as their contents (Japanese headers are wider than English).
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setMinimumSectionSize(60);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int i = 1; i < header->count(); ++i)
            header->setSectionResizeMode(i, QHeaderView::ResizeToContents);
    }
}

}  // namespace hayate::gui
