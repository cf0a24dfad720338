// Fontconfig's configuration, read on a second thread while the window
// system is being connected.
#pragma once

#include <thread>

#include "platform/data_folder.h"

namespace hayate {

// Whether fontconfig may be read beside the main thread: not when a
// launcher's startup id is set, which the window system's client takes out
// of the environment while fontconfig would be reading it.
bool fontConfigMayPreload(const EnvironmentLookup& environment);

// Reads the font configuration and cache (the first font of any Qt program
// waits for them) on a thread that runs only where a core is idle: while the
// window system is connected, the main thread mostly waits for the server.
// The thread reads numbers in the C locale, so the locale the application
// sets meanwhile is never read under it. Does nothing without fontconfig.
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
