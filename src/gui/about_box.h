// TAboutBox: version and the computer's physical memory.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace hayate::gui {

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* mainWindow);

    // Disables the main window and shows the box, not modal.
    void open() override;
    QString lineText(int line) const;  // 1..3

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void OKButtonClick();
    void fillMemoryLines();

    QWidget* mainWindow_;
    QLabel* lines_[3];
    QPushButton* ok_;
};

}  // namespace hayate::gui
