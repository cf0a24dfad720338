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
    const bool noBus = !sessionBusReachable(systemEnvironment);
    // A socket path that cannot exist: the question fails without a fork.
    if (noBus) qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray("unix:path=/dev/null/bus"));
    (void)QAccessible::isActive();
    if (noBus) qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace hayate::gui
