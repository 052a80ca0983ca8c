#include "LoopbackSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vendrel::test {

namespace {

sockaddr_in loopback(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A listening socket on a free loopback port.
int listenOnLoopback(quint16 &port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    ::bind(socket, reinterpret_cast<sockaddr *>(&address), length);
    ::listen(socket, 8);
    ::getsockname(socket, reinterpret_cast<sockaddr *>(&address), &length);
    port = ntohs(address.sin_port);
    return socket;
}

} // namespace

SilentListener::SilentListener()
{
    socket_ = listenOnLoopback(port_);
}

void SilentListener::close()
{
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
}

FreezingProxy::FreezingProxy(quint16 target) : target_(target)
{
    listener_ = listenOnLoopback(port_);
    if (::pipe(wake_) != 0)
        wake_[0] = wake_[1] = -1;
    thread_ = std::thread([this] { run(); });
}

FreezingProxy::~FreezingProxy()
{
    (void)::write(wake_[1], "q", 1);
    thread_.join();
    for (const Link &link : links_) {
        ::close(link.client);
        ::close(link.server);
    }
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void FreezingProxy::freezeOpenConnections()
{
    (void)::write(wake_[1], "f", 1);
    // The proxy's thread takes the order at once; give it that instant.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

void FreezingProxy::run()
{
    for (;;) {
        std::vector<pollfd> watched{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const Link &link : links_) {
            watched.push_back({link.client, POLLIN, 0});
            watched.push_back({link.server, POLLIN, 0});
        }
        if (::poll(watched.data(), watched.size(), -1) < 0)
            return;
        if (watched[0].revents != 0) {
            char order = 'q';
            if (::read(wake_[0], &order, 1) != 1 || order == 'q')
                return;
            for (Link &link : links_)
                link.frozen = true;
        }
        if (watched[1].revents != 0)
            accept();
        for (std::size_t i = 2; i < watched.size(); ++i) {
            if (watched[i].revents == 0)
                continue;
            Link &link = links_[(i - 2) / 2];
            if (!forward(link, watched[i].fd)) {
                ::close(link.client);
                ::close(link.server);
                links_.erase(links_.begin() + std::ptrdiff_t((i - 2) / 2));
                break; // the indices moved: poll again
            }
        }
    }
}

void FreezingProxy::accept()
{
    const int client = ::accept(listener_, nullptr, nullptr);
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(target_);
    if (::connect(server, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(client);
        ::close(server);
        return;
    }
    links_.push_back({client, server});
}

bool FreezingProxy::forward(Link &link, int from)
{
    char buffer[4096];
    const ssize_t count = ::read(from, buffer, sizeof buffer);
    if (count <= 0)
        return false;
    if (link.frozen)
        return true;
    const int to = from == link.client ? link.server : link.client;
    return ::write(to, buffer, size_t(count)) == count;
}

} // namespace vendrel::test
