#include "platform/session_bus.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace hayate {

namespace {

bool isSocket(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

bool onPath(std::string_view path, const char* program) {
    while (true) {
        const std::size_t colon = path.find(':');
        std::string folder(path.substr(0, colon));
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + program;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return true;
        if (colon == std::string_view::npos) return false;
        path.remove_prefix(colon + 1);
    }
}

}  // namespace

bool sessionBusReachable(const EnvironmentLookup& environment) {
    if (const auto address = environment("DBUS_SESSION_BUS_ADDRESS"); address && !address->empty())
        return true;
    if (const auto runtime = environment("XDG_RUNTIME_DIR");
        runtime && !runtime->empty() && isSocket(*runtime + "/bus"))
        return true;
    const auto path = environment("PATH");
    return path && !path->empty() && onPath(*path, "dbus-launch");
}

}  // namespace hayate
