#pragma once

#include "platform/ProgramFolders.h"

#include <QProcess>
#include <QString>

namespace vendrel {

// A local FTP server over a demo folder, with a ready profile in the
// connection dialog, so a newcomer can try Vendrel at once. The server and
// its profile end with the program.
class DemoServer {
public:
    static constexpr const char *profileLabel = "Démo locale";

    ~DemoServer();

    // Empty on success; otherwise what went wrong, in French.
    QString start(const ProgramFolders &folders);

private:
    QProcess process_;
    QString profilePath_; // the profile this run wrote, removed when it ends
};

} // namespace vendrel
