#include "gui/display_environment.h"

#include <QAccessible>
#include <QByteArray>
#include <QtGlobal>
#include <optional>

#include "platform/session_bus.h"

namespace hayate::gui {

namespace {

constexpr const char* kBusAddress = "DBUS_SESSION_BUS_ADDRESS";
// The address to put back after the bridge's question; set only while the
// impossible one stands in.
std::optional<std::optional<QByteArray>> savedBusAddress;

}  // namespace

void prepareDisplayEnvironment() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", QByteArray("1"));
    if (savedBusAddress || !sessionBusLookupForksInVain(systemEnvironment)) return;
    savedBusAddress.emplace();
    if (qEnvironmentVariableIsSet(kBusAddress)) *savedBusAddress = qgetenv(kBusAddress);
    qputenv(kBusAddress, QByteArray("unix:path=/dev/null/bus"));
}

void startAccessibility() {
    (void)QAccessible::isActive();
    if (!savedBusAddress) return;
    if (*savedBusAddress)
        qputenv(kBusAddress, **savedBusAddress);
    else
        qunsetenv(kBusAddress);
    savedBusAddress.reset();
}

}  // namespace hayate::gui
