// TOKDlg: the result of an exercise, confirmed with "はい".
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace hayate::gui {

class TOKDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TOKDlg(QWidget* mainWindow);

    // Shows the two lines, disables the main window and processes events
    // until "はい" (or a close through the frame, which counts the same);
    // then the main window is enabled again.
    void showAndWait(const QString& line1, const QColor& line1Colour, const QString& line2);

    bool waiting() const { return waiting_; }
    QPushButton* yesButton() const { return yes_; }

  public slots:
    void reject() override;  // Esc is "いいえ": nothing happens

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BYesClick();
    void confirm();

    QWidget* mainWindow_;
    QLabel* l1_;
    QLabel* l2_;
    QPushButton* yes_;
    QPushButton* no_;
    bool waiting_ = false;
    int confirmedFlag_ = 0;
};

}  // namespace hayate::gui
