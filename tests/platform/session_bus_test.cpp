#include "platform/session_bus.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "platform/local_socket.h"
#include "support/temp_dir.h"

namespace hayate {
namespace {

TEST(SessionBus, ForksInVainOnlyWhereNothingCanAnswer) {
    test::TempDir dir;
    // runtime/bus is a live socket; plain/bus a file; bin/dbus-launch runs;
    // noexec/dbus-launch does not; empty holds nothing.
    for (const char* folder : {"runtime", "plain", "bin", "noexec", "empty"})
        std::filesystem::create_directories(dir / folder);
    LocalServer bus;
    ASSERT_FALSE(bus.listen(dir / "runtime" / "bus"));
    std::ofstream(dir / "plain" / "bus") << "x";
    for (const char* folder : {"bin", "noexec"}) std::ofstream(dir / folder / "dbus-launch") << "#!/bin/sh\n";
    std::filesystem::permissions(dir / "bin" / "dbus-launch", std::filesystem::perms::owner_all);
    std::filesystem::permissions(dir / "noexec" / "dbus-launch",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    const std::string runtime = (dir / "runtime").string(), plain = (dir / "plain").string(),
                      bin = (dir / "bin").string(), noexec = (dir / "noexec").string(),
                      empty = (dir / "empty").string();
    struct Case {
        const char* what;
        std::map<std::string, std::string> environment;
        std::filesystem::path binDir;
        bool inVain;
    };
    const Case cases[] = {
        {"nothing at all", {{"DISPLAY", ":1"}, {"PATH", empty}}, empty, true},
        {"no display: no fork", {{"PATH", empty}}, empty, false},
        {"address given", {{"DISPLAY", ":1"}, {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/x"}, {"PATH", empty}}, empty, false},
        {"empty address", {{"DISPLAY", ":1"}, {"DBUS_SESSION_BUS_ADDRESS", ""}, {"PATH", empty}}, empty, true},
        {"user bus socket", {{"DISPLAY", ":1"}, {"XDG_RUNTIME_DIR", runtime}, {"PATH", empty}}, empty, false},
        {"a file named bus is no bus", {{"DISPLAY", ":1"}, {"XDG_RUNTIME_DIR", plain}, {"PATH", empty}}, empty, true},
        {"dbus-launch in its own folder", {{"DISPLAY", ":1"}, {"PATH", empty}}, bin, false},
        {"dbus-launch later on PATH", {{"DISPLAY", ":1"}, {"PATH", noexec + ":" + bin}}, empty, false},
        {"dbus-launch not executable", {{"DISPLAY", ":1"}, {"PATH", noexec}}, noexec, true},
    };
    for (const Case& c : cases) {
        const EnvironmentLookup lookup = [&c](const char* name) -> std::optional<std::string> {
            const auto it = c.environment.find(name);
            if (it == c.environment.end()) return std::nullopt;
            return it->second;
        };
        EXPECT_EQ(sessionBusLookupForksInVain(lookup, c.binDir), c.inVain) << c.what;
    }
}

}  // namespace
}  // namespace hayate
