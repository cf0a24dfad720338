// One running copy per desktop and executable file name. The window target
// holds a lock file that the system releases when the process ends, however it
// ends, and listens on a local socket through which a second copy asks the
// first to come to the front. What lies below that is here.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "text/user_texts.h"

namespace hayate {

// The marker's text: the executable's file name without its folder, extension
// included. Copies started under different names run side by side.
std::string instanceMarkerName(const std::filesystem::path& executable);

// The desktop a copy belongs to: its user and its display.
std::string desktopTag(std::string_view user, std::string_view display);

// One name for one desktop, from the environment's DISPLAY and
// WAYLAND_DISPLAY: under Wayland its display (X programs there share it),
// otherwise the X display without its screen number and with the local host
// written one way, so that ":0", ":0.0", "unix:0" and "localhost:0.1" agree.
std::string displayName(std::string_view x11Display, std::string_view waylandDisplay);

// Where the marker lives. Names of arbitrary file names and desktops are
// turned into short, safe ones: socket paths have a small length limit.
struct InstanceNames {
    std::filesystem::path lockFile;  // in `runtimeFolder`
    std::string serverName;          // local socket name
};
InstanceNames instanceNames(const std::filesystem::path& executable,
                            const std::filesystem::path& runtimeFolder, std::string_view desktop);

enum class LockOutcome {
    Acquired,       // this copy holds the marker
    HeldElsewhere,  // a running copy holds it
    Failed,         // the marker could not be made at all
};

enum class GuardAction {
    Run,             // go on starting
    CannotStart,     // show UserText::CannotStartMessage and end
    EndSilently,     // a copy runs but shows no main window titled ハヤテウチ
    ReportAndRaise,  // UserText::AlreadyRunningMessage under its caption, then kFrontRequest, then
                     // end
};

// `runningTitle` is the running copy's answer to kRestoreRequest, or nothing
// when it did not answer (still starting, or ending).
GuardAction decideGuardAction(LockOutcome lock, const std::optional<std::string>& runningTitle);

// The exchange over the local socket: one request line, one answer line.
inline constexpr std::string_view kRestoreRequest = "restore\n";  // answer: "title <UTF-8 title>\n"
inline constexpr std::string_view kFrontRequest = "front\n";      // answer: "ok\n"

// The running copy's side, implemented by its main window.
class GuardWindow {
  public:
    virtual ~GuardWindow() = default;
    virtual std::string titleUtf8() = 0;
    virtual bool isMinimised() = 0;
    virtual void restore() = 0;
    virtual void bringToFront() = 0;
};

// What the running copy answers to `request`; an unknown request gets "" and
// changes nothing.
std::string answerGuardRequest(std::string_view request, GuardWindow& window);

// The title in an answer to kRestoreRequest, or nothing for any other answer.
std::optional<std::string> titleFromAnswer(std::string_view answer);

}  // namespace hayate
