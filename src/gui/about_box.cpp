#include "gui/about_box.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/faces.h"
#include "gui/main_window.h"
#include "gui/sjis_qt.h"
#include "platform/memory.h"
#include "platform/version.h"

namespace hayate::gui {

TAboutBox::TAboutBox(QWidget* mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
    setObjectName("AboutBox");
    setWindowTitle(QStringLiteral(u"ﾊﾞｰｼﾞｮﾝ情報"));
    setModal(false);

    auto* icon = new QLabel(this);
    icon->setObjectName("ProgramIcon");
    icon->setPixmap(programIcon().pixmap(48, 48));
    auto* product = new QLabel(qtText(UserText::WindowTitle), this);
    product->setObjectName("ProductName");
    QFont big = face(Face::PGothic);
    big.setPixelSize(22);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(
        QStringLiteral("Version ") +
            QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())),
        this);
    version->setObjectName("Version");

    QFont mono = face(Face::Gothic);
    mono.setPixelSize(16);
    mono.setStyleHint(QFont::Monospace);
    auto* box = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        lines_[i] = new QLabel(this);
        lines_[i]->setObjectName(QStringLiteral("L%1").arg(i + 1));
        lines_[i]->setFont(mono);
        box->addWidget(lines_[i]);
    }
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName("OKButton");
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { OKButtonClick(); });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 16, 20, 14);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(product, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addLayout(box, 2, 0, 1, 2);
    grid->addWidget(ok_, 3, 0, 1, 2, Qt::AlignHCenter);
    fillMemoryLines();
    lines_[0]->setText(lines_[0]->text() + QStringLiteral("      "));  // room for larger figures
    setFixedSize(sizeHint());
}

void TAboutBox::open() {
    if (mainWindow_) mainWindow_->setEnabled(false);
    if (QScreen* s = mainWindow_ ? mainWindow_->screen() : screen()) {
        move(s->geometry().center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
    ok_->setFocus(Qt::OtherFocusReason);
}

QString TAboutBox::lineText(int line) const { return lines_[line - 1]->text(); }

void TAboutBox::fillMemoryLines() {
    const MemoryFigures f = memoryFigures(physicalMemoryStatus());
    auto number = [](std::uint64_t v) { return QString::fromStdString(groupDigits(v)); };
    lines_[0]->setText(qtText(UserText::MemoryTotalLine).arg(number(f.totalKb), 10));
    lines_[1]->setText(qtText(UserText::MemoryAvailableLine).arg(number(f.availableKb), 10));
    lines_[2]->setText(qtText(UserText::MemoryLoadLine).arg(number(f.loadPercent), 10));
}

void TAboutBox::showEvent(QShowEvent* event) {
    fillMemoryLines();
    QDialog::showEvent(event);
}

void TAboutBox::OKButtonClick() {
    hide();
    if (mainWindow_) mainWindow_->setEnabled(true);
}

void TAboutBox::reject() { OKButtonClick(); }

void TAboutBox::closeEvent(QCloseEvent* event) {
    OKButtonClick();
    event->accept();
}

}  // namespace hayate::gui
