#pragma once

#include <optional>

#include <sys/types.h>

namespace corvane::control {

// The user id of the process at the other end of a connected local socket; nothing
// when the system does not tell.
std::optional<uid_t> peerUserId(int socketDescriptor);

// Whether the other end runs as the same user as this process. The window refuses
// requests from anyone else, even if the socket's file mode ever let them connect.
bool isSameUserPeer(int socketDescriptor);

} // namespace corvane::control
