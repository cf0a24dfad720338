// Who is at the other end of a local socket.
#pragma once

namespace hayate {

// True when the process at the other end of the connected Unix-domain socket
// `fd` runs as this process's user: another user's socket under the guard's
// name in a shared folder is no copy of ours.
bool peerIsSameUser(int fd);

}  // namespace hayate
