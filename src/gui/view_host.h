// What the views ask of the window around them: its messages, status bar,
// settings and commands. The window answers; a view never reaches into
// another view.
#pragma once

#include <QString>
#include <filesystem>

namespace hayate::gui {

class Messages;

class ViewHost {
  public:
    virtual ~ViewHost() = default;
    virtual const Messages& messages() const = 0;
    virtual void setStatusPanel(int panel, const QString& text) = 0;
    // The end command; `guarded` lets a Space that started the exercise pass.
    virtual void endCommand(bool guarded) = 0;
    // The letter-case choice, as a click in its group makes it.
    virtual void chooseLetterCase(int letterCase) = 0;
    // The group and panel show the letter case as it stands, nothing more.
    virtual void showLetterCase() = 0;
};

class EditorHost : public ViewHost {
  public:
    virtual void leaveEditor() = 0;
    // Names of the problem file changed: one slot, or all of them (-1).
    virtual void problemNamesChanged(int slot) = 0;
    virtual void problemStored(int slot, int kind) = 0;
    virtual void problemDeleted(int slot) = 0;
    virtual std::filesystem::path dataFolder() const = 0;
};

}  // namespace hayate::gui
