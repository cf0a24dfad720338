#include "app/single_instance.h"

#include <cstdint>
#include <cstdio>

namespace hayate {

namespace {

constexpr std::string_view kTitlePrefix = "title ";

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    return h;
}

// A readable part for people looking at the folder; the hash makes it unique.
std::string safePart(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (out.size() == 24) break;
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        out.push_back(plain ? c : '_');
    }
    return out;
}

}  // namespace

std::string instanceMarkerName(const std::filesystem::path& executable) {
    return executable.filename().string();
}

std::string desktopTag(std::string_view user, std::string_view display) {
    std::string tag(user);
    tag += '@';
    tag += display;
    return tag;
}

std::string displayName(std::string_view x11Display, std::string_view waylandDisplay) {
    if (!waylandDisplay.empty()) {
        // A bare name lives in the user's runtime folder, which is per user anyway.
        const std::size_t slash = waylandDisplay.rfind('/');
        return "wayland:" + std::string(slash == std::string_view::npos
                                            ? waylandDisplay
                                            : waylandDisplay.substr(slash + 1));
    }
    const std::size_t colon = x11Display.rfind(':');
    if (colon == std::string_view::npos) return std::string(x11Display);
    std::string_view host = x11Display.substr(0, colon);
    std::string_view number = x11Display.substr(colon + 1);
    const std::size_t dot = number.find('.');
    if (dot != std::string_view::npos) number = number.substr(0, dot);
    while (number.size() > 1 && number.front() == '0') number.remove_prefix(1);
    if (host == "unix" || host == "localhost" || host == "127.0.0.1") host = {};
    return std::string(host) + ":" + std::string(number);
}

InstanceNames instanceNames(const std::filesystem::path& executable,
                            const std::filesystem::path& runtimeFolder, std::string_view desktop) {
    const std::string marker = instanceMarkerName(executable);
    std::string key(desktop);
    key.push_back('\0');
    key += marker;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a(key)));
    const std::string base = "hayateuchi-" + safePart(marker) + "-" + hash;
    return {runtimeFolder / (base + ".lock"), base};
}

GuardAction decideGuardAction(LockOutcome lock, const std::optional<std::string>& runningTitle) {
    switch (lock) {
        case LockOutcome::Acquired:
            return GuardAction::Run;
        case LockOutcome::Failed:
            return GuardAction::CannotStart;
        case LockOutcome::HeldElsewhere:
            break;
    }
    // Only a main window under the program's own title is looked for; one
    // renamed from the command line is not found.
    if (runningTitle && *runningTitle == utf8Text(UserText::WindowTitle))
        return GuardAction::ReportAndRaise;
    return GuardAction::EndSilently;
}

std::string answerGuardRequest(std::string_view request, GuardWindow& window) {
    if (request == kRestoreRequest) {
        if (window.isMinimised()) window.restore();
        std::string title = window.titleUtf8();
        for (char& c : title)
            if (c == '\n' || c == '\r') c = ' ';
        return std::string(kTitlePrefix) + title + "\n";
    }
    if (request == kFrontRequest) {
        window.bringToFront();
        return "ok\n";
    }
    return {};
}

std::optional<std::string> titleFromAnswer(std::string_view answer) {
    if (answer.size() < kTitlePrefix.size() + 1 ||
        answer.substr(0, kTitlePrefix.size()) != kTitlePrefix || answer.back() != '\n') {
        return std::nullopt;
    }
    answer.remove_prefix(kTitlePrefix.size());
    answer.remove_suffix(1);
    if (answer.find('\n') != std::string_view::npos) return std::nullopt;
    return std::string(answer);
}

}  // namespace hayate
