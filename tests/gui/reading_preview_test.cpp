#include "gui/reading_preview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include "support/sjis_test_support.h"

namespace hayate::gui {
namespace {

using test::sj;

ReadingWord word(const std::string& surface, const std::string& reading,
                 WordReading kind = WordReading::Read) {
    return {sj(surface), sj(reading), kind};
}

// Knows two words; everything else comes back as one word, as written.
class FakeSource : public ReadingSource {
  public:
    std::vector<ReadingWord> wordsOfLine(std::string_view line) override {
        if (line == "今日は晴れ") return {word("今日", "きょう"), word("は", "は", WordReading::AsWritten),
                                          word("晴れ", "はれ")};
        return {word(std::string(line), std::string(line), WordReading::Unknown)};
    }
};

ReadingService fakeService() {
    return ReadingService([] { return OpenedReadingSource{std::make_unique<FakeSource>(), {}}; });
}

std::string joined(const std::vector<std::string>& characters) {
    std::string all;
    for (const std::string& ch : characters) all += ch;
    return test::utf8(all);
}

// Japanese arrives as the input method's committed text.
void typeJapanese(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

// Types `text` over the reading of `row`, as a user does: F2, the new text, Enter.
void retype(QTableWidget* table, int row, const QString& text) {
    QWidget* window = table->window();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    table->setFocus();
    table->setCurrentCell(row, ReadingPreviewDialog::kReadingColumn);
    QTest::keyClick(table, Qt::Key_F2);
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    typeJapanese(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents();  // the view commits the edit from its event queue
    EXPECT_EQ(table->item(row, ReadingPreviewDialog::kReadingColumn)->text(), text);
}

TEST(ReadingPreview, ShowsWordsSideBySideAndReturnsTheCorrections) {
    ReadingPreviewDialog dialog(
        {{word("今日", "きょう"), word(" ", " ", WordReading::AsWritten), word("東京", "とうきょう")},
         {word("鬱", "鬱", WordReading::Unknown)}});
    dialog.show();
    QTableWidget* table = dialog.table();
    ASSERT_EQ(table->rowCount(), 3);  // the space has no row
    EXPECT_EQ(table->item(1, ReadingPreviewDialog::kSurfaceColumn)->text(), QStringLiteral(u"東京"));
    EXPECT_EQ(table->item(1, ReadingPreviewDialog::kReadingColumn)->text(), QStringLiteral(u"とうきょう"));
    EXPECT_NE(table->item(2, 1)->background(), table->item(0, 1)->background());
    EXPECT_FALSE(table->item(0, ReadingPreviewDialog::kSurfaceColumn)->flags() & Qt::ItemIsEditable);

    retype(table, 0, QStringLiteral(u"コンニチ"));  // katakana count as hiragana
    retype(table, 2, QStringLiteral(u"うつ"));
    const ReadingLines lines = dialog.confirmedLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(test::utf8(lines[0][0].reading), "こんにち");
    EXPECT_EQ(lines[0][1].reading, " ");
    EXPECT_EQ(test::utf8(lines[0][2].reading), "とうきょう");
    EXPECT_EQ(test::utf8(lines[1][0].reading), "うつ");
    EXPECT_EQ(lines[1][0].surface, sj("鬱"));
}

TEST(ReadingPreview, TheRomajiKindWithKanjiGoesThroughThePreview) {
    const CharTables tables = buildCharTables();
    ReadingService readings = fakeService();
    int previews = 0;
    const auto run = [&](int kind, const std::string& text, bool accept) {
        return runReadingImport(nullptr, readings, tables, kind, text, [&](ReadingPreviewDialog& d) {
            ++previews;
            if (accept) retype(d.table(), 2, QStringLiteral(u"ばれ"));
            return accept;
        });
    };
    const ReadingImportRun filled = run(1, "今日は晴れ", true);
    EXPECT_EQ(filled.result, ReadingImportRun::Result::Filled);
    EXPECT_EQ(joined(filled.characters), "きょうはばれ");
    EXPECT_TRUE(filled.notice.isEmpty());
    EXPECT_EQ(run(1, "今日は晴れ", false).result, ReadingImportRun::Result::Cancelled);
    EXPECT_EQ(previews, 2);
    // Other kinds, kana only, and no text at all take the plain import.
    for (const auto& [kind, text] : std::vector<std::pair<int, std::string>>{
             {0, "今日は晴れ"}, {1, "きょうは"}, {1, ""}, {1, std::string("\0\1\2\3", 4)}})
        EXPECT_EQ(run(kind, text, true).result, ReadingImportRun::Result::Plain) << kind;
    EXPECT_EQ(previews, 2);
}

TEST(ReadingPreview, WithoutASourceThePlainImportGoesOnAndSaysWhyOnce) {
    const CharTables tables = buildCharTables();
    ReadingService readings([] { return OpenedReadingSource{nullptr, "no dictionary here"}; });
    const ReadingImportRun kanaOnly = runReadingImport(nullptr, readings, tables, 1, "かな");
    EXPECT_TRUE(kanaOnly.notice.isEmpty());  // nothing was left out
    const ReadingImportRun first = runReadingImport(nullptr, readings, tables, 1, "漢字");
    EXPECT_EQ(first.result, ReadingImportRun::Result::Plain);
    EXPECT_TRUE(first.notice.contains(QStringLiteral("no dictionary here")));
    EXPECT_TRUE(runReadingImport(nullptr, readings, tables, 1, "漢字").notice.isEmpty());
}

TEST(ReadingPreview, PastedTextComesBackAsUtf8) {
    TextPasteDialog dialog;
    dialog.show();
    typeJapanese(dialog.editor(), QStringLiteral(u"今日は晴れ"));
    QTest::keyClick(dialog.editor(), Qt::Key_Return);
    QTest::keyClicks(dialog.editor(), QStringLiteral(u"abc"));
    EXPECT_EQ(dialog.utf8Text(), "今日は晴れ\nabc");
}

}  // namespace
}  // namespace hayate::gui
