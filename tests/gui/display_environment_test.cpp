// Where looking for the session bus would fork in vain, its address is
// replaced until the accessibility bridge has asked, and is then as it was
// for the programs the window starts (help pages, links).
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <optional>

#include "gui/display_environment.h"
#include "support/temp_dir.h"

namespace {

std::optional<QByteArray> variable(const char* name) {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name);
}

void restore(const char* name, const std::optional<QByteArray>& value) {
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

TEST(Accessibility, StartingItLeavesTheBusAddressAsItWas) {
    const char* const names[] = {"DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR", "PATH", "DISPLAY"};
    std::optional<QByteArray> saved[4];
    for (int i = 0; i < 4; ++i) saved[i] = variable(names[i]);
    hayate::test::TempDir empty;  // no user bus socket, no dbus-launch
    qputenv("XDG_RUNTIME_DIR", QByteArray(empty.path().c_str()));
    qputenv("PATH", QByteArray(empty.path().c_str()));
    qputenv("DISPLAY", QByteArray(":1"));

    const std::optional<QByteArray> addresses[] = {std::nullopt, QByteArray()};
    for (const auto& address : addresses) {
        restore("DBUS_SESSION_BUS_ADDRESS", address);
        hayate::gui::prepareDisplayEnvironment();
        EXPECT_EQ(variable("DBUS_SESSION_BUS_ADDRESS"), QByteArray("unix:path=/dev/null/bus"));
        hayate::gui::startAccessibility();
        EXPECT_EQ(variable("DBUS_SESSION_BUS_ADDRESS"), address) << (address ? "empty" : "unset");
    }
    for (int i = 0; i < 4; ++i) restore(names[i], saved[i]);
}

}  // namespace
