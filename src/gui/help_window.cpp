#include "gui/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/help_location.h"
#include "gui/sjis_qt.h"

namespace hayate::gui {

namespace {

constexpr auto kContents = "index.html";
constexpr auto kKeywords = "keywords.html";

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      folder_(helpFolderPath()),
      browser_(new QTextBrowser),
      search_(new QLineEdit),
      keywords_(new QListWidget) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral(u"ハヤテウチ ヘルプ"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setSearchPaths({folder_});
    browser_->setOpenExternalLinks(true);  // only the home page leaves the help
    search_->setObjectName(QStringLiteral("HelpSearch"));
    search_->setPlaceholderText(QStringLiteral(u"キーワードを入力"));
    search_->setClearButtonEnabled(true);
    keywords_->setObjectName(QStringLiteral("HelpKeywords"));

    auto* contents = new QPushButton(QStringLiteral(u"目次"));
    contents->setObjectName(QStringLiteral("HelpContentsButton"));
    auto* back = new QPushButton(QStringLiteral(u"戻る"));
    back->setObjectName(QStringLiteral("HelpBack"));
    auto* forward = new QPushButton(QStringLiteral(u"進む"));
    forward->setObjectName(QStringLiteral("HelpForward"));
    auto* close = new QPushButton(QStringLiteral(u"閉じる"));
    close->setObjectName(QStringLiteral("HelpClose"));
    back->setEnabled(false);
    forward->setEnabled(false);
    for (QPushButton* b : {contents, back, forward, close}) b->setAutoDefault(false);
    connect(contents, &QPushButton::clicked, this, [this] { showPage(QLatin1String(kContents)); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

    connect(search_, &QLineEdit::textChanged, this, &HelpWindow::filterKeywords);
    connect(search_, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < keywords_->count(); ++i) {
            if (!keywords_->item(i)->isHidden()) {
                openKeyword(keywords_->item(i));
                return;
            }
        }
    });
    connect(keywords_, &QListWidget::itemActivated, this, &HelpWindow::openKeyword);
    connect(keywords_, &QListWidget::itemClicked, this, &HelpWindow::openKeyword);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {contents, back, forward}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* index = new QWidget;
    auto* indexLayout = new QVBoxLayout(index);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral(u"キーワード"));
    caption->setBuddy(search_);
    indexLayout->addWidget(caption);
    indexLayout->addWidget(search_);
    indexLayout->addWidget(keywords_, 1);

    auto* splitter = new QSplitter;
    splitter->addWidget(index);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    fillKeywords();
    // Large enough for the pages, never larger than the screen.
    QSize size(900, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
    splitter->setSizes({size.width() / 4, size.width() * 3 / 4});
}

void HelpWindow::showContents() {
    showPage(QLatin1String(kContents));
    bringUp();
    browser_->setFocus();
}

void HelpWindow::showKeywordIndex() {
    showPage(QLatin1String(kKeywords));
    bringUp();
    search_->clear();
    search_->setFocus();
}

void HelpWindow::showPage(const QString& page) {
    if (!QFileInfo::exists(folder_ + QLatin1Char('/') + page)) {
        browser_->setHtml(QStringLiteral("<p>") + qtText(UserText::HelpFileMissing) +
                          QStringLiteral("</p>"));
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(folder_ + QLatin1Char('/') + page));
}

void HelpWindow::fillKeywords() {
    QFile file(folder_ + QLatin1Char('/') + QLatin1String(kKeywords));
    if (folder_.isEmpty() || !file.open(QIODevice::ReadOnly)) return;
    const QString html = QString::fromUtf8(file.readAll());
    // One keyword per table row: the keyword, then the link to its topic.
    static const QRegularExpression row(
        QStringLiteral(R"re(<tr>\s*<td>([^<]+)</td>\s*<td>\s*<a href="([^"]+)")re"));
    for (auto it = row.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        auto* item = new QListWidgetItem(m.captured(1).trimmed(), keywords_);
        item->setData(Qt::UserRole, m.captured(2));
    }
}

void HelpWindow::filterKeywords(const QString& text) {
    const QString wanted = text.trimmed();
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < keywords_->count(); ++i) {
        QListWidgetItem* item = keywords_->item(i);
        const bool shown = wanted.isEmpty() || item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first) first = item;
    }
    if (first) keywords_->setCurrentItem(first);
}

void HelpWindow::openKeyword(QListWidgetItem* item) {
    if (!item || folder_.isEmpty()) return;
    const QUrl target(item->data(Qt::UserRole).toString());
    QUrl page = QUrl::fromLocalFile(folder_ + QLatin1Char('/') + target.path());
    page.setFragment(target.fragment());
    browser_->setSource(page);
}

void HelpWindow::bringUp() {
    show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

}  // namespace hayate::gui
