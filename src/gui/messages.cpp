#include "gui/messages.h"

#include <QMessageBox>
#include <QPushButton>

#include "gui/sjis_qt.h"

namespace hayate::gui {

namespace {

// The program's messages carry CR LF line breaks; Qt breaks lines on LF alone.
QString display(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

void showAt(QWidget* window, QMessageBox::Icon icon, const QString& text, QPoint at) {
    QMessageBox box(icon, window->windowTitle(), display(text), QMessageBox::Ok, window);
    box.adjustSize();
    box.move(at);
    box.exec();
}

}  // namespace

void Messages::information(const QString& text) const {
    showAt(window_, QMessageBox::Information, text, at_);
}

void Messages::error(const QString& text) const {
    showAt(window_, QMessageBox::Critical, text, at_);
}

bool Messages::ask(const QString& text, bool atMessagePosition) const {
    QMessageBox box(QMessageBox::Information, window_->windowTitle(), display(text),
                    QMessageBox::Yes | QMessageBox::No, window_);
    box.setObjectName("Question");
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(qtText(UserText::QuestionYes));
    box.button(QMessageBox::No)->setText(qtText(UserText::QuestionNo));
    box.adjustSize();
    if (atMessagePosition) box.move(at_);
    return box.exec() != QMessageBox::No;
}

}  // namespace hayate::gui
