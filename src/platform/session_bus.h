// What libdbus does at the first question to the D-Bus session bus.
#pragma once

#include <filesystem>

#include "platform/data_folder.h"

namespace hayate {

// True when libdbus would fork the process only to find no bus: an X display
// to autolaunch one for, but no DBUS_SESSION_BUS_ADDRESS, no user bus socket
// ("bus" in $XDG_RUNTIME_DIR) and no dbus-launch, neither in libdbus's own
// folder (`dbusBinDir`) nor on PATH (unset: /bin:/usr/bin).
bool sessionBusLookupForksInVain(const EnvironmentLookup& environment,
                                 const std::filesystem::path& dbusBinDir = "/usr/bin");

}  // namespace hayate
