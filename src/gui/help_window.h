// The program's own help viewer: the bundled help pages in a browser of their
// own, with the keyword index beside them, so that help works on a desktop
// without a web browser.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;

namespace hayate::gui {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // ヘルプ › ﾊﾔﾃｳﾁとは: the contents page.
    void showContents();
    // ヘルプ › ｷｰﾜｰﾄﾞで検索: the keyword index, ready for a keyword.
    void showKeywordIndex();

    QTextBrowser* browser() const { return browser_; }

  private:
    void showPage(const QString& page);
    void fillKeywords();
    void filterKeywords(const QString& text);
    void openKeyword(QListWidgetItem* item);
    void bringUp();

    QString folder_;
    QTextBrowser* browser_;
    QLineEdit* search_;
    QListWidget* keywords_;
};

}  // namespace hayate::gui
