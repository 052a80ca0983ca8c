#include "support/LocalFtpServer.h"

using namespace Qt::StringLiterals;

namespace vendrel::test {

std::optional<QString> LocalFtpServer::missingPrerequisite()
{
    static const std::optional<QString> missing =
        PythonServerProcess::missingPrerequisite(u"pyftpdlib"_s, u"python3-pyftpdlib"_s);
    return missing;
}

bool LocalFtpServer::start(const Options &options)
{
    QStringList arguments{u"--root"_s, files_.path(),
                          u"--port"_s, u"0"_s,
                          u"--idle-timeout"_s, QString::number(options.idleTimeoutSeconds),
                          u"--log"_s, process_.logFile()};
    if (!options.mlsd)
        arguments << u"--no-mlsd"_s;
    if (options.bytesPerSecond > 0)
        arguments << u"--throttle"_s << QString::number(options.bytesPerSecond);
    if (options.endlessListing)
        arguments << u"--endless-listing"_s;
    if (options.cutAfter >= 0)
        arguments << u"--cut-after"_s << QString::number(options.cutAfter);
    if (options.extraBytes > 0)
        arguments << u"--extra-bytes"_s << QString::number(options.extraBytes);
    if (!options.lostReply.isEmpty())
        arguments << u"--lost-reply"_s << options.lostReply;
    if (!options.closing421.isEmpty())
        arguments << u"--closing-421"_s << options.closing421;
    if (options.noConnectBack)
        arguments << u"--no-connect-back"_s;
    if (!options.pwdReply.isEmpty())
        arguments << u"--pwd-reply"_s << options.pwdReply;
    port_ = process_.start(supportFile(u"ftp_server.py"_s), arguments);
    return port_ != 0;
}

} // namespace vendrel::test
