#include "socketwait.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

bool waitForSocket(int socket, bool forWriting, SocketDeadline deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd watched{socket, short(POLLIN | (forWriting ? POLLOUT : 0)), 0};
        const int ready =
            ::poll(&watched, 1, int(std::min<std::chrono::milliseconds::rep>(left.count(), 60000)));
        if (ready > 0 || (ready < 0 && errno != EINTR))
            return true;
    }
}

void abandonSocket(int socket) {
    ::shutdown(socket, SHUT_RDWR);
}
