#pragma once

#include <QProcess>
#include <QString>
#include <memory>

namespace vendrel {

// A local FTP server over the demo folder shipped beside the program, with a
// ready profile in the connection dialog, so a newcomer can try Vendrel at
// once. The server ends with the program.
class DemoServer {
public:
    static constexpr const char *profileLabel = "Démo locale";

    // Empty on success; otherwise what went wrong, in French.
    QString start(const QString &programFolder);

private:
    QProcess process_;
};

} // namespace vendrel
