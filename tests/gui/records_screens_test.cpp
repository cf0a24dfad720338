// The records menu: the best records of all courses and the history of the
// current course as the record files hold them, and the deletion of records.
#include <QAction>
#include <QComboBox>
#include <QRadioButton>

#include "form_fixture.h"
#include "records/record_store.h"

namespace hayate::gui::test {
namespace {

class RecordsScreens : public FormTest {
  protected:
    void SetUp() override {
        {
            // Two courses with records before the program starts.
            RecordStore store(dir / "hayateuchi.DAT", dir / "hayateuchi.UPD", 20261207);
            ASSERT_TRUE(store.loadAtStartup());
            CourseBest alphabet;
            alphabet.score = {75, 0, 120, 0, 9999, 50};
            alphabet.date = {20261207, 0, 20250101, 0, 20261130, 0};  // 50 has no date
            ASSERT_TRUE(store.writeBest(0, alphabet));
            CourseBest romaji;
            romaji.score[1] = 42;
            romaji.date[1] = 20240229;
            ASSERT_TRUE(store.writeBest(3, romaji));
            CourseHistory history;
            history.addBest(0, 60, 20261101);
            history.addBest(0, 75, 20261207);
            history.addBest(2, 120, 20250101);
            history.addBest(4, 9999, 20261130);
            ASSERT_TRUE(store.writeHistory(0, history));
        }
        FormTest::SetUp();
    }

    GridWidget* sg2() const { return find<GridWidget>("SG2"); }

    // Runs a display command and reads the records grid while its box waits.
    struct Shown {
        bool visible = false;
        bool practiceHidden = false;
        QString message;
        QPoint where;
        std::vector<QStringList> rows;
        std::vector<int> widths;
    };
    Shown display(const char* command) {
        Shown shown;
        whenBoxOpen([this, &shown](QMessageBox* box) {
            shown.visible = sg2()->isVisible();
            shown.practiceHidden = !sg1()->isVisible();
            shown.message = box->text();
            shown.where = box->pos();
            for (int r = 0; r < 16; ++r) {
                QStringList row;
                for (int c = 0; c < 7; ++c) row << sg2()->cellText(c, r);
                shown.rows.push_back(row);
            }
            for (int c = 0; c < 7; ++c) shown.widths.push_back(sg2()->columnWidth(c));
            box->button(QMessageBox::Yes)->click();
        });
        find<QAction>(command)->trigger();
        return shown;
    }
    static void whenBoxOpen(std::function<void(QMessageBox*)> act) {
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [=] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    timer->deleteLater();
                    act(box);
                    return;
                }
            }
        });
        timer->start();
    }
    std::optional<CourseBest> bestInFile(int course) {
        RecordStore store(dir / "hayateuchi.DAT", dir / "hayateuchi.UPD", 20261207);
        return store.readBest(course);
    }
    std::optional<CourseHistory> historyInFile(int course) {
        RecordStore store(dir / "hayateuchi.DAT", dir / "hayateuchi.UPD", 20261207);
        return store.readHistory(course);
    }
};

const QStringList kTitles = {QStringLiteral(u"３０秒空白有り"), QStringLiteral(u"３０秒空白無し"),
                             QStringLiteral(u"６０秒空白有り"), QStringLiteral(u"６０秒空白無し"),
                             QStringLiteral(u"無制限空白有り"), QStringLiteral(u"無制限空白無し")};

TEST_F(RecordsScreens, RecordsDisplayShowsTheBestOfEveryCourse) {
    const Shown shown = display("SeiDsp");
    EXPECT_TRUE(shown.visible);
    EXPECT_TRUE(shown.practiceHidden);
    EXPECT_EQ(shown.message, QStringLiteral(u"確認ＯＫですか"));
    EXPECT_EQ(shown.where, QPoint(50, 50));
    ASSERT_EQ(shown.rows.size(), 16u);
    EXPECT_EQ(shown.rows[0], QStringList{QStringLiteral(u"コース名")} + kTitles);
    EXPECT_EQ(shown.rows[1],
              (QStringList{QStringLiteral(u"アルファベット"), QStringLiteral("  75 (26/12/07)"),
                           QString(), QStringLiteral(" 120 (25/01/01)"), QString(),
                           QStringLiteral("9999 (26/11/30)"), QString()}));
    EXPECT_EQ(shown.rows[4][0], QStringLiteral(u"ローマ字"));
    EXPECT_EQ(shown.rows[4][2], QStringLiteral("  42 (24/02/29)"));
    EXPECT_EQ(shown.rows[6][0], QStringLiteral(u"ユーザー１"));
    for (int r : {2, 3, 5, 6, 15})
        for (int c = 1; c < 7; ++c) EXPECT_EQ(shown.rows[r][c], QString()) << r << "," << c;
    EXPECT_EQ(shown.widths, (std::vector<int>{184, 132, 132, 132, 132, 132, 132}));
    EXPECT_EQ(sg2()->width(), 987);
    // The box closed: the practice grid is back and the start button has the focus.
    EXPECT_FALSE(sg2()->isVisible());
    EXPECT_TRUE(sg1()->isVisible());
    EXPECT_EQ(focused(), find("BStart"));
}

TEST_F(RecordsScreens, HistoryDisplayShowsTheCurrentCourseNewestFirst) {
    const Shown shown = display("SeiUpd");
    EXPECT_TRUE(shown.visible);
    EXPECT_EQ(shown.rows[0], QStringList{QString()} + kTitles);
    EXPECT_EQ(shown.rows[1][1], QStringLiteral("  75 (26/12/07)"));
    EXPECT_EQ(shown.rows[2][1], QStringLiteral("  60 (26/11/01)"));
    EXPECT_EQ(shown.rows[3][1], QString());
    EXPECT_EQ(shown.rows[1][3], QStringLiteral(" 120 (25/01/01)"));
    EXPECT_EQ(shown.rows[1][5], QStringLiteral("9999 (26/11/30)"));
    for (int r = 1; r < 16; ++r) EXPECT_EQ(shown.rows[r][0], QString());
    EXPECT_EQ(shown.widths, (std::vector<int>{2, 164, 164, 164, 164, 164, 164}));

    // A course never improved: fifteen empty rows.
    auto* courses = find<QComboBox>("Comb1");
    courses->setFocus();
    key(Qt::Key_Down);
    const Shown empty = display("SeiUpd");
    for (int r = 1; r < 16; ++r)
        for (int c = 1; c < 7; ++c) EXPECT_EQ(empty.rows[r][c], QString());
    // Then the records display takes its own widths again.
    EXPECT_EQ(display("SeiDsp").widths[1], 132);
}

TEST_F(RecordsScreens, ColumnsFollowTheScreenWidth) {
    open(1280, 1024);
    EXPECT_EQ(display("SeiDsp").widths, (std::vector<int>{230, 165, 165, 165, 165, 165, 165}));
    EXPECT_EQ(sg2()->width(), 1231);
    EXPECT_EQ(display("SeiUpd").widths[1], 205);
}

TEST_F(RecordsScreens, DisplaysWaitWhileTyping) {
    find("BStart")->setFocus();
    key(Qt::Key_F10);
    ASSERT_EQ(focused(), sg1());
    find<QAction>("SeiDsp")->trigger();
    find<QAction>("SeiUpd")->trigger();
    EXPECT_FALSE(sg2()->isVisible());
    EXPECT_TRUE(sg1()->isVisible());
}

TEST_F(RecordsScreens, DeletingOneSettingThenTheWholeCourse) {
    QTest::mouseClick(find<QRadioButton>("RG1_2"), Qt::LeftButton);  // setting 4: 9999
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("9999"));

    // "いいえ" to the first question changes nothing.
    QStringList seen;
    answerMessageBoxes({QMessageBox::No}, &seen);
    find<QAction>("SeiDel")->trigger();
    EXPECT_EQ(seen, QStringList{QStringLiteral(u"現在のコースの成績を削除しますか")});
    EXPECT_EQ(bestInFile(0)->score[4], 9999);
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("9999"));

    // Yes, then No: the current setting only.
    seen.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok}, &seen);
    find<QAction>("SeiDel")->trigger();
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[1], QStringLiteral(u"現在のコースの全ての成績を削除しますか"));
    EXPECT_EQ(seen[2], QStringLiteral(u"現在のコースの現在の設定の成績を削除しました"));
    EXPECT_EQ(text("LSaikoM"), QString());
    EXPECT_EQ(text("LSaikoD"), QString());
    std::optional<CourseBest> best = bestInFile(0);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->score, (std::array<std::int32_t, 6>{75, 0, 120, 0, 0, 50}));
    EXPECT_EQ(best->date, (std::array<std::int32_t, 6>{20261207, 0, 20250101, 0, 0, 0}));
    std::optional<CourseHistory> history = historyInFile(0);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->score[4][0], 0);
    EXPECT_EQ(history->date[4][0], 0);
    EXPECT_EQ(history->score[0][1], 60);  // the other settings stay
    EXPECT_EQ(display("SeiDsp").rows[1][5], QString());
    // The romaji course is untouched.
    EXPECT_EQ(bestInFile(3)->score[1], 42);

    // Yes, Yes: every setting of the course.
    QTest::mouseClick(find<QRadioButton>("RG1_0"), Qt::LeftButton);
    EXPECT_EQ(text("LSaikoM"), QStringLiteral("75"));
    seen.clear();
    answerMessageBoxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok}, &seen);
    find<QAction>("SeiDel")->trigger();
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[2], QStringLiteral(u"現在のコースの全ての成績を削除しました"));
    EXPECT_EQ(text("LSaikoM"), QString());
    EXPECT_EQ(*bestInFile(0), CourseBest{});
    EXPECT_EQ(*historyInFile(0), CourseHistory{});
    EXPECT_EQ(bestInFile(3)->score[1], 42);
    const Shown after = display("SeiDsp");
    for (int c = 1; c < 7; ++c) EXPECT_EQ(after.rows[1][c], QString());
    EXPECT_EQ(after.rows[4][2], QStringLiteral("  42 (24/02/29)"));
}

}  // namespace
}  // namespace hayate::gui::test
