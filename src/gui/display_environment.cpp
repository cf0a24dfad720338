#include "gui/display_environment.h"

#include <QAccessible>
#include <QByteArray>
#include <QtGlobal>

#include "platform/session_bus.h"

namespace hayate::gui {

void prepareDisplayEnvironment() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", QByteArray("1"));
}

void startAccessibility() {
    if (sessionBusReachable(systemEnvironment)) {
        (void)QAccessible::isActive();
        return;
    }
    const char* const name = "DBUS_SESSION_BUS_ADDRESS";
    const bool wasSet = qEnvironmentVariableIsSet(name);
    const QByteArray before = qgetenv(name);
    // A socket path that cannot exist: the question fails without a fork.
    qputenv(name, QByteArray("unix:path=/dev/null/bus"));
    (void)QAccessible::isActive();
    if (wasSet)
        qputenv(name, before);
    else
        qunsetenv(name);
}

}  // namespace hayate::gui
