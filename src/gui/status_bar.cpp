#include "gui/status_bar.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

#include "app/screen_fit.h"
#include "exercise/exercise_stats.h"
#include "gui/caption_fit.h"
#include "gui/faces.h"
#include "gui/sjis_qt.h"
#include "platform/version.h"

namespace hayate::gui {

namespace {

QString letterCaseText(int letterCase) {
    return qtText(letterCase == 1 ? UserText::LowerCase : UserText::UpperCase);
}

QString cursorColourText(int cursorColour) {
    return qtText(cursorColour == 1 ? UserText::CursorNoneStatus : UserText::CursorYellowStatus);
}

QString versionText() {
    return QStringLiteral("Ver.") +
           QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())) +
           QStringLiteral("  ");
}

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName("SBar1");
    setSizeGripEnabled(false);
    for (int i = 0; i < 7; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("SBar1Panel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAutoFillBackground(true);
        panel->setTextFormat(Qt::PlainText);
        panel->setAlignment((i >= 5 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        panel->setFont(face(Face::Gothic));
        panels_[static_cast<std::size_t>(i)] = panel;
    }
    panels_[0]->setText(QStringLiteral("  1 :  1 "));

    // Only a mode other than the default shows itself, at the left end of the date panel
    // (its text keeps to the right), so that no panel loses width.
    romaji_ = new QLabel(qtText(UserText::ExtendedRomajiBadge), panels_[5]);
    romaji_->setObjectName("SBar1Roma");
    romaji_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    romaji_->setTextFormat(Qt::PlainText);
    romaji_->setAlignment(Qt::AlignCenter);
    romaji_->hide();
    auto* row = new QHBoxLayout(panels_[5]);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(romaji_);
    row->addStretch(1);
}

void StatusBar::addPanels() {
    for (std::size_t i = 0; i < panels_.size(); ++i) addWidget(panels_[i], i == 5 ? 1 : 0);
}

QString StatusBar::panelText(int panel) const {
    return panels_.at(static_cast<std::size_t>(panel))->text();
}

void StatusBar::setPanel(int panel, const QString& text) {
    QLabel* l = panels_.at(static_cast<std::size_t>(panel));
    if (l->text() != text) l->setText(text);
}

void StatusBar::showLetterCase(int letterCase) { setPanel(3, letterCaseText(letterCase)); }

void StatusBar::showCursorColour(int cursorColour) { setPanel(4, cursorColourText(cursorColour)); }

void StatusBar::showToday(const QString& date) {
    setPanel(5, qtText(UserText::TodayStatus)
                    .arg(date.left(date.size() - 4), date.mid(date.size() - 4, 2), date.right(2)));
}

void StatusBar::showVersion() { setPanel(6, versionText()); }

bool StatusBar::setModeBadge(const QString& text) {
    const bool shown = !text.isEmpty();
    const bool wasShown = romaji_->isVisibleTo(panels_[5]);
    if (shown == wasShown && (!shown || text == romaji_->text())) return false;
    if (shown) romaji_->setText(text);
    romaji_->setVisible(shown);
    return true;
}

void StatusBar::sizeRomajiBadge() {
    romaji_->setFont(panels_[5]->font());
    romaji_->setFixedWidth(QFontMetrics(romaji_->font()).horizontalAdvance(romaji_->text()) +
                           kBadgePadding);
}

QString StatusBar::romajiBadge() const {
    return romaji_->isVisibleTo(panels_[5]) ? romaji_->text() : QString();
}

void StatusBar::applyLayout(const WindowLayout& L) {
    setFixedHeight(L.statusBarHeight);
    QFont font = face(Face::Gothic);
    font.setPixelSize(std::clamp(L.statusBarHeight - 6, 11, pointsToPixels(10)));
    for (QLabel* panel : panels_) panel->setFont(font);
}

void StatusBar::fitPanels(const WindowLayout& L) {
    std::vector<QLabel*> panels(panels_.begin(), panels_.end());
    fitStatusPanels(this, L.client.width, panels,
                    std::vector<int>(L.statusPanelWidths.begin(), L.statusPanelWidths.end()),
                    {QStringLiteral("888 : 888 "), toQt(timeLimitStatusText(2)),
                     toQt(spacingStatusText(0)), letterCaseText(0), cursorColourText(0),
                     qtText(UserText::TodayStatus)
                         .arg(QStringLiteral("8888"), QStringLiteral("88"), QStringLiteral("88")),
                     versionText()},
                    5, {{}, {}, {}, {}, {}, romajiBadge()});
}

}  // namespace hayate::gui
