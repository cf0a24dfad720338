#include "platform/peer_user.h"

#if defined(__linux__)
#include <sys/socket.h>
#include <unistd.h>
#elif defined(__unix__) || defined(__APPLE__)
#include <sys/types.h>
#include <unistd.h>
#endif

namespace hayate {

bool peerIsSameUser(int fd) {
    if (fd < 0) return false;
#if defined(__linux__)
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::geteuid();
#elif defined(__unix__) || defined(__APPLE__)
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(fd, &uid, &gid) == 0 && uid == ::geteuid();
#else
    return true;  // Windows' named pipes are the user's own
#endif
}

}  // namespace hayate
