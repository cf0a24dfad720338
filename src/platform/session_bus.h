// Whether the first question to the D-Bus session bus can be answered, found
// as libdbus finds the bus.
#pragma once

#include "platform/data_folder.h"

namespace hayate {

// False when DBUS_SESSION_BUS_ADDRESS is empty, the user bus's socket ("bus"
// in $XDG_RUNTIME_DIR) is missing and no dbus-launch is on PATH: libdbus
// would then fork the process only to find that it cannot start a bus.
bool sessionBusReachable(const EnvironmentLookup& environment);

}  // namespace hayate
