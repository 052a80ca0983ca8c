#pragma once

#include <QtGlobal>
#include <mutex>
#include <thread>
#include <vector>

namespace vendrel::test {

// A loopback port that accepts TCP connections (the kernel completes them)
// but never says a word.
class SilentListener {
public:
    SilentListener();
    ~SilentListener() { close(); }
    quint16 port() const { return port_; }
    // The port is then closed: connecting to it is refused.
    void close();

private:
    int socket_ = -1;
    quint16 port_ = 0;
};

// Forwards loopback TCP connections to a port, and can make the connections
// open so far go silent both ways without closing them, as a connection a
// router has forgotten: nothing arrives, nothing tells.
class FreezingProxy {
public:
    explicit FreezingProxy(quint16 target);
    ~FreezingProxy();
    quint16 port() const { return port_; }
    void freezeOpenConnections();

private:
    struct Link {
        int client;
        int server;
        bool frozen = false;
    };

    void run();
    void accept();
    bool forward(Link &link, int from);

    quint16 target_;
    quint16 port_ = 0;
    int listener_ = -1;
    int wake_[2] = {-1, -1}; // 'f' freezes, 'q' quits
    std::vector<Link> links_;
    std::thread thread_;
};

} // namespace vendrel::test
