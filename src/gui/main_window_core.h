// The core objects the main window itself holds, shared by the window's
// source files; the views hold their own.
#pragma once

#include <future>
#include <memory>

#include "app/startup.h"
#include "exercise/random_source.h"
#include "gui/main_window.h"
#include "gui/sjis_qt.h"
#include "journal/exercise_logger.h"
#include "journal/journal.h"
#include "journal/journal_kana_records.h"
#include "problems/problem_file.h"

namespace hayate::gui {

struct TForm1::Core {
    Core(SharedState& state, StartupOptions options) : startup(state, std::move(options)) {}
    StartupSequence startup;
    ProblemFile problems;
    Mt19937Source random;
    std::unique_ptr<journal::Journal> journal;
    std::unique_ptr<journal::ExerciseLogger> logger;
    // The records of kana-input results, which the journal keeps.
    std::unique_ptr<journal::JournalKanaRecords> kanaRecords;
    bool journalOpenTried = false;
    // The open under way on its thread; after the journal, so that the core
    // waits for it before the journal goes.
    std::future<journal::Journal::Result> journalOpening;
};

}  // namespace hayate::gui
