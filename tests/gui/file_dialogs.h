// Answers for the file-open dialogs and the input box of the problem file
// commands, given once the dialog is open, as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <memory>

namespace hayate::gui::test {

// Polls until a visible top-level dialog of type T shows up, then runs `act`.
template <class T>
void whenOpen(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [=] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<T*>(w); d && d->isVisible()) {
                timer->deleteLater();
                act(d);
                return;
            }
        }
        if (++*tries > 1000) {
            ADD_FAILURE() << "no dialog";
            timer->deleteLater();
        }
    });
    timer->start();
}

// Chooses `path` in the next file-open dialog, or cancels it when `path` is
// empty. `seen` gets the dialog's object name, folder and name filters.
// `texts` holds every label and button text it showed, and `columnsFit`
// whether all of its detail columns lie within the view.
struct FileDialogSeen {
    QString name;
    QString folder;
    QStringList filters;
    QStringList texts;
    bool columnsFit = false;
};
inline void answerFileDialog(const QString& path, FileDialogSeen* seen = nullptr) {
    whenOpen<QFileDialog>([=](QFileDialog* d) {
        if (seen) {
            *seen = {d->objectName(), d->directory().absolutePath(), d->nameFilters(), {}, false};
            for (QLabel* l : d->findChildren<QLabel*>()) seen->texts << l->text();
            for (QAbstractButton* b : d->findChildren<QAbstractButton*>()) seen->texts << b->text();
            if (auto* view = d->findChild<QTreeView*>(QStringLiteral("treeView"))) {
                const QHeaderView* h = view->header();
                const int last = h->logicalIndex(h->count() - 1);
                seen->columnsFit = h->count() >= 4 && h->sectionSize(1) >= h->sectionSizeHint(1) &&
                                   h->sectionViewportPosition(last) + h->sectionSize(last) <=
                                       view->viewport()->width();
            }
        }
        if (path.isEmpty()) {
            d->reject();
            return;
        }
        d->selectFile(path);
        QMetaObject::invokeMethod(d, "accept");
    });
}

// Types `text` into the next input box and presses OK, or cancels it when
// `cancel` is set. `caption` and `prompt` get what the box showed.
inline void answerInputBox(const QString& text, bool cancel = false, QString* caption = nullptr,
                           QString* prompt = nullptr) {
    whenOpen<QInputDialog>([=](QInputDialog* d) {
        if (caption) *caption = d->windowTitle();
        if (prompt) *prompt = d->labelText();
        if (cancel) {
            d->reject();
            return;
        }
        d->setTextValue(text);
        d->accept();
    });
}

}  // namespace hayate::gui::test
