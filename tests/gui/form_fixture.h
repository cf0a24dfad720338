// A main window laid out for a 1024 x 768 screen, shown and active, in a
// fresh folder; helpers that find controls by name and send real key events.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <type_traits>
#include <vector>

#include "gui/grid_widget.h"
#include "gui/main_window.h"
#include "support/temp_dir.h"

namespace hayate::gui::test {

// A little-endian 32-bit field of a record file, as the files store them.
inline std::int32_t readInt(const std::filesystem::path& file, std::size_t at) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(at));
    unsigned char b[4] = {};
    in.read(reinterpret_cast<char*>(b), 4);
    return static_cast<std::int32_t>(b[0] | b[1] << 8 | b[2] << 16 |
                                     static_cast<std::uint32_t>(b[3]) << 24);
}

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override { open(); }
    void TearDown() override { form.reset(); }

    void open(int width = 1024, int height = 768, bool waitActive = true) {
        form.reset();
        TForm1::Options options;
        options.screenWidthOverride = width;
        options.screenHeightOverride = height;
        options.dataFolder = dir.path();
        options.executablePath = dir / "hayateuchi";
        options.randomSeed = 20261208;  // the same practice texts on every run
        options.compositorPlaces = compositorPlaces;
        form = std::make_unique<TForm1>(options);
        form->show();
        QApplication::setActiveWindow(form.get());
        if (waitActive) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        }
    }

    // The practice and editor screens each have a top panel and a message
    // line: the one on screen is meant.
    template <class T = QWidget>
    T* find(const char* name) const {
        const QList<T*> all = form->findChildren<T*>(QString::fromLatin1(name));
        T* w = all.isEmpty() ? nullptr : all.first();
        if constexpr (std::is_base_of_v<QWidget, T>) {
            for (T* candidate : all)
                if (candidate->isVisible()) w = candidate;
        }
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* label) const { return find<QLabel>(label)->text(); }
    GridWidget* sg1() const { return find<GridWidget>("SG1"); }

    // Keys go to whatever has the focus, as on a keyboard.
    // After a message box closes the window becomes active again a moment later.
    QWidget* focused() const {
        if (!QApplication::focusWidget() && form->isVisible()) {
            QApplication::setActiveWindow(form.get());
            (void)QTest::qWaitForWindowActive(form.get());
        }
        return QApplication::focusWidget();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) const {
        QWidget* w = focused();
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, k, m);
    }
    void type(const QString& keys) const {
        for (QChar c : keys) {
            QWidget* w = focused();
            ASSERT_NE(w, nullptr);
            QTest::keyClicks(w, QString(c));
        }
    }

    // Answers the next message box with `button` once it is open; returns
    // the text it showed through `seen`.
    static void answerNextMessageBox(QMessageBox::StandardButton button, QString* seen = nullptr,
                                     QPoint* where = nullptr) {
        // Polls until the box is open: events may be processed before it is.
        auto* timer = new QTimer;
        auto tries = std::make_shared<int>(0);
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [=] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    if (seen) *seen = box->text();
                    if (where) *where = box->pos();
                    timer->deleteLater();
                    box->button(button)->click();
                    return;
                }
            }
            if (++*tries > 1000) {
                ADD_FAILURE() << "no message box";
                timer->deleteLater();
            }
        });
        timer->start();
    }

    // Answers the next message boxes in turn, one button each.
    static void answerMessageBoxes(std::vector<QMessageBox::StandardButton> buttons,
                                   QStringList* seen) {
        auto* timer = new QTimer;
        auto state = std::make_shared<std::pair<std::size_t, QMessageBox*>>(0, nullptr);
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [=] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                // Marked, not remembered by address: the next box may be
                // built where the last one stood.
                if (!box || !box->isVisible() || box->property("answered").toBool()) continue;
                box->setProperty("answered", true);
                state->second = box;
                if (seen) *seen << box->text();
                QAbstractButton* b = box->button(buttons[state->first]);
                if (++state->first == buttons.size()) timer->deleteLater();
                if (b) b->click();
                return;
            }
        });
        timer->start();
    }

    // Background colour of a practice cell as drawn.
    QColor cellBackground(int column, int row) const {
        const QRect r = sg1()->cellRect(column, row);
        const QImage image = sg1()->viewport()->grab().toImage();
        return image.pixelColor(r.right() - 1, r.bottom() - 1);
    }

    hayate::test::TempDir dir;
    std::unique_ptr<TForm1> form;
    bool compositorPlaces = false;  // as under X11, whatever platform the tests run on
};

}  // namespace hayate::gui::test
