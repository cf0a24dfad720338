// The rules of the problem file commands that are not file input and output:
// what name a new file gets, when it may be written, and what a switch of
// problem file or a deleted problem changes in the program's state. The window
// asks the questions, calls the problem file's operations and shows the
// messages of the user text table.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "exercise/shared_state.h"
#include "problems/problem_editor.h"

namespace hayate {

// The input box for a new file's name takes at most this many characters.
constexpr int kNewFileNameMaxLength = 255;

// The name a new problem file is created under, from the text of the input
// box: nothing when the text is empty (the user gave no name), ".USR" appended
// when the name holds no "." anywhere. The bytes are passed on as they are;
// "." is one byte in every encoding the window may use.
std::optional<std::string> newProblemFileName(std::string_view input);

enum class NewFileStep {
    Stop,           // cancelled or empty: nothing happens
    AlreadyExists,  // show "ファイルが存在します" as an error; nothing is written
    Write,  // write a new problem file at `path`; on success show "問題ファイルを作成しました"
};

struct NewFileDecision {
    NewFileStep step = NewFileStep::Stop;
    std::string path;
};

// `input` is empty when the user cancelled. `exists` tells whether anything
// is at a path already.
NewFileDecision decideNewProblemFile(std::optional<std::string_view> input,
                                     const std::function<bool(const std::string&)>& exists);

// `exists` for the real file system: anything at that path, a folder too.
bool somethingExistsAt(const std::string& path);

// After the chosen file was read and accepted as a problem file: it becomes
// the problem file, a user problem stops being the current course, and the
// editor's slot list starts again at slot 0. An open editor keeps its grid,
// its slot and its confirmed name instead, so that F10 stores what is on
// screen into that slot of the new file and never over another one. True when
// the course was changed to course 0; the window then shows and selects it.
// The window also writes the settings key and rebuilds the course box and the
// slot list.
bool applyProblemFileSwitch(SharedState& state, ProblemEditor& editor, std::string path,
                            bool editorOpen);

// After `slot` was cleared in the problem file: if it was the current course,
// course 0 becomes current. True when the course changed. The window then
// empties the grid with ProblemEditor::emptyAfterDelete.
bool applyProblemDeleted(SharedState& state, int slot);

}  // namespace hayate
