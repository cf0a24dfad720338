// Fontconfig's configuration, read on a second thread while the window
// system is being connected.
#pragma once

#include <optional>
#include <string>
#include <thread>

#include "platform/data_folder.h"

namespace hayate {

// Whether fontconfig may be read beside the main thread: not when a
// launcher's startup id is set, which the window system's client takes out
// of the environment while fontconfig would be reading it.
bool fontConfigMayPreload(const EnvironmentLookup& environment);

// Whether a face of that family name is installed, under any of its names
// (a Japanese face's localized name too) and from any foundry, as Qt would
// find it; nullopt where fontconfig is not built in.
std::optional<bool> fontFamilyInstalled(const std::string& familyUtf8);

// Reads the font configuration and cache (the first font of any Qt program
// waits for them) on a thread of its own: while the window system is
// connected, the main thread mostly waits for the server. The thread runs
// at a lower priority, behind the main thread and the server on a busy core
// but never starved, as the main thread waits for it. It reads numbers in
// the C locale, so the locale the application sets meanwhile is never read
// under it. Does nothing without fontconfig, or where no thread can start.
class FontConfigPreload {
  public:
    explicit FontConfigPreload(const EnvironmentLookup& environment = systemEnvironment);
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    // Returns once the configuration is read (at once when nothing started).
    // Before the first use of a font and before the environment changes again.
    void wait();
    bool started() const { return started_; }
    // After wait(): fontconfig reported its configuration loaded.
    bool loaded() const { return loaded_; }

  private:
    std::thread thread_;
    bool started_ = false;
    bool loaded_ = false;
};

}  // namespace hayate
