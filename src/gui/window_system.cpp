#include "gui/window_system.h"

#include <QGuiApplication>

namespace hayate::gui {

bool compositorPlacesWindows() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace hayate::gui
