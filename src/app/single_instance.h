// One running copy per desktop and executable file name. The window target
// holds a lock file that the system releases when the process ends, however it
// ends, and listens on a local socket through which a second copy asks the
// first to come to the front. What lies below that is here.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hayate {

namespace guard_text {
// 二重起動: caption of the message below.
inline constexpr std::string_view kAlreadyRunningCaption = "\x93\xf1\x8f\x64\x8b\x4e\x93\xae";
// 既に起動中です\r\nこのプログラムの二重起動はできません
inline constexpr std::string_view kAlreadyRunningMessage =
    "\x8a\xf9\x82\xc9\x8b\x4e\x93\xae\x92\x86\x82\xc5\x82\xb7\r\n"
    "\x82\xb1\x82\xcc\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x82\xcc\x93\xf1\x8f\x64\x8b\x4e\x93"
    "\xae"
    "\x82\xcd\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1";
// プログラムを起動できません
inline constexpr std::string_view kCannotStartMessage =
    "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x82\xf0\x8b\x4e\x93\xae\x82\xc5\x82\xab\x82\xdc\x82"
    "\xb9\x82\xf1";
}  // namespace guard_text

// The window title a second copy looks for, in UTF-8 as window titles are kept.
inline constexpr std::string_view kMainWindowTitleUtf8 =
    "\xe3\x83\x8f\xe3\x83\xa4\xe3\x83\x86\xe3\x82\xa6\xe3\x83\x81";

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
    CannotStart,     // show kCannotStartMessage and end
    EndSilently,     // a copy runs but shows no main window titled ハヤテウチ
    ReportAndRaise,  // kAlreadyRunningMessage under its caption, then kFrontRequest, then end
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
