// One running copy per desktop and executable name: a lock file that the
// system releases with the process, however it ends, and a local socket over
// which a second copy asks the first for its title and to come to the front.
// The decisions are the core's (app/single_instance.h); this is the Qt part.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/single_instance.h"

namespace hayate::gui {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `runtimeFolder` holds the lock file; `desktop` names the user's desktop.
    SingleInstance(const std::filesystem::path& executable,
                   const std::filesystem::path& runtimeFolder, const std::string& desktop);
    ~SingleInstance() override;

    // Takes the marker, or asks the running copy for its title.
    GuardAction acquire();
    // Second copy, after its message: the running copy comes to the front.
    void requestFront();
    // First copy: answers later copies for `window` (which must outlive this).
    // False when no later copy can reach it (it still runs alone).
    bool serve(GuardWindow& window);

    // The desktop of this process: user and display.
    static std::string currentDesktop();

  private:
    std::optional<std::string> ask(std::string_view request);
    void answer(GuardWindow& window);

    InstanceNames names_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace hayate::gui
