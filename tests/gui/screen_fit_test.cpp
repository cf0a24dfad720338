// The window on the screens people own: inside the screen, captions and
// glyphs whole, nothing over anything else; and laid out again when its
// screen changes.
#include <QAbstractButton>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QGroupBox>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <set>

#include "form_fixture.h"
#include "gui/cell_font.h"

namespace hayate::gui::test {
namespace {

using ScreenFit = FormTest;

bool isInk(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 150; }

// Ink on a cell's top, bottom or right edge means the glyph runs past the
// cell and is cut there. Text starts at the left edge by design, and at the
// top edge where the raised lower-case text has no offset left.
QString cutEdges(const QImage& image, const QRect& r, bool atTop) {
    QString cut;
    for (int x = r.left(); x <= r.right(); ++x) {
        if (!atTop && isInk(image, x, r.top()) && !cut.contains(u'T')) cut += u'T';
        if (isInk(image, x, r.bottom()) && !cut.contains(u'B')) cut += u'B';
    }
    for (int y = r.top(); y <= r.bottom(); ++y)
        if (isInk(image, r.right(), y) && !cut.contains(u'R')) cut += u'R';
    return cut;
}

// What a control shows must fit it, by Qt's own measure of its font.
int textWidth(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) {
        if (!l->wordWrap()) return l->fontMetrics().horizontalAdvance(l->text());
        // Wrapped text must fit in height too: whatever does not is cut.
        const QRect r = l->fontMetrics().boundingRect(l->contentsRect(), Qt::TextWordWrap, l->text());
        return r.height() <= l->contentsRect().height() ? r.width() : 1 << 20;
    }
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->fontMetrics().horizontalAdvance(c->currentText()) + 16;  // and the arrow
    if (auto* b = qobject_cast<const QPushButton*>(w))
        return b->fontMetrics().horizontalAdvance(b->text()) + 6;
    return w->minimumSizeHint().width();  // radio buttons and groups
}
int roomFor(const QWidget* w) {
    if (qobject_cast<const QLabel*>(w)) return w->contentsRect().width();
    return w->width();
}

void expectWholeAndApart(QWidget* parent, const QString& where) {
    const QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::vector<QWidget*> shown;
    for (QWidget* w : children) {
        // The best-record frame lies behind its labels by design.
        if (!w->isVisible() || w->objectName() == QStringLiteral("Panel2") ||
            w->objectName().isEmpty() || qobject_cast<QMenuBar*>(w))
            continue;
        shown.push_back(w);
        const QString name = where + QLatin1Char(' ') + w->objectName();
        EXPECT_TRUE(parent->rect().contains(w->geometry())) << name.toStdString();
        if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
            qobject_cast<QGroupBox*>(w) || qobject_cast<QComboBox*>(w)) {
            EXPECT_LE(textWidth(w), roomFor(w)) << name.toStdString();
            EXPECT_LE(w->fontMetrics().height(), w->height()) << name.toStdString();
        }
        if (qobject_cast<QGroupBox*>(w)) expectWholeAndApart(w, name);
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << (where + QLatin1Char(' ') + shown[i]->objectName() + QLatin1Char('/') +
                    shown[j]->objectName())
                       .toStdString();
}

TEST_F(ScreenFit, EveryScreenShowsTheWholeWindow) {
    const QSize screens[] = {{800, 600},   {1024, 600},  {1024, 768},  {1280, 720},
                             {1280, 800},  {1280, 1024}, {1366, 768},  {1440, 900},
                             {1536, 864},  {1600, 900},  {1600, 1200}, {1920, 1080},
                             {1920, 1200}, {2560, 1440}, {3840, 2160}};
    // The tallest and widest glyphs of the courses, each course's font.
    const QStringList letters =
        QString::fromUtf16(u"ＱｇｊＷ＿￥｜（＠").split(QString(), Qt::SkipEmptyParts);
    const QStringList kana = QString::fromUtf16(u"ぼぎょぽゅ「ーふ").split(QString(), Qt::SkipEmptyParts);
    std::set<std::pair<int, int>> seen;
    for (const QSize& s : screens) {
        for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
            const int w = static_cast<int>(s.width() / ratio + 0.5);
            const int h = static_cast<int>(s.height() / ratio + 0.5);
            if (w < 800 || h < 600 || !seen.insert({w, h}).second) continue;
            const QString where = QStringLiteral("%1x%2").arg(w).arg(h);
            SCOPED_TRACE(where.toStdString());
            open(w, h, false);
            QCoreApplication::processEvents();
            EXPECT_TRUE(QRect(0, 0, w, h).contains(form->frameGeometry()));
            expectWholeAndApart(form->centralWidget(), where);
            expectWholeAndApart(find("Panel1"), where);
            expectWholeAndApart(find("Panel3"), where);
            // And with the extended romaji badge beside the date.
            for (const char* mode : {"RomaKakucho", "RomaHyojun"}) {
                form->findChild<QAction*>(mode)->trigger();
                QCoreApplication::processEvents();
                for (int i = 0; i < 7; ++i) {
                    auto* panel = find<QLabel>(QStringLiteral("SBar1Panel%1").arg(i).toLatin1());
                    auto* badge = panel->findChild<QLabel*>("SBar1Roma");
                    const int beside = badge && badge->isVisible() ? badge->width() : 0;
                    EXPECT_LE(textWidth(panel) + beside, roomFor(panel)) << i << mode;
                    EXPECT_LE(panel->geometry().right(), find("SBar1")->width()) << i << mode;
                }
            }
            // The analysis screen inside the screen's free area.
            form->findChild<QAction*>("SeiBun")->trigger();
            auto* analysis = form->findChild<QDialog*>("TAnalysis");
            ASSERT_NE(analysis, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(analysis));
            EXPECT_TRUE(QRect(0, 0, w, h).contains(analysis->frameGeometry()));
            expectWholeAndApart(analysis, where + QStringLiteral(" analysis"));
            analysis->close();
            form->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
            GridWidget* grid = sg1();
            int columns = 0;
            for (int c = 0; c <= 40; ++c) columns += grid->columnWidth(c);
            EXPECT_LE(columns, grid->viewport()->width());
            // Letters in the upper and lower case, kana in the romaji course.
            for (int pass = 0; pass < 3; ++pass) {
                if (pass == 1) find<QAbstractButton>("RG4_1")->click();
                if (pass == 2) {
                    auto* courses = find<QComboBox>("Comb1");
                    courses->setCurrentIndex(3);
                    emit courses->activated(3);
                }
                const QStringList& texts = pass == 2 ? kana : letters;
                for (int i = 0; i < texts.size(); ++i) {
                    grid->setCellText(i + 1, 1, texts[i]);
                    grid->setCellText(40 - i, 12, texts[i]);
                }
                const QImage image = grid->viewport()->grab().toImage();
                for (int i = 0; i < texts.size(); ++i) {
                    for (QRect r : {grid->cellRect(i + 1, 1), grid->cellRect(40 - i, 12)}) {
                        ASSERT_FALSE(r.isEmpty()) << i;
                        const bool atTop = pass == 1 && form->layout().textOffset1 <= 2;
                        EXPECT_EQ(cutEdges(image, r, atTop).toStdString(), "")
                            << texts[i].toStdString() << " pass " << pass;
                    }
                }
                // Below the last whole row nothing is drawn.
                int bottom = 0;
                for (int r = 1; r <= 50 && !grid->cellRect(1, r).isEmpty(); ++r)
                    bottom = grid->cellRect(1, r).bottom();
                for (int y = bottom + 1; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        ASSERT_FALSE(isInk(image, x, y)) << x << "," << y;
            }
            find<QAbstractButton>("RG4_0")->click();
            // The editor's controls and its longest key hint.
            form->findChild<QAction*>("MonSaku")->trigger();
            find("EMname")->setFocus();
            QCoreApplication::processEvents();
            EXPECT_FALSE(text("LMsg").isEmpty());
            expectWholeAndApart(find("Panel1"), where + QStringLiteral(" editor"));
        }
    }
    EXPECT_GE(seen.size(), 30u);
}

TEST_F(ScreenFit, ConfusableCharactersLookDifferentInTheCellAndButtonFonts) {
    auto render = [](const QFont& font, const QString& text) {
        QImage image(32, 36, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(0, QFontMetrics(font).ascent(), text);
        return image;
    };
    struct Case {
        QFont font;
        const char16_t* a;
        const char16_t* b;
        int least;  // pixels that must differ
    };
    const QFont cell = cellFont(25, false);
    // The buttons' face, as "F1終了" shows it.
    const QFont button = find("BStart")->font();
    const Case cases[] = {
        {cell, u"Ｉ", u"ｌ", 12}, {cell, u"Ｉ", u"｜", 12}, {cell, u"ｌ", u"｜", 12},
        {cell, u"Ｉ", u"１", 12}, {cell, u"ｌ", u"１", 12}, {cell, u"｜", u"１", 12},
        {cell, u"Ｏ", u"０", 12}, {cell, u"ー", u"－", 12}, {cell, u"‘", u"’", 12},
        {cell, u"‘", u"｀", 12},  {cell, u"’", u"｀", 12}, {button, u"1", u"l", 10},
    };
    for (const Case& c : cases) {
        const QImage ia = render(c.font, QString::fromUtf16(c.a));
        const QImage ib = render(c.font, QString::fromUtf16(c.b));
        int differing = 0;
        for (int y = 0; y < ia.height(); ++y)
            for (int x = 0; x < ia.width(); ++x)
                if (std::abs(qGray(ia.pixel(x, y)) - qGray(ib.pixel(x, y))) > 64) ++differing;
        EXPECT_GE(differing, c.least) << QString::fromUtf16(c.a).toStdString() << " "
                                      << QString::fromUtf16(c.b).toStdString() << " in "
                                      << QFontInfo(c.font).family().toStdString();
    }
}

TEST_F(ScreenFit, ANewScreenKeepsTheExerciseGoing) {
    find("BStart")->setFocus();
    key(Qt::Key_F10);
    ASSERT_EQ(focused(), sg1());
    auto keyFor = [](const QString& cell) {
        const char16_t c = cell.at(0).unicode();
        return c == 0x3000 ? ' ' : static_cast<char>(c - 0xFEE0);
    };
    for (int c = 1; c <= 3; ++c) {
        const char k = keyFor(sg1()->cellText(c, 1));
        QTest::keyClick(sg1(), k == ' ' ? Qt::Key_Space : static_cast<Qt::Key>(k));
    }
    const QString typed = text("LMoji");
    const QString first = sg1()->cellText(1, 1);
    ASSERT_TRUE(form->timer1()->isActive());

    form->screenChanged(1920, 1080);
    EXPECT_EQ(form->frameGeometry().size(), QSize(1920, 1080));
    EXPECT_FALSE(form->layout().classic);
    const int wide = sg1()->columnWidth(1);
    EXPECT_GT(wide, 25);
    EXPECT_EQ(text("LMoji"), typed);
    EXPECT_EQ(sg1()->cellText(1, 1), first);
    EXPECT_EQ(sg1()->currentColumn(), 4);
    EXPECT_TRUE(form->timer1()->isActive());
    EXPECT_EQ(cellBackground(1, 1), QColor(255, 255, 255));  // typed, not missed
    // Typing goes on where it stopped.
    QTest::keyClick(sg1(), static_cast<Qt::Key>(keyFor(sg1()->cellText(4, 1))));
    EXPECT_EQ(sg1()->currentColumn(), 5);

    form->screenChanged(1024, 768);
    EXPECT_EQ(form->frameGeometry().size(), QSize(1024, 750));
    // The window frame is known by now, so the cells may be a pixel narrower.
    EXPECT_LE(sg1()->columnWidth(1), 25);
    EXPECT_GE(sg1()->columnWidth(1), 24);
}

// Where the window may be placed (X11) the pointer goes to the stop button;
// where only the compositor places windows and the pointer (Wayland) the
// window is maximised, follows the size the compositor gives it, and leaves
// the pointer alone.
TEST_F(ScreenFit, TheCompositorsSizeWhereOnlyItPlacesWindows) {
    for (bool compositor : {false, true}) {
        SCOPED_TRACE(compositor ? "compositor" : "program");
        compositorPlaces = compositor;
        open(1366, 768);
        EXPECT_EQ(form->isMaximized(), compositor);
        EXPECT_EQ(form->minimumSize() == form->maximumSize(), !compositor);
        if (compositor) {
            // A monitor of another size: the compositor sizes the window anew.
            form->setWindowState(Qt::WindowNoState);
            for (const QSize given : {QSize(1024, 740), QSize(1920, 1050), QSize(1366, 700)}) {
                form->resize(given);
                QCoreApplication::processEvents();
                EXPECT_EQ(form->size(), given);
                expectWholeAndApart(form->centralWidget(), QStringLiteral("given"));
                const QRect grid = sg1()->geometry();
                EXPECT_LE(sg1()->cellRect(40, 1).right() + grid.left(), form->width());
                EXPECT_GE(grid.right(), form->width() - 12);
                EXPECT_LE(find("SBar1")->geometry().bottom(), form->height());
                EXPECT_LE(find("Panel3")->geometry().bottom(), find("SBar1")->geometry().top());
            }
        }
        const QPoint away(3, 3);
        QCursor::setPos(away);
        find("BStart")->setFocus();
        key(Qt::Key_F10);
        QPushButton* stop = find<QPushButton>("BStop");
        EXPECT_EQ(QCursor::pos(), compositor ? away : stop->mapToGlobal(stop->rect().center()));
        key(Qt::Key_Escape);
    }
}

TEST_F(ScreenFit, TheCourseListShowsWhenItHasTheFocus) {
    auto* courses = find<QComboBox>("Comb1");
    find("BStart")->setFocus();
    const QImage without = courses->grab().toImage();
    key(Qt::Key_Up);
    ASSERT_EQ(focused(), courses);
    EXPECT_NE(courses->grab().toImage(), without);
    key(Qt::Key_Return);
    EXPECT_EQ(courses->grab().toImage(), without);
}

}  // namespace
}  // namespace hayate::gui::test
