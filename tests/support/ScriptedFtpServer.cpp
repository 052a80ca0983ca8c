#include "support/ScriptedFtpServer.h"

using namespace Qt::StringLiterals;

namespace vendrel::test {

std::optional<QString> ScriptedFtpServer::missingPrerequisite()
{
    static const std::optional<QString> missing = PythonServerProcess::missingPrerequisite(u"socketserver"_s, u"python3"_s);
    return missing;
}

bool ScriptedFtpServer::start(const QString &scenario, const Options &options)
{
    QStringList arguments{u"--scenario"_s, scenario, u"--log"_s, process_.logFile()};
    if (!options.mlsd)
        arguments << u"--no-mlsd"_s;
    port_ = process_.start(supportFile(u"scripted_ftp_server.py"_s), arguments);
    return port_ != 0;
}

} // namespace vendrel::test
