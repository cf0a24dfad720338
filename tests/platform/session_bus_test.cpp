#include "platform/session_bus.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "platform/local_socket.h"
#include "support/temp_dir.h"

namespace hayate {
namespace {

TEST(SessionBus, FoundAsLibdbusFindsIt) {
    test::TempDir dir;
    // runtime/bus is a live socket; plain/bus a file; bin/dbus-launch runs;
    // noexec/dbus-launch does not.
    std::filesystem::create_directories(dir / "runtime");
    std::filesystem::create_directories(dir / "plain");
    std::filesystem::create_directories(dir / "bin");
    std::filesystem::create_directories(dir / "noexec");
    LocalServer bus;
    ASSERT_FALSE(bus.listen(dir / "runtime" / "bus"));
    std::ofstream(dir / "plain" / "bus") << "x";
    for (const char* folder : {"bin", "noexec"}) std::ofstream(dir / folder / "dbus-launch") << "#!/bin/sh\n";
    std::filesystem::permissions(dir / "bin" / "dbus-launch", std::filesystem::perms::owner_all);
    std::filesystem::permissions(dir / "noexec" / "dbus-launch",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    const std::string runtime = (dir / "runtime").string(), plain = (dir / "plain").string(),
                      bin = (dir / "bin").string(), noexec = (dir / "noexec").string();
    struct Case {
        const char* what;
        std::map<std::string, std::string> environment;
        bool reachable;
    };
    const Case cases[] = {
        {"address given", {{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/x"}}, true},
        {"empty address, nothing else", {{"DBUS_SESSION_BUS_ADDRESS", ""}}, false},
        {"user bus socket", {{"XDG_RUNTIME_DIR", runtime}}, true},
        {"a file named bus is no bus", {{"XDG_RUNTIME_DIR", plain}}, false},
        {"dbus-launch later on PATH", {{"PATH", noexec + ":" + bin}}, true},
        {"dbus-launch not executable", {{"PATH", noexec}}, false},
        {"nothing at all", {}, false},
    };
    for (const Case& c : cases) {
        const EnvironmentLookup lookup = [&c](const char* name) -> std::optional<std::string> {
            const auto it = c.environment.find(name);
            if (it == c.environment.end()) return std::nullopt;
            return it->second;
        };
        EXPECT_EQ(sessionBusReachable(lookup), c.reachable) << c.what;
    }
}

}  // namespace
}  // namespace hayate
