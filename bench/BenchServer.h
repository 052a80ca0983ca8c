#pragma once

#include <QProcess>
#include <QString>

namespace vendrel::bench {

// pyftpdlib on 127.0.0.1 over a folder, for the length of a benchmark.
class BenchServer {
public:
    // False with a message on stderr when the server does not come up.
    bool start(const QString &root, const QString &logFile = {});
    quint16 port() const { return port_; }

private:
    QProcess process_;
    quint16 port_ = 0;
};

// Resident memory of this process, in MiB.
double residentMiB();
// Milliseconds since the kernel started this process (10 ms resolution):
// counts the loading of the libraries, which main() cannot see.
double millisecondsSinceProcessStart();

} // namespace vendrel::bench
