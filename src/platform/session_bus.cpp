#include "platform/session_bus.h"

#include <string>
#include <string_view>

#if defined(__unix__)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace hayate {

#if defined(__unix__)
namespace {

bool isSocket(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

bool isProgram(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

bool onPath(std::string_view path, const char* program) {
    while (true) {
        const std::size_t colon = path.find(':');
        std::string folder(path.substr(0, colon));
        if (folder.empty()) folder = ".";
        if (isProgram(folder + "/" + program)) return true;
        if (colon == std::string_view::npos) return false;
        path.remove_prefix(colon + 1);
    }
}

bool present(const std::optional<std::string>& value) { return value && !value->empty(); }

}  // namespace

bool sessionBusLookupForksInVain(const EnvironmentLookup& environment,
                                 const std::filesystem::path& dbusBinDir) {
    // Without a display libdbus does not try to start a bus at all.
    if (!present(environment("DISPLAY"))) return false;
    if (present(environment("DBUS_SESSION_BUS_ADDRESS"))) return false;
    if (const auto runtime = environment("XDG_RUNTIME_DIR");
        present(runtime) && isSocket(*runtime + "/bus"))
        return false;
    if (isProgram((dbusBinDir / "dbus-launch").string())) return false;
    const auto path = environment("PATH");
    return !onPath(path ? *path : std::string("/bin:/usr/bin"), "dbus-launch");
}
#else
// libdbus starts no bus of its own here.
bool sessionBusLookupForksInVain(const EnvironmentLookup&, const std::filesystem::path&) {
    return false;
}
#endif

}  // namespace hayate
