// SBar1: the seven panels of the status bar, the badge of the extended romaji
// mode inside the date panel, and notices that cover the panels for a while.
#pragma once

#include <QStatusBar>
#include <array>

#include "app/layout.h"

class QLabel;

namespace hayate::gui {

class StatusBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit StatusBar(QWidget* parent);
    // Into the bar once they have their font: every insertion measures every
    // panel again.
    void addPanels();

    QString panelText(int panel) const;
    void setPanel(int panel, const QString& text);
    // The panels of the settings as they stand.
    void showLetterCase(int letterCase);
    void showCursorColour(int cursorColour);
    void showToday(const QString& yyyymmdd);
    void showVersion();

    // The badge of a chosen input mode that is not the default ("ローマ字 拡張",
    // "かな入力"); an empty text hides it. True when the badge changed: the
    // panels are then to be fitted again.
    bool setModeBadge(const QString& text);
    // Measured only while it shows.
    void sizeRomajiBadge();

    void applyLayout(const WindowLayout& layout);
    void fitPanels(const WindowLayout& layout);

  private:
    QString romajiBadge() const;  // empty while hidden

    std::array<QLabel*, 7> panels_{};
    QLabel* romaji_ = nullptr;
};

}  // namespace hayate::gui
