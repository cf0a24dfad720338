// The practice and editor screens swapped in one window: where the editor's
// grid and message line stand, and the order Tab walks the controls in.
#include <QAction>
#include <QRadioButton>

#include "form_fixture.h"

namespace hayate::gui::test {
namespace {

class Screens : public FormTest {
  protected:
    void openEditor() { find<QAction>("MonSaku")->trigger(); }
    static QRect inWindow(const QWidget* w) {
        return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    }
    // A radio button stands for its group: Tab reaches one button a group.
    QString focusName() {
        QWidget* w = focused();
        if (!w) return QStringLiteral("(none)");
        if (qobject_cast<QRadioButton*>(w)) w = w->parentWidget();
        return w->objectName();
    }
    QStringList tabWalk(int steps) {
        QStringList names{focusName()};
        for (int i = 0; i < steps; ++i) {
            key(Qt::Key_Tab);
            names << focusName();
        }
        return names;
    }
};

TEST_F(Screens, EditorGridAndMessageLineStandWhereThePracticeScreensDo) {
    for (auto [w, h] : {std::pair{800, 600}, {1024, 768}, {1366, 768}, {1920, 1080}}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(w).arg(h).toStdString());
        open(w, h);
        const QRect practiceGrid = inWindow(sg1());
        const QRect practiceMsg = inWindow(find("LMsg"));
        openEditor();
        GridWidget* sg3 = find<GridWidget>("SG3");
        ASSERT_TRUE(sg3->isVisible());
        EXPECT_EQ(inWindow(sg3), practiceGrid);
        // Its own message line shows the slot list's hint; left, it rests on
        // the line of the practice screen.
        EXPECT_FALSE(text("LMsg").isEmpty());
        key(Qt::Key_Escape);
        ASSERT_FALSE(sg3->isVisible());
        EXPECT_EQ(inWindow(find("LMsg")), practiceMsg);
        EXPECT_EQ(inWindow(sg1()), practiceGrid);
    }
}

TEST_F(Screens, AScreenChangeWhileEditingKeepsTheGridOverThePracticeGridsPlace) {
    openEditor();
    key(Qt::Key_Return);  // to the name field
    const QString hint = text("LMsg");
    form->screenChanged(1366, 768);
    EXPECT_EQ(text("LMsg"), hint);
    key(Qt::Key_Escape);
    const QRect practiceGrid = inWindow(sg1());
    openEditor();
    EXPECT_EQ(inWindow(find("SG3")), practiceGrid);
}

TEST_F(Screens, TabWalksOnlyTheControlsOfTheScreenOnShow) {
    ASSERT_EQ(focusName(), QStringLiteral("BStart"));
    EXPECT_EQ(tabWalk(7), (QStringList{"BStart", "BEnd", "RG1", "RG2", "RG4", "RG3", "Comb1",
                                       "BStart"}));
    openEditor();
    ASSERT_EQ(focusName(), QStringLiteral("Comb2"));
    EXPECT_EQ(tabWalk(11), (QStringList{"Comb2", "EMname", "BMonDel", "BFinp", "RG6", "RG7",
                                        "SG3", "RG1", "RG2", "RG4", "RG3", "Comb2"}));
    key(Qt::Key_Escape);
    EXPECT_EQ(focusName(), QStringLiteral("BStart"));
}

}  // namespace
}  // namespace hayate::gui::test
