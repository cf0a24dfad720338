#include "gui/ok_dialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/faces.h"

namespace hayate::gui {

TOKDlg::TOKDlg(QWidget* mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
    setObjectName("OKDlg");
    setWindowTitle(QStringLiteral(u"情報"));
    setModal(false);
    QFont f = face(Face::PGothic);
    f.setPixelSize(16);
    setFont(f);

    l1_ = new QLabel(this);
    l1_->setObjectName("L1");
    l2_ = new QLabel(this);
    l2_->setObjectName("L2");
    for (QLabel* l : {l1_, l2_}) {
        l->setAlignment(Qt::AlignCenter);
        l->setFont(f);
        l->setMinimumWidth(220);
    }
    yes_ = new QPushButton(QStringLiteral(u"はい"), this);
    yes_->setObjectName("OKBtn");
    no_ = new QPushButton(QStringLiteral(u"いいえ"), this);
    no_->setObjectName("CancelBtn");
    yes_->setDefault(true);
    yes_->setAutoDefault(true);
    no_->setAutoDefault(false);
    yes_->installEventFilter(this);
    no_->installEventFilter(this);
    connect(yes_, &QPushButton::clicked, this, [this] { BYesClick(); });
    // "いいえ" has no action: the dialog stays and waits.

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 18, 24, 14);
    column->setSpacing(10);
    column->addWidget(l1_);
    column->addWidget(l2_);
    column->addSpacing(6);
    column->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TOKDlg::showAndWait(const QString& line1, const QColor& line1Colour, const QString& line2) {
    l1_->setText(line1);
    QPalette p = l1_->palette();
    p.setColor(QPalette::WindowText, line1Colour);
    l1_->setPalette(p);
    l2_->setText(line2);
    confirmedFlag_ = 0;
    QPointer<QWidget> main = mainWindow_;
    if (main) main->setEnabled(false);
    if (QScreen* s = (main ? main->screen() : screen())) {
        const QRect area = s->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
    yes_->setFocus(Qt::OtherFocusReason);
    waiting_ = true;
    QEventLoop loop;
    while (confirmedFlag_ == 0) loop.processEvents(QEventLoop::WaitForMoreEvents);
    waiting_ = false;
    if (main) main->setEnabled(true);
}

void TOKDlg::BYesClick() { confirm(); }

void TOKDlg::confirm() {
    hide();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->activateWindow();
    }
    confirmedFlag_ = 1;
}

void TOKDlg::reject() {}

void TOKDlg::closeEvent(QCloseEvent* event) {
    // Through the frame or Alt+F4: the result stays, as with "はい".
    confirm();
    event->accept();
}

bool TOKDlg::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        return true;  // Space never confirms
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace hayate::gui
