#include "problems/problem_file_commands.h"

#include <filesystem>
#include <system_error>

#include "exercise/practice_text.h"

namespace hayate {

std::optional<std::string> newProblemFileName(std::string_view input) {
    if (input.empty()) return std::nullopt;
    std::string name(input);
    if (name.find('.') == std::string::npos) name += ".USR";
    return name;
}

NewFileDecision decideNewProblemFile(std::optional<std::string_view> input,
                                     const std::function<bool(const std::string&)>& exists) {
    if (!input) return {};
    std::optional<std::string> name = newProblemFileName(*input);
    if (!name) return {};
    if (exists(*name)) return {NewFileStep::AlreadyExists, std::move(*name)};
    return {NewFileStep::Write, std::move(*name)};
}

bool somethingExistsAt(const std::string& path) {
    std::error_code error;
    // A dangling link counts: writing through it would create its target.
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

bool applyProblemFileSwitch(SharedState& state, ProblemEditor& editor, std::string path,
                            bool editorOpen) {
    state.problemFileName = std::move(path);
    if (!editorOpen) editor.resetSlot();
    if (state.courseIndex < kFirstProblemCourse) return false;
    state.courseIndex = 0;
    return true;
}

bool applyProblemDeleted(SharedState& state, int slot) {
    if (state.courseIndex != kFirstProblemCourse + slot) return false;
    state.courseIndex = 0;
    return true;
}

}  // namespace hayate
