#include "control/local/PeerCredentials.h"

#include <sys/socket.h>
#include <unistd.h>

namespace corvane::control {

std::optional<uid_t> peerUserId(int socketDescriptor) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (socketDescriptor < 0 ||
        ::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 ||
        length != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

bool isSameUserPeer(int socketDescriptor) {
    const std::optional<uid_t> peer = peerUserId(socketDescriptor);
    return peer && *peer == ::getuid();
}

} // namespace corvane::control
