// Fakes for the records tests: a window that remembers what it was told, an
// exercise that reports fixed counts, and file access that can refuse files
// the way a read-only or locked file would (root ignores permission bits).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "exercise/exercise_ports.h"
#include "records/record_completion.h"
#include "records/record_file_access.h"

namespace hayate::test {

// Every call on the display, the dialog and the exercise lands in one log, so
// that the order of the steps can be checked.
using EventLog = std::vector<std::string>;

inline std::string labelName(Label label) {
    switch (label) {
        case Label::CharactersTyped:
            return "LMoji";
        case Label::ElapsedTime:
            return "LTime";
        case Label::Speed:
            return "LYmoji";
        case Label::KeystrokeSpeed:
            return "LDaken";
        case Label::BestScore:
            return "LSaikoM";
        case Label::BestDate:
            return "LSaikoD";
        default:
            return "other label";
    }
}

class FakeDisplay : public NullExerciseDisplay {
  public:
    explicit FakeDisplay(EventLog& log) : log_(log) {}
    void setLabelText(Label label, const std::string& text) override {
        texts[label] = text;
        log_.push_back(labelName(label));
    }

    std::map<Label, std::string> texts;

  private:
    EventLog& log_;
};

class FakeDialog : public ResultDialog {
  public:
    explicit FakeDialog(EventLog& log) : log_(log) {}
    void showResultAndWait(bool newRecord) override {
        log_.push_back(newRecord ? "dialog:new" : "dialog:finished");
        if (duringWait) duringWait();
    }
    void showSaveFailure(const std::string& message) override {
        failures.push_back(message);
        log_.push_back("saveFailure");
    }
    std::vector<std::string> failures;
    // What happens elsewhere while the user looks at the result.
    std::function<void()> duringWait;

  private:
    EventLog& log_;
};

class FakeExercise : public ExerciseControl {
  public:
    FakeExercise(EventLog& log, int typed, int elapsedMs, int keystrokes, ExerciseKeys keys)
        : log_(log), typed_(typed), elapsed_(elapsedMs), keystrokes_(keystrokes), keys_(keys) {}
    int charactersTyped() const override { return typed_; }
    int keystrokeCount() const override { return keystrokes_; }
    ExerciseKeys keys() const override { return keys_; }
    int elapsedMilliseconds() override { return elapsed_; }
    void stopClock() override { log_.push_back("stopClock"); }
    void stopExercise() override { log_.push_back("stopExercise"); }
    void focusStartButton() override { log_.push_back("focusStart"); }

  private:
    EventLog& log_;
    int typed_;
    int elapsed_;
    int keystrokes_;
    ExerciseKeys keys_;
};

// The real file system, except that files in `refused` do not open for
// writing, and every replacement is counted.
class RefusingFileAccess : public RecordFileAccess {
  public:
    FileKind kind(const std::filesystem::path& path) override {
        return systemRecordFileAccess().kind(path);
    }
    bool canOpenForReadWrite(const std::filesystem::path& path) override {
        return !refused.contains(path) && systemRecordFileAccess().canOpenForReadWrite(path);
    }
    std::optional<std::string> readAll(const std::filesystem::path& path) override {
        return systemRecordFileAccess().readAll(path);
    }
    bool replace(const std::filesystem::path& path, std::string_view content) override {
        ++replacements;
        return systemRecordFileAccess().replace(path, content);
    }

    std::set<std::filesystem::path> refused;
    int replacements = 0;
};

}  // namespace hayate::test
