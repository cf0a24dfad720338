#include "gui/display_environment.h"

#include <QByteArray>
#include <QtGlobal>

namespace hayate::gui {

void prepareDisplayEnvironment() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", QByteArray("1"));
}

}  // namespace hayate::gui
