// The journal through the real window: opened after the first show, written
// after exercises typed with real key events, weak-spot practice started
// from TForm1's entry point, and a failing journal told in the status bar.
#include <QStatusBar>
#include <filesystem>
#include <functional>

#include "form_fixture.h"
#include "gui/ok_dialog.h"
#include "gui/sjis_qt.h"
#include "journal/journal.h"
#include "text/user_texts.h"
#include "platform/safe_file.h"
#include "support/journal_damage.h"

namespace hayate::gui::test {
namespace {

namespace fs = std::filesystem;

class JournalWindow : public FormTest {
  protected:
    journal::Journal* openedJournal() {
        for (int i = 0; i < 200 && !form->journal(); ++i) QTest::qWait(5);
        return form->journal();
    }
    // Types the first `cells` cells of the text as shown, then Esc.
    void typeThenEsc(int cells) {
        for (int i = 0; i < cells; ++i) {
            const char16_t c = sg1()->cellText(i % 40 + 1, i / 40 + 1).at(0).unicode();
            if (c == 0x3000) {
                QTest::keyClick(sg1(), Qt::Key_Space);
            } else {
                QTest::keyClick(sg1(), static_cast<char>(c - 0xFEE0));  // full-width to ASCII
            }
        }
        QTest::keyClick(sg1(), Qt::Key_Escape);
    }
    std::string bytes(const char* name) { return readWholeFile(dir / name).value_or("?"); }
};

TEST_F(JournalWindow, TypedExerciseIsInTheJournalAndTheRecordFilesStayAsTheyWere) {
    // It opens by itself shortly after the window shows.
    for (int i = 0; i < 400 && !fs::exists(dir / "hayateuchi.sqlite3"); ++i) QTest::qWait(5);
    EXPECT_TRUE(fs::exists(dir / "hayateuchi.sqlite3"));
    journal::Journal* j = openedJournal();
    ASSERT_NE(j, nullptr);
    const std::string best = bytes("hayateuchi.DAT"), history = bytes("hayateuchi.UPD");

    find("BStart")->setFocus();
    key(Qt::Key_F10);
    ASSERT_EQ(focused(), sg1());
    typeThenEsc(7);  // over the space cell at index 5
    const auto all = j->exercises({});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].characters, 7);
    EXPECT_EQ(all[0].end, ExerciseEnd::Stopped);
    EXPECT_EQ(j->cells(all[0].id).size(), 7u);
    EXPECT_EQ(bytes("hayateuchi.DAT"), best);
    EXPECT_EQ(bytes("hayateuchi.UPD"), history);
}

TEST_F(JournalWindow, WeakSpotPracticeWaitsForThreeExercisesThenStarts) {
    journal::Journal* j = openedJournal();
    ASSERT_NE(j, nullptr);
    QString said;
    answerNextMessageBox(QMessageBox::Ok, &said);
    EXPECT_FALSE(form->startWeakSpotPractice());
    EXPECT_TRUE(said.contains(QStringLiteral(u"３回"))) << said.toStdString();
    EXPECT_FALSE(sg1()->isEnabled());

    for (int i = 0; i < 3; ++i) {
        journal::ExerciseEntry e;
        e.startedAt = QDateTime::currentSecsSinceEpoch();
        e.cells = {{0, "\x82\x60", "A", "S", "A", 400, true}};  // Ａ missed once
        ASSERT_TRUE(j->record(e).ok());
    }
    ASSERT_TRUE(form->startWeakSpotPractice());
    EXPECT_TRUE(sg1()->isEnabled());
    EXPECT_EQ(focused(), sg1());
    EXPECT_FALSE(sg1()->cellText(1, 1).isEmpty());
    typeThenEsc(2);
    const auto weak = j->exercises({});
    ASSERT_EQ(weak.size(), 4u);
    EXPECT_EQ(weak.back().kind, journal::PracticeKind::WeakSpot);
    EXPECT_EQ(weak.back().characters, 2);
}

TEST_F(JournalWindow, WeakSpotPracticeOverADamagedJournalSaysSoAndDoesNotStart) {
    journal::Journal* j = openedJournal();
    ASSERT_NE(j, nullptr);
    journal::ExerciseEntry e;
    e.cells = {{0, "\x82\x60", "A", "S", "A", 400, true}};
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(j->record(e).ok());
    hayate::test::damageJournalPage(dir / "hayateuchi.sqlite3", "day_char");
    QString said;
    answerNextMessageBox(QMessageBox::Ok, &said);
    EXPECT_FALSE(form->startWeakSpotPractice());
    EXPECT_EQ(said, toQt(sjisText(UserText::JournalCorrupt)));
    EXPECT_FALSE(sg1()->isEnabled());
}

TEST_F(JournalWindow, CorruptJournalIsSetAsideWithANoticeInTheStatusBar) {
    const fs::path file = dir / "hayateuchi.sqlite3";
    const std::function<void()> damages[] = {
        [&] { ASSERT_TRUE(replaceFileAtomically(file, std::string(4096, 'x'))); },
        [&] { hayate::test::damageJournalPage(file, "day_char"); },
    };
    for (int round = 0; round < 2; ++round) {
        journal::Journal* j = openedJournal();
        ASSERT_NE(j, nullptr);
        ASSERT_TRUE(j->record(journal::ExerciseEntry{}).ok());
        form.reset();
        damages[round]();
        open();
        ASSERT_NE(openedJournal(), nullptr);
        auto* bar = find<QStatusBar>("SBar1");
        EXPECT_EQ(bar->currentMessage(), toQt(sjisText(UserText::JournalCorrupt))) << round;
        int aside = 0;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            aside += entry.path().filename().string().starts_with("hayateuchi.sqlite3.corrupt-");
        EXPECT_EQ(aside, round + 1);
    }
}

}  // namespace
}  // namespace hayate::gui::test
