// The program's own message boxes, at the message position of the layout.
#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace hayate::gui {

class Messages {
  public:
    explicit Messages(QWidget* window) : window_(window) {}
    void setPosition(QPoint at) { at_ = at; }
    QPoint position() const { return at_; }

    void information(const QString& text) const;
    void error(const QString& text) const;
    // はい / いいえ; anything but いいえ goes on. Centred unless at the message position.
    bool ask(const QString& text, bool atMessagePosition) const;

  private:
    QWidget* window_;
    QPoint at_{400, 300};
};

}  // namespace hayate::gui
